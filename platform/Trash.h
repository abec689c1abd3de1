#pragma once
// The user's trash laid out as freedesktop.org desktops keep it ($XDG_DATA_HOME/Trash), so
// that file managers and trash-cli list and restore what went there. Files and whole folders.
#include <string>

// Moves an absolute path into the trash with its information file: 0, or the errno of the
// failure (EXDEV for a file on another file system than the trash).
int moveToTrash(const std::string& path);
