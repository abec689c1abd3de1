#pragma once
// Answers an engine's questions from its worker thread: the question is put to the user on the
// user-interface thread while the worker waits. Once the transfer is aborted (also when the
// program closes) every question gets its cancelling answer without being shown.
#include <memory>

#include "link/TransferMonitor.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"
#include "xfer/GFUserPrompt.h"

class TransferUserPrompt : public GFUserPrompt {
public:
    TransferUserPrompt(EventLoop& loop, Prompt& prompt, std::shared_ptr<TransferMonitor> monitor)
        : loop_(loop), prompt_(prompt), monitor_(std::move(monitor)) {}

    void FileOpenFailed(const std::string& path, bool forWriting, const std::string& text) override;
    bool CancelForDiskSpace(const std::string& folder, uint64_t freeBytes,
                            const std::string& caption, const std::string& text) override;

private:
    PromptAnswer askOnLoop(const PromptRequest& request, PromptAnswer cancelling);

    EventLoop& loop_;
    Prompt& prompt_;
    std::shared_ptr<TransferMonitor> monitor_;
};
