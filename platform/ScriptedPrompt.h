#pragma once
// A Prompt that answers from a script and records what it was asked; for tests and for tools
// that run without a user. When the script runs out it answers with the first button (OK/Yes).
#include <deque>
#include <vector>

#include "platform/Clock.h"
#include "platform/Prompt.h"

class ScriptedPrompt : public Prompt {
public:
    explicit ScriptedPrompt(Clock& clock = Clock::steady()) : clock_(clock) {}

    void expect(PromptAnswer answer, bool checked = false) { script_.push_back({answer, checked}); }
    // The next file dialog answers this; without one it is cancelled.
    void expectFile(FileReply reply) { fileScript_.push_back(std::move(reply)); }
    // Every wait notice begun from now on reports cancellation once polled this many times.
    void cancelWaitsAfter(int polls) { cancelAfterPolls_ = polls; }

    PromptReply show(const PromptRequest& request) override;
    std::unique_ptr<WaitNotice> beginWait(const std::string& text, int delayMs) override;
    FileReply askFile(const FileRequest& request) override;

    std::vector<PromptRequest> asked;     // every question, in order
    std::vector<FileRequest> filesAsked;  // every file dialog, in order
    std::vector<std::string> waitsShown;  // texts of the wait notices that became visible
    int beeps = 0;

    void beep() override { ++beeps; }

private:
    Clock& clock_;
    std::deque<PromptReply> script_;
    std::deque<FileReply> fileScript_;
    int cancelAfterPolls_ = -1;
};
