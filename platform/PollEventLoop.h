#pragma once
// The event loop over poll(): used by the tools, the tty front end and the tests.
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/EventLoop.h"

class PollEventLoop : public EventLoop {
public:
    PollEventLoop();
    ~PollEventLoop() override;
    PollEventLoop(const PollEventLoop&) = delete;
    PollEventLoop& operator=(const PollEventLoop&) = delete;

    int addWatch(int fd, unsigned events, FdHandler handler) override;
    void setWatchEnabled(int watch, bool enabled) override;
    void removeWatch(int watch) override;
    int addTimer(int intervalMs, bool repeat, Task task) override;
    void removeTimer(int timer) override;

    void post(Task task) override;
    void setIdleHook(IdleHook hook) override;
    void kickIdle() override;

    WaitEnd runFor(int ms) override;
    void interruptWait() override;
    void requestClose() override;
    bool closeRequested() const override { return closing_; }

    void run() override;
    void quit() override;

private:
    struct Watch {
        int fd;
        short events;
        bool enabled;
        std::shared_ptr<FdHandler> handler;
    };
    struct Timer {
        int64_t due;
        int intervalMs;
        bool repeat;
        std::shared_ptr<Task> task;
    };

    // Waits up to timeoutMs (-1: without limit) for something to do, then does all of it.
    void iterate(int timeoutMs);
    int pollTimeout(int timeoutMs) const;  // with mutex_ held
    void dispatchWatch(int id, short revents);
    void runDueTimers();
    void runPosted();
    void runIdle();
    void wake();

    mutable std::mutex mutex_;
    int wakeFd_ = -1;
    int nextId_ = 1;
    std::map<int, Watch> watches_;
    std::map<int, Timer> timers_;
    std::deque<Task> posted_;
    IdleHook idleHook_;
    bool idleKicked_ = false;
    bool idleRunning_ = false;
    bool waiting_ = false;
    bool interrupted_ = false;
    std::atomic<bool> closing_{false};
    std::atomic<bool> quit_{false};
};
