#include "auto/ChatInputLine.h"

#include "auto/ChatRecogniser.h"

std::string ChatInputLine::Enter(const std::string& field) {
    const std::string line = field.starts_with(prefix_) ? field.substr(prefix_.size()) : field;
    historyAt_.reset();
    remember(line);
    if (ShellOn()) {
        shell_->RunShellCommand(line);
        return afterShellChange();
    }
    if (line.starts_with("/exec ")) {
        if (shell_) shell_->RunShellCommand(std::string_view(line).substr(6));
        return afterShellChange();
    }
    if (line.starts_with("/exec")) {
        if (shell_) shell_->ToggleShell();
        return afterShellChange();
    }
    runChatLine(line);
    return "";
}

void ChatInputLine::runChatLine(const std::string& line) {
    if (line.empty()) {
        session_.SendByte(0x0D);
        return;
    }
    if (useCaption_ && !line.starts_with('/'))
        session_.SendLine(head_ + line + tail_);
    else
        session_.SendLine(line);
}

// The field shows the shell's prompt while it is on.
std::string ChatInputLine::afterShellChange() {
    prefix_ = ShellOn() ? shell_->ShellPrompt() : "";
    return prefix_;
}

void ChatInputLine::remember(const std::string& line) {
    if (line.empty() || (!history_.empty() && history_.back() == line)) return;
    history_.push_back(line);
    if (history_.size() > kMaxHistory) history_.erase(history_.begin());
}

std::optional<std::string> ChatInputLine::HistoryUp(const std::string& field) {
    if (ShellOn() || history_.empty() || historyAt_ == 0) return std::nullopt;
    if (!historyAt_) {
        typedBeforeHistory_ = field;
        historyAt_ = history_.size();
    }
    return history_[--*historyAt_];
}

std::optional<std::string> ChatInputLine::HistoryDown() {
    if (ShellOn() || !historyAt_) return std::nullopt;
    if (++*historyAt_ < history_.size()) return history_[*historyAt_];
    historyAt_.reset();
    return typedBeforeHistory_;
}

bool ChatInputLine::Escape() {
    if (!historyAt_) return false;
    historyAt_.reset();
    return true;
}

void ChatInputLine::SetCaption(const std::string& head, const std::string& tail) {
    head_ = head;
    tail_ = tail;
}

std::string ChatInputLine::CaptionButtonText() const {
    std::string text;
    if (!useCaption_) return text;
    if (!head_.empty()) text = HostText("머릿말: ") + head_;
    if (!tail_.empty()) text += (text.empty() ? "" : ", ") + HostText("꼬릿말: ") + tail_;
    return text;
}
