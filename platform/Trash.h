#pragma once
// The freedesktop.org trash, so that file managers and trash-cli list and restore what went
// there: the user's home trash ($XDG_DATA_HOME/Trash) for items on its file system, the trash
// at the top of any other file system for the rest. Files and whole folders.
#include <string>

// Moves an absolute path into its file system's trash with its information file: 0, or the
// errno of the failure.
int moveToTrash(const std::string& path);

// The trash folder of a file system mounted at topdir (not the home one): topdir/.Trash/UID
// when topdir/.Trash is a real folder with the sticky bit, else topdir/.Trash-UID.
std::string topDirectoryTrash(const std::string& topdir);
