#pragma once
// The loop of the user-interface thread: descriptor watches, timers, tasks posted from other
// threads, and the idle hook that reads the links while the thread has nothing else to do.
// Every operation may be called from any thread; watches, timers, tasks and the idle hook run
// on the loop's thread. Implementations: PollEventLoop (tools, tests); the GUI adapts Qt's loop.
#include <functional>

// Why a nested wait (runFor) ended. Nested: a wait was already running, so this one returned
// at once; callers go on as after a time-out.
enum class WaitEnd { TimedOut, UserInput, CloseRequested, Nested };

// What a watch waits for and what its handler is told is ready.
namespace LoopEvent {
constexpr unsigned Readable = 1;
constexpr unsigned Writable = 2;
constexpr unsigned Hangup = 4;  // hang-up or error on the descriptor; reported whatever was asked
}  // namespace LoopEvent

class EventLoop {
public:
    using Task = std::function<void()>;
    using FdHandler = std::function<void(unsigned ready)>;
    // Returns true while it has more to do (data still flowing): it is then run again soon.
    using IdleHook = std::function<bool()>;

    virtual ~EventLoop() = default;

    // A watch starts enabled and stays until removed. After removeWatch or removeTimer returns
    // on the loop's thread the handler is never called again.
    virtual int addWatch(int fd, unsigned events, FdHandler handler) = 0;
    virtual void setWatchEnabled(int watch, bool enabled) = 0;
    virtual void removeWatch(int watch) = 0;
    virtual int addTimer(int intervalMs, bool repeat, Task task) = 0;
    virtual void removeTimer(int timer) = 0;

    virtual void post(Task task) = 0;
    virtual void setIdleHook(IdleHook hook) = 0;
    // Has the idle hook run once the pending work is done (the old WM_KICKIDLE).
    virtual void kickIdle() = 0;

    // Runs the loop for up to ms milliseconds, keeping the program alive during a pause.
    virtual WaitEnd runFor(int ms) = 0;
    // User input arrived: a running runFor returns UserInput.
    virtual void interruptWait() = 0;
    // The program is closing: every runFor, now or later, returns CloseRequested.
    virtual void requestClose() = 0;
    virtual bool closeRequested() const = 0;

    virtual void run() = 0;
    virtual void quit() = 0;  // run returns; runFor returns CloseRequested
};
