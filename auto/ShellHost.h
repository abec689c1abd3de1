#pragma once
// What the built-in command shell needs from the program hosting it (the chat input bar of the
// window, the terminal front end's status line, the quilite-dos tool). The shell itself knows
// nothing of views, sessions or widgets.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessLauncher.h"
#include "platform/Prompt.h"

class ShellHost {
public:
    virtual ~ShellHost() = default;

    // CP949 text for the terminal screen. It goes through the escape-sequence interpreter as if
    // received, with every reply the interpreter would send to the host dropped meanwhile; it
    // never enters the line pipeline (auto macros, log-in, chat recognition) and never reaches
    // the host: what the session's ShowLocalText does.
    virtual void showLocal(std::string_view text) = 0;
    // The number of text rows of the terminal screen.
    virtual int textRows() = 0;
    // The input line's protected prefix (CP949). "" means the shell went off: the field is
    // emptied as well.
    virtual void setInputPrompt(std::string_view prompt) = 0;
    // Message boxes, questions and wait notices.
    virtual Prompt& prompt() = 0;
    // Starts a program with an argument vector in folder: detached in the window
    // (startDetached), in the foreground on a terminal (startInForeground of the tty front end).
    virtual ProcessLauncher::Started startProgram(const std::vector<std::string>& argv,
                                                  const std::string& folder) = 0;
};

// How a window host starts a program: detached, on its own, never touching our terminal.
inline ProcessLauncher::Started startDetached(ProcessLauncher& launcher,
                                              const std::vector<std::string>& argv,
                                              const std::string& folder) {
    return launcher.start(argv, folder, true);
}
