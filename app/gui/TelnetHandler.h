#pragma once
// Quilite as the desktop's handler of telnet: addresses, the line
// "x-scheme-handler/telnet=quilite.desktop" in the [Default Applications] section of
// $XDG_CONFIG_HOME/mimeapps.list. Every other line of the file stays as it is.
#include <string>

std::string mimeAppsListPath();

// Whether the text of a mimeapps.list names us first for telnet: addresses.
bool HasTelnetHandler(const std::string& text);
// The text with our line put in (replacing another handler's) or taken out (another
// handler's line is left alone; we are dropped from a list of several).
std::string WithTelnetHandler(const std::string& text, bool on);

bool IsTelnetHandler();
// Rewrites the file (creating it and its folder when missing); false when that failed.
bool SetTelnetHandler(bool on);
