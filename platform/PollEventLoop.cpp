#include "platform/PollEventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/Clock.h"

namespace {

int64_t nowMs() {
    return Clock::steady().nowMs();
}

short pollEvents(unsigned events) {
    short e = 0;
    if (events & LoopEvent::Readable) e |= POLLIN;
    if (events & LoopEvent::Writable) e |= POLLOUT;
    return e;
}

unsigned loopEvents(short revents) {
    unsigned ready = 0;
    if (revents & POLLIN) ready |= LoopEvent::Readable;
    if (revents & POLLOUT) ready |= LoopEvent::Writable;
    if (revents & (POLLHUP | POLLERR | POLLNVAL)) ready |= LoopEvent::Hangup;
    return ready;
}

}  // namespace

PollEventLoop::PollEventLoop() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (wakeFd_ < 0) throw std::runtime_error("eventfd");
}

PollEventLoop::~PollEventLoop() {
    close(wakeFd_);
}

void PollEventLoop::wake() {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

int PollEventLoop::addWatch(int fd, unsigned events, FdHandler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int id = nextId_++;
    watches_[id] =
        Watch{fd, pollEvents(events), true, std::make_shared<FdHandler>(std::move(handler))};
    wake();
    return id;
}

void PollEventLoop::setWatchEnabled(int watch, bool enabled) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = watches_.find(watch);
    if (it == watches_.end() || it->second.enabled == enabled) return;
    it->second.enabled = enabled;
    if (enabled) wake();
}

void PollEventLoop::removeWatch(int watch) {
    std::lock_guard<std::mutex> lock(mutex_);
    watches_.erase(watch);
    wake();
}

int PollEventLoop::addTimer(int intervalMs, bool repeat, Task task) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int id = nextId_++;
    intervalMs = std::max(intervalMs, 0);
    timers_[id] =
        Timer{nowMs() + intervalMs, intervalMs, repeat, std::make_shared<Task>(std::move(task))};
    wake();
    return id;
}

void PollEventLoop::removeTimer(int timer) {
    std::lock_guard<std::mutex> lock(mutex_);
    timers_.erase(timer);
}

void PollEventLoop::post(Task task) {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(task));
    wake();
}

void PollEventLoop::setIdleHook(IdleHook hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    idleHook_ = std::move(hook);
}

void PollEventLoop::kickIdle() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (idleKicked_) return;
    idleKicked_ = true;
    wake();
}

int PollEventLoop::pollTimeout(int timeoutMs) const {
    if (!posted_.empty() || (idleKicked_ && !idleRunning_ && idleHook_)) return 0;
    int timeout = timeoutMs;
    for (const auto& [id, timer] : timers_) {
        const int untilDue = static_cast<int>(std::max<int64_t>(timer.due - nowMs(), 0));
        timeout = timeout < 0 ? untilDue : std::min(timeout, untilDue);
    }
    return timeout;
}

void PollEventLoop::iterate(int timeoutMs) {
    std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
    std::vector<int> ids{0};
    int timeout;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [id, watch] : watches_) {
            if (!watch.enabled) continue;
            fds.push_back({watch.fd, watch.events, 0});
            ids.push_back(id);
        }
        timeout = pollTimeout(timeoutMs);
    }
    if (poll(fds.data(), fds.size(), timeout) > 0) {
        if (fds[0].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        }
        for (size_t i = 1; i < fds.size(); ++i)
            if (fds[i].revents) dispatchWatch(ids[i], fds[i].revents);
    }
    runDueTimers();
    runPosted();
    runIdle();
}

// The watch may have been disabled or removed by an earlier handler of the same pass.
void PollEventLoop::dispatchWatch(int id, short revents) {
    std::shared_ptr<FdHandler> handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = watches_.find(id);
        if (it == watches_.end() || !it->second.enabled) return;
        handler = it->second.handler;
    }
    (*handler)(loopEvents(revents));
}

void PollEventLoop::runDueTimers() {
    std::vector<int> due;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const int64_t now = nowMs();
        for (const auto& [id, timer] : timers_)
            if (timer.due <= now) due.push_back(id);
    }
    for (int id : due) {
        std::shared_ptr<Task> task;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = timers_.find(id);
            if (it == timers_.end()) continue;
            task = it->second.task;
            if (it->second.repeat)
                it->second.due = nowMs() + it->second.intervalMs;
            else
                timers_.erase(it);
        }
        (*task)();
    }
}

void PollEventLoop::runPosted() {
    std::deque<Task> tasks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks.swap(posted_);
    }
    for (Task& task : tasks)
        task();
}

// The hook is never re-entered: a wait started inside it runs everything else.
void PollEventLoop::runIdle() {
    IdleHook hook;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!idleKicked_ || idleRunning_ || !idleHook_) return;
        idleKicked_ = false;
        idleRunning_ = true;
        hook = idleHook_;
    }
    const bool again = hook();
    std::lock_guard<std::mutex> lock(mutex_);
    idleRunning_ = false;
    if (again) idleKicked_ = true;
}

WaitEnd PollEventLoop::runFor(int ms) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (waiting_) return WaitEnd::Nested;
        waiting_ = true;
        interrupted_ = false;
    }
    const int64_t deadline = nowMs() + ms;
    WaitEnd end = WaitEnd::TimedOut;
    for (;;) {
        if (closing_ || quit_) {
            end = WaitEnd::CloseRequested;
            break;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (interrupted_) {
                end = WaitEnd::UserInput;
                break;
            }
        }
        const int64_t left = deadline - nowMs();
        if (left <= 0) break;
        iterate(static_cast<int>(left));
    }
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_ = false;
    return end;
}

void PollEventLoop::interruptWait() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!waiting_) return;
    interrupted_ = true;
    wake();
}

void PollEventLoop::requestClose() {
    closing_ = true;
    wake();
}

void PollEventLoop::run() {
    while (!quit_)
        iterate(-1);
    quit_ = false;
}

void PollEventLoop::quit() {
    quit_ = true;
    wake();
}
