#include "videomail/MailSendThread.h"

#include <sys/eventfd.h>
#include <unistd.h>

MailSendThread::MailSendThread() : cancelFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

MailSendThread::~MailSendThread() {
    Cancel();
    join();
    if (cancelFd_ >= 0) close(cancelFd_);
}

bool MailSendThread::Start(SendRequest request, SendProgress& progress,
                           std::function<void(const SendResult&)> done) {
    if (running_) return false;
    join();
    uint64_t pending;
    ssize_t drained = read(cancelFd_, &pending, sizeof pending);  // an earlier cancel
    (void)drained;
    running_ = true;
    thread_ = std::thread([this, request = std::move(request), &progress, done = std::move(done)] {
        SendResult result = SendMail(request, progress, cancelFd_);
        running_ = false;
        done(result);
    });
    return true;
}

void MailSendThread::Cancel() {
    if (!running_) return;
    uint64_t one = 1;
    ssize_t written = write(cancelFd_, &one, sizeof one);
    (void)written;  // fails only with the counter full: cancelled already
}

void MailSendThread::join() {
    if (thread_.joinable()) thread_.join();
}
