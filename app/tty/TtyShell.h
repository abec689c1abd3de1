#pragma once
// DOS mode in the tty: the command shell's host over the session's screen, the chat input line
// of the status line (the shell's prompt is its protected prefix) and the status line's
// questions. Started programs run in the foreground of the user's terminal.
#include <functional>

#include "app/tty/HostTerminal.h"
#include "auto/ChatShell.h"

class CQuillonDoc;
class TtyChatLine;
class TWView;

class TtyShell : public ShellHost {
public:
    // terminalBack: a program gave the terminal back, everything is to be drawn again.
    TtyShell(CQuillonDoc& doc, TWView& view, HostTerminal& terminal, Prompt& prompt,
             TtyChatLine& line, std::function<void()> terminalBack);
    ~TtyShell() override;
    TtyShell(const TtyShell&) = delete;
    TtyShell& operator=(const TtyShell&) = delete;

    // The command key's "x": DOS mode on in the chat input line, or off. A line opened for it
    // closes when DOS mode ends.
    void ToggleDosMode();

    void showLocal(std::string_view text) override;
    int textRows() override;
    void setInputPrompt(std::string_view prompt) override;
    Prompt& prompt() override { return prompt_; }
    ProcessLauncher::Started startProgram(const std::vector<std::string>& argv,
                                          const std::string& folder) override;

private:
    CQuillonDoc& doc_;
    TWView& view_;
    HostTerminal& terminal_;
    Prompt& prompt_;
    TtyChatLine& line_;
    std::function<void()> terminalBack_;
    ChatShell hook_;
    bool lineOpenedForShell_ = false;
};
