#pragma once
// The command shell as a chat input line's shell hook: DOS mode inside the line, whose typed
// lines become shell commands and whose prompt becomes the line's protected prefix. Each front
// end makes one over its own ShellHost.
#include <string>
#include <string_view>

#include "auto/ChatInputLine.h"
#include "auto/Shell.h"

class ChatShell : public ChatShellHook {
public:
    explicit ChatShell(ShellHost& host) : shell_(host) {}

    DosShell& Shell() { return shell_; }

    bool ShellOn() const override { return shell_.isOn(); }
    void RunShellCommand(std::string_view line) override { shell_.RunShellCommand(line); }
    void ToggleShell() override { shell_.ToggleShell(); }
    std::string ShellPrompt() const override { return shell_.prompt(); }

private:
    DosShell shell_;
};
