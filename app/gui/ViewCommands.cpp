#include "app/gui/CMainFrame.h"
#include "app/gui/CommandRegistration.h"

void registerViewCommands(CMainFrame&) {}
