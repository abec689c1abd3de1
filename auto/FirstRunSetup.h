#pragma once
// Start-up step that gives a user without a profile the default one shipped with the program.
#include <string>

#include "auto/RegImport.h"
#include "auto/Registry.h"
#include "platform/Prompt.h"

struct FirstRunResult {
    bool proceed = true;    // false: the user chose to end the program
    bool ran = false;       // the user root was missing
    bool imported = false;  // the default profile went in
    RegImportResult import;
};

// Records the installation key (InstalledPath = dataFolder, Installer = the first user to run
// the program) and, when the user root is missing, tells the user and imports
// dataFolder/regorg.bak in one transaction. A missing file asks whether to go on without it.
FirstRunResult runFirstRunSetup(Registry& registry, Prompt& prompt, const std::string& dataFolder);
