#pragma once
// The folder of what the programs ship (fonts, the default profile, icons, the demo's files),
// found the same way by every program.
#include <string>

// $QUILITE_DATA_DIR when set to an absolute path; else the build tree's data/ folder for a
// program run where it was built; else share/quilite of the installation the running program
// belongs to, found from the program's own file so that an installation may be moved.
std::string dataFolder();

// Why `folder` cannot serve as the data folder, as a Korean message naming it; empty when it can
// be read.
std::string dataFolderProblem(const std::string& folder);
