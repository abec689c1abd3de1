#pragma once
// Where the current user's files go, after the XDG base-directory and user-dirs conventions.
// Every function returns an absolute path without a trailing slash.
#include <string>

std::string homeDir();
std::string configHome();   // $XDG_CONFIG_HOME or ~/.config
std::string dataHome();     // $XDG_DATA_HOME or ~/.local/share
std::string downloadDir();  // XDG_DOWNLOAD_DIR (environment or user-dirs.dirs) or ~/Downloads
std::string tempDir();      // $TMPDIR or /tmp
std::string userName();     // the login name of the current user
