#include "link/TransferUserPrompt.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace {

constexpr auto kAbortCheck = std::chrono::milliseconds(100);

struct PendingAnswer {
    std::mutex lock;
    std::condition_variable ready;
    std::optional<PromptAnswer> answer;
};

}  // namespace

void TransferUserPrompt::FileOpenFailed(const std::string& /*path*/, bool /*forWriting*/,
                                        const std::string& text) {
    askOnLoop(PromptRequest{text, PromptButtons::Ok, PromptIcon::Warning, {}, false},
              PromptAnswer::Ok);
}

bool TransferUserPrompt::CancelForDiskSpace(const std::string& /*folder*/, uint64_t /*freeBytes*/,
                                            const std::string& caption, const std::string& text) {
    PromptRequest request{text, PromptButtons::YesNo, PromptIcon::Error, {}, false, caption};
    return askOnLoop(request, PromptAnswer::Yes) == PromptAnswer::Yes;
}

// `cancelling` is the answer that stops the transfer. Waits for the answer, looking at the abort
// flag meanwhile: an aborted transfer does not wait for a box the user has not closed yet (its
// answer is then dropped).
PromptAnswer TransferUserPrompt::askOnLoop(const PromptRequest& request, PromptAnswer cancelling) {
    auto pending = std::make_shared<PendingAnswer>();
    loop_.post([pending, request, cancelling, &prompt = prompt_, monitor = monitor_] {
        const PromptAnswer answer = monitor->Aborted() ? cancelling : prompt.show(request).answer;
        std::lock_guard<std::mutex> hold(pending->lock);
        pending->answer = answer;
        pending->ready.notify_all();
    });
    std::unique_lock<std::mutex> hold(pending->lock);
    while (!pending->answer) {
        if (monitor_->Aborted()) return cancelling;
        pending->ready.wait_for(hold, kAbortCheck);
    }
    return *pending->answer;
}
