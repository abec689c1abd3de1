#pragma once
// DOS mode in the window: the command shell's host over the session's screen, the chat input
// bar's field and the window's message boxes. Started programs run detached.
#include "auto/ChatShell.h"

class ChatInputBar;
class CMainFrame;
class CQuillonDoc;

class WindowShell : public ShellHost {
public:
    WindowShell(CMainFrame& frame, CQuillonDoc& doc, ChatInputBar& bar);
    ~WindowShell() override;

    // The hook plugged into the bar's input line; the menu command toggles it.
    ChatShell& Hook() { return hook_; }

    void showLocal(std::string_view text) override;
    int textRows() override;
    void setInputPrompt(std::string_view prompt) override;
    Prompt& prompt() override;
    ProcessLauncher::Started startProgram(const std::vector<std::string>& argv,
                                          const std::string& folder) override;

private:
    CMainFrame& frame_;
    CQuillonDoc& doc_;
    ChatInputBar& bar_;
    ChatShell hook_;
};
