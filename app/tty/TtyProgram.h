#pragma once
// The program's run in the user's terminal, from start-up to exit: the profile store and its
// first-run set-up, the count of running copies, the start and end sounds, the session opened
// with the command line, and the terminal given back whatever happens.
#include <string>
#include <vector>

#include "auto/CRecordStore.h"

// words: the command line without the program's own options; entry: an entry kept in memory to
// connect instead (the demo's), or nullptr. The exit status.
int RunTtyProgram(const std::vector<std::string>& words, const Record* entry = nullptr);
