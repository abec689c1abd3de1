#pragma once
// Runs a program in the user's terminal while the tty front end steps aside: the terminal is
// given back, the program runs in the foreground as a job of its own (so that Ctrl-C reaches
// it, not us), and once it ends the terminal is taken over again. The caller redraws.
#include <string>
#include <vector>

#include "app/tty/HostTerminal.h"
#include "platform/ProcessLauncher.h"

// The program's exit status (128 + the signal when killed), or -1 with errno when it could not
// be started; 127 when it was not found. It runs in folder unless that is "". startError, when
// given, receives the errno of a program that could not be started (its folder, its file).
int RunInForeground(HostTerminal& terminal, const std::vector<std::string>& argv,
                    const std::string& folder = "", int* startError = nullptr);

// How the built-in command shell starts a program on the terminal: in the foreground, in
// folder, argv as it is. Once it has ended: pid 0, or pid -1 and the reason it did not start.
ProcessLauncher::Started startInForeground(HostTerminal& terminal,
                                           const std::vector<std::string>& argv,
                                           const std::string& folder);

// The editor the user asked for: $VISUAL, else $EDITOR (each split at blanks, so "emacs -nw"
// works), else sensible-editor; the file is the last argument.
std::vector<std::string> EditorCommand(const std::string& file);
