#include "platform/ScriptedPrompt.h"

namespace {

PromptAnswer firstButton(PromptButtons buttons) {
    return buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel ? PromptAnswer::Ok
                                                                              : PromptAnswer::Yes;
}

// Becomes "visible" (recorded) when polled after its delay has passed, as a real notice would.
class ScriptedWait : public WaitNotice {
public:
    ScriptedWait(std::vector<std::string>& shown, Clock& clock, std::string text, int delayMs,
                 int cancelAfterPolls)
        : shown_(shown),
          clock_(clock),
          text_(std::move(text)),
          showAt_(clock.nowMs() + delayMs),
          pollsLeft_(cancelAfterPolls) {}

    bool cancelled() override {
        if (!visible_ && clock_.nowMs() >= showAt_) {
            visible_ = true;
            shown_.push_back(text_);
        }
        if (pollsLeft_ < 0) return false;
        if (pollsLeft_ == 0) return true;
        --pollsLeft_;
        return false;
    }

private:
    std::vector<std::string>& shown_;
    Clock& clock_;
    std::string text_;
    int64_t showAt_;
    int pollsLeft_;
    bool visible_ = false;
};

}  // namespace

PromptReply ScriptedPrompt::show(const PromptRequest& request) {
    asked.push_back(request);
    if (script_.empty()) return {firstButton(request.buttons), request.checked};
    PromptReply reply = script_.front();
    script_.pop_front();
    return reply;
}

std::unique_ptr<WaitNotice> ScriptedPrompt::beginWait(const std::string& text, int delayMs) {
    return std::make_unique<ScriptedWait>(waitsShown, clock_, text, delayMs, cancelAfterPolls_);
}

FileReply ScriptedPrompt::askFile(const FileRequest& request) {
    filesAsked.push_back(request);
    if (fileScript_.empty()) return Prompt::askFile(request);
    FileReply reply = std::move(fileScript_.front());
    fileScript_.pop_front();
    return reply;
}
