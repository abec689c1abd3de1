#pragma once
// The program's run in its own window, from start-up to exit.
#include <string>
#include <vector>

#include "auto/CRecordStore.h"

struct GuiOptions {
    bool noSplash = false;  // "--nosplash"
};

// argc, argv: as main received them (Qt reads its own options); words: the command line without
// the program's options; entry: an entry kept in memory to connect instead (the demo's), or
// nullptr. The exit status.
// A message that ends the program before its window opens, in a message box. The exit status 1.
int ShowGuiStartError(int argc, char** argv, const std::string& message);

int RunGuiProgram(int argc, char** argv, const std::vector<std::string>& words,
                  const GuiOptions& options, const Record* entry = nullptr);
