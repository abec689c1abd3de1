#pragma once
// The main window's internet commands: "인터넷 연결" asks for an address and connects, the
// dial-up networking folder opens, and the hang-up command first offers to end the connection
// the program made. The communication settings then show the "인터넷 연결" page.
#include "link/DialupBackend.h"
#include "link/InternetDialer.h"

class CMainFrame;

void registerInternetCommands(CMainFrame& frame, InternetDialer& dialer, DialupBackend& dialup);
