#pragma once
// The sending thread: one SMTP delivery at a time, off the window's thread, with its progress
// reported as it goes and a cancel that ends the dialogue at its next wait or piece.
#include <atomic>
#include <functional>
#include <thread>

#include "videomail/MailSender.h"

class MailSendThread {
public:
    MailSendThread();
    ~MailSendThread();  // cancels a running send and waits for it
    MailSendThread(const MailSendThread&) = delete;
    MailSendThread& operator=(const MailSendThread&) = delete;

    // Starts sending; progress and done are called on the sending thread. False while another
    // send runs.
    bool Start(SendRequest request, SendProgress& progress,
               std::function<void(const SendResult&)> done);
    void Cancel();
    bool isRunning() const { return running_; }

private:
    void join();

    int cancelFd_;
    std::thread thread_;
    std::atomic<bool> running_{false};
};
