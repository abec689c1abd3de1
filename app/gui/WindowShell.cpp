#include "app/gui/WindowShell.h"

#include "app/gui/CMainFrame.h"
#include "app/gui/ChatInputBar.h"
#include "link/CQuillonDoc.h"

WindowShell::WindowShell(CMainFrame& frame, CQuillonDoc& doc, ChatInputBar& bar)
    : frame_(frame), doc_(doc), bar_(bar), hook_(*this) {
    bar_.Line().SetShellHook(&hook_);
}

WindowShell::~WindowShell() {
    bar_.Line().SetShellHook(nullptr);
}

void WindowShell::showLocal(std::string_view text) {
    doc_.ShowLocalText(text);
}

int WindowShell::textRows() {
    return frame_.View().Rows();
}

void WindowShell::setInputPrompt(std::string_view prompt) {
    bar_.SetShellPrompt(std::string(prompt));
}

Prompt& WindowShell::prompt() {
    return frame_.prompt();
}

ProcessLauncher::Started WindowShell::startProgram(const std::vector<std::string>& argv,
                                                   const std::string& folder) {
    return startDetached(frame_.Launcher(), argv, folder);
}
