#include "app/tty/TtyPrompt.h"

#include <utility>

#include "app/tty/TtyScreen.h"

namespace {

constexpr int kWaitSliceMs = 50;

const char* hintOf(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return "  [Enter: 확인]";
        case PromptButtons::OkCancel:
            return "  [Enter: 확인, Esc: 취소]";
        case PromptButtons::YesNo:
            return "  [Y: 예, N: 아니오]";
        case PromptButtons::YesNoCancel:
            return "  [Y: 예, N: 아니오, Esc: 취소]";
    }
    return "";
}

PromptAnswer defaultAnswer(PromptButtons buttons) {
    return buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel ? PromptAnswer::Ok
                                                                              : PromptAnswer::Yes;
}

// The letter keys, also as the Hangul jamo the same keys type in the usual Korean layout.
bool isKey(const std::string& text, char letter, const char* jamo) {
    return text.size() == 1 ? (text[0] | 0x20) == letter : text == jamo;
}

}  // namespace

// A notice that comes up on the status line once its delay has passed; Esc cancels the job.
class TtyPrompt::Wait : public WaitNotice {
public:
    Wait(TtyPrompt& prompt, std::string text, int delayMs)
        : prompt_(prompt),
          text_(std::move(text) + "  [Esc: 취소]"),
          showAt_(prompt.clock_.nowMs() + delayMs) {
        ++prompt_.waits_;
        prompt_.waitCancelled_ = false;
    }
    ~Wait() override {
        --prompt_.waits_;
        if (shown_) prompt_.host_.ShowQuestion("", -1);
    }
    bool cancelled() override {
        prompt_.host_.WaitForInput(0);  // the job may be polling without running the loop
        if (!shown_ && prompt_.clock_.nowMs() >= showAt_) {
            shown_ = true;
            prompt_.host_.ShowQuestion(text_, -1);
        }
        return prompt_.waitCancelled_ || prompt_.abandoned_;
    }

private:
    TtyPrompt& prompt_;
    std::string text_;
    int64_t showAt_;
    bool shown_ = false;
};

PromptReply TtyPrompt::show(const PromptRequest& request) {
    if (abandoned_) return {cancellingAnswer(request.buttons), request.checked};
    const Asking outer = asking_;
    asking_ = Asking::Buttons;
    buttons_ = request.buttons;
    answer_.reset();
    host_.ShowQuestion(request.text + hintOf(request.buttons), -1);
    while (!answer_ && !abandoned_)
        host_.WaitForInput(kWaitSliceMs);
    asking_ = outer;
    host_.ShowQuestion("", -1);
    return {answer_.value_or(cancellingAnswer(request.buttons)), request.checked};
}

std::vector<TtyKey> TtyPrompt::TakeHeldKeys() {
    return std::exchange(heldKeys_, {});
}

std::unique_ptr<WaitNotice> TtyPrompt::beginWait(const std::string& text, int delayMs) {
    return std::make_unique<Wait>(*this, text, delayMs);
}

std::optional<std::string> TtyPrompt::AskLine(const std::string& label, const LineQuestion& how) {
    if (abandoned_) return std::nullopt;
    asking_ = Asking::Line;
    label_ = label;
    lineHow_ = how;
    line_ = how.initial;
    lineDone_ = lineCancelled_ = false;
    showLine();
    if (!waitForLine()) return std::nullopt;
    return line_;
}

std::optional<TtyKey> TtyPrompt::AskKey(const std::string& label) {
    if (abandoned_) return std::nullopt;
    asking_ = Asking::Key;
    keyAnswer_.reset();
    lineDone_ = lineCancelled_ = false;
    host_.ShowQuestion(label, DisplayWidth(label));
    if (!waitForLine()) return std::nullopt;
    return keyAnswer_;
}

// Until a line or key question ends; false when it was cancelled.
bool TtyPrompt::waitForLine() {
    while (!lineDone_ && !abandoned_)
        host_.WaitForInput(kWaitSliceMs);
    asking_ = Asking::Nothing;
    host_.ShowQuestion("", -1);
    return !lineCancelled_ && !abandoned_;
}

bool TtyPrompt::OnKey(const TtyKey& key) {
    // Keys that came with the answer are not part of it: they wait for the question to end.
    if ((asking_ == Asking::Buttons && answer_) ||
        ((asking_ == Asking::Line || asking_ == Asking::Key) && lineDone_)) {
        heldKeys_.push_back(key);
        return true;
    }
    switch (asking_) {
        case Asking::Buttons:
            return answerButton(key);
        case Asking::Line:
            return editLine(key);
        case Asking::Key:
            if (key.kind == TtyKey::Kind::Escape) lineCancelled_ = true;
            keyAnswer_ = key;
            lineDone_ = true;
            return true;
        case Asking::Nothing:
            break;
    }
    if (waits_ == 0) return false;
    if (key.kind == TtyKey::Kind::Escape) waitCancelled_ = true;
    return true;  // nothing else goes anywhere while a job waits
}

bool TtyPrompt::CancelWait() {
    if (asking_ != Asking::Nothing || waits_ == 0) return false;
    waitCancelled_ = true;
    return true;
}

bool TtyPrompt::answerButton(const TtyKey& key) {
    const bool yesNo = buttons_ == PromptButtons::YesNo || buttons_ == PromptButtons::YesNoCancel;
    if (key.kind == TtyKey::Kind::Escape) {
        answer_ = cancellingAnswer(buttons_);
    } else if (key.kind != TtyKey::Kind::Text) {
        return true;
    } else if (key.text == "\r") {
        answer_ = defaultAnswer(buttons_);
    } else if (yesNo && isKey(key.text, 'y', "ㅛ")) {
        answer_ = PromptAnswer::Yes;
    } else if (yesNo && isKey(key.text, 'n', "ㅜ")) {
        answer_ = PromptAnswer::No;
    } else if (buttons_ == PromptButtons::YesNoCancel && isKey(key.text, 'c', "ㅊ")) {
        answer_ = PromptAnswer::Cancel;
    }
    return true;
}

bool TtyPrompt::editLine(const TtyKey& key) {
    switch (key.kind) {
        case TtyKey::Kind::Escape:
            lineCancelled_ = lineDone_ = true;
            return true;
        case TtyKey::Kind::Backspace:
            DropLastCharacter(line_);
            break;
        case TtyKey::Kind::Text:
        case TtyKey::Kind::Paste:
            for (char c : key.text) {
                if (c == '\r' && key.kind == TtyKey::Kind::Text) {
                    lineDone_ = true;
                    return true;
                }
                if (c == '\t' && lineHow_.onTab) label_ = lineHow_.onTab();
                if (c == '\t' && lineHow_.tabEnds) {
                    lineDone_ = true;
                    return true;
                }
                if (static_cast<uint8_t>(c) >= 0x20) line_ += c;
            }
            break;
        default:
            return true;
    }
    showLine();
    return true;
}

void TtyPrompt::showLine() {
    const std::string text =
        label_ + (lineHow_.masked ? std::string(DisplayWidth(line_), '*') : line_);
    host_.ShowQuestion(text, DisplayWidth(text));
}
