#pragma once
// The window's event loop: Qt's own loop behind the EventLoop interface. Watches are socket
// notifiers, timers are QTimers, posted tasks are queued calls, and the idle hook runs from a
// zero-time timer for as long as it has more to do, so window events are handled between
// passes. runFor is a nested loop that a key or mouse press ends early, as does a menu command
// or a close request passed on by the window (interruptWait).
#include <QObject>
#include <QPointer>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "platform/EventLoop.h"

class QEventLoop;
class QSocketNotifier;
class QTimer;

class QtEventLoop : public QObject, public EventLoop {
public:
    // A QCoreApplication must exist. The loop belongs to the thread that creates it.
    QtEventLoop();
    ~QtEventLoop() override;

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
    // A nested wait is running.
    bool Waiting() const { return waiting_ != nullptr; }

    void run() override;
    void quit() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watch {
        int fd = -1;
        unsigned events = 0;
        bool enabled = true;
        std::shared_ptr<FdHandler> handler;
        std::unique_ptr<QSocketNotifier> read, write;
    };

    // Runs `task` now when on the loop's thread, else queues it there.
    void onLoopThread(Task task);
    void createWatch(int id, int fd, unsigned events, FdHandler handler);
    void dispatchWatch(int id);
    void createTimer(int id, int intervalMs, bool repeat, Task task);
    void runIdle();
    void endWait(WaitEnd end);

    std::atomic<int> nextId_{1};
    std::map<int, Watch> watches_;
    std::map<int, QTimer*> timers_;
    QTimer* idleTimer_;
    IdleHook idleHook_;
    std::atomic<bool> idleKicked_{false};
    bool idleRunning_ = false;
    QEventLoop* waiting_ = nullptr;
    WaitEnd waitEnd_ = WaitEnd::TimedOut;
    QPointer<QEventLoop> running_;
    std::atomic<bool> closing_{false};
    std::atomic<bool> quit_{false};
};
