#include "app/tty/TtyShell.h"

#include <utility>

#include "app/tty/ForegroundProgram.h"
#include "app/tty/TtyChatLine.h"
#include "link/CQuillonDoc.h"
#include "term/TWView.h"

TtyShell::TtyShell(CQuillonDoc& doc, TWView& view, HostTerminal& terminal, Prompt& prompt,
                   TtyChatLine& line, std::function<void()> terminalBack)
    : doc_(doc),
      view_(view),
      terminal_(terminal),
      prompt_(prompt),
      line_(line),
      terminalBack_(std::move(terminalBack)),
      hook_(*this) {
    line_.Line().SetShellHook(&hook_);
}

TtyShell::~TtyShell() {
    line_.Line().SetShellHook(nullptr);
}

void TtyShell::ToggleDosMode() {
    if (!hook_.ShellOn()) lineOpenedForShell_ = !line_.IsOpen();
    hook_.ToggleShell();
}

void TtyShell::showLocal(std::string_view text) {
    doc_.ShowLocalText(text);
}

int TtyShell::textRows() {
    return view_.Rows();
}

// The line shows the prompt alone. When the shell goes off it is emptied, and closed again if
// it was closed before or opened for DOS mode.
void TtyShell::setInputPrompt(std::string_view prompt) {
    const bool wasOpen = line_.IsOpen();
    line_.Line().SetProtectedPrefix(std::string(prompt));
    line_.PutText("");
    if (!prompt.empty()) return;
    if (!wasOpen || lineOpenedForShell_) line_.Close();
    lineOpenedForShell_ = false;
}

ProcessLauncher::Started TtyShell::startProgram(const std::vector<std::string>& argv,
                                                const std::string& folder) {
    const ProcessLauncher::Started started = startInForeground(terminal_, argv, folder);
    terminalBack_();
    return started;
}
