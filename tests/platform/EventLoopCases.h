#pragma once
// The cases every event loop must pass: watches, timers, posted tasks, the idle hook and nested
// waits. A test program includes this once and instantiates the suite with its loop factories.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <thread>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

// A kind of loop: its name in the test names and how to make one.
struct LoopKind {
    const char* name;
    std::function<std::unique_ptr<EventLoop>()> make;
};
inline void PrintTo(const LoopKind& kind, std::ostream* out) {
    *out << kind.name;
}
inline std::string loopKindName(const ::testing::TestParamInfo<LoopKind>& info) {
    return info.param.name;
}

class EventLoopCases : public ::testing::TestWithParam<LoopKind> {
protected:
    void SetUp() override { loop_ = GetParam().make(); }
    std::unique_ptr<EventLoop> loop_;
};

namespace eventloopcases {

struct Pipe {
    Pipe() {
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
    }
    ~Pipe() {
        close(fds[0]);
        close(fds[1]);
    }
    void put(const char* text) { ASSERT_GT(write(fds[1], text, strlen(text)), 0); }
    int fds[2];
};

int64_t now() {
    return Clock::steady().nowMs();
}

TEST_P(EventLoopCases, WatchesFireWhileEnabledAndNeverAfterRemoval) {
    EventLoop& loop = *loop_;
    Pipe p;
    int fired = 0;
    const int watch = loop.addWatch(p.fds[0], LoopEvent::Readable, [&](unsigned ready) {
        EXPECT_TRUE(ready & LoopEvent::Readable);
        ++fired;
        loop.setWatchEnabled(watch, false);  // as the serial port does until it has read
    });
    loop.runFor(30);
    EXPECT_EQ(fired, 0);
    p.put("x");
    loop.runFor(30);
    EXPECT_EQ(fired, 1);
    loop.runFor(30);
    EXPECT_EQ(fired, 1) << "disabled";
    loop.setWatchEnabled(watch, true);
    loop.runFor(30);
    EXPECT_EQ(fired, 2);
    loop.removeWatch(watch);
    loop.runFor(30);
    EXPECT_EQ(fired, 2);
}

TEST_P(EventLoopCases, HangupIsReportedWhateverWasAsked) {
    EventLoop& loop = *loop_;
    Pipe p;
    close(p.fds[1]);
    unsigned seen = 0;
    const int watch = loop.addWatch(p.fds[0], LoopEvent::Readable, [&](unsigned ready) {
        seen = ready;
        loop.removeWatch(watch);
    });
    loop.runFor(30);
    EXPECT_TRUE(seen & LoopEvent::Hangup);
    p.fds[1] = dup(p.fds[0]);  // for the destructor
}

TEST_P(EventLoopCases, TimersRunOnceOrRepeatUntilRemoved) {
    EventLoop& loop = *loop_;
    int once = 0, repeated = 0;
    loop.addTimer(20, false, [&] { ++once; });
    const int timer = loop.addTimer(10, true, [&] { ++repeated; });
    const int64_t start = now();
    loop.runFor(120);
    EXPECT_GE(now() - start, 120);
    EXPECT_EQ(once, 1);
    EXPECT_GE(repeated, 5);
    EXPECT_LE(repeated, 13);
    loop.removeTimer(timer);
    const int before = repeated;
    loop.runFor(50);
    EXPECT_EQ(repeated, before);
}

TEST_P(EventLoopCases, PostedTasksAndKicksFromOtherThreadsRunOnTheLoopThread) {
    EventLoop& loop = *loop_;
    const std::thread::id loopThread = std::this_thread::get_id();
    std::atomic<int> posted{0}, idle{0};
    loop.setIdleHook([&] {
        EXPECT_EQ(std::this_thread::get_id(), loopThread);
        ++idle;
        return false;
    });
    std::thread other([&] {
        for (int i = 0; i < 100; ++i)
            loop.post([&] {
                EXPECT_EQ(std::this_thread::get_id(), loopThread);
                ++posted;
            });
        loop.kickIdle();
    });
    const int64_t start = now();
    while ((posted < 100 || idle == 0) && now() - start < 5000)
        loop.runFor(10);
    other.join();
    EXPECT_EQ(posted, 100);
    EXPECT_EQ(idle, 1);
    loop.runFor(30);
    EXPECT_EQ(idle, 1) << "the hook runs only when kicked";
}

TEST_P(EventLoopCases, IdleHookRunsAgainWhileItHasMoreToDo) {
    EventLoop& loop = *loop_;
    int calls = 0;
    loop.setIdleHook([&] { return ++calls < 5; });
    loop.kickIdle();
    loop.runFor(50);
    EXPECT_EQ(calls, 5);
}

TEST_P(EventLoopCases, IdleHookIsNotReenteredByAWaitInsideIt) {
    EventLoop& loop = *loop_;
    int depth = 0, maxDepth = 0, calls = 0;
    loop.setIdleHook([&] {
        maxDepth = std::max(maxDepth, ++depth);
        if (++calls == 1) {
            loop.kickIdle();  // kept for after this call
            EXPECT_EQ(loop.runFor(30), WaitEnd::TimedOut);
        } else {
            loop.quit();
        }
        --depth;
        return false;
    });
    loop.kickIdle();
    loop.run();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(calls, 2);
}

TEST_P(EventLoopCases, NestedWaitReturnsAtOnce) {
    EventLoop& loop = *loop_;
    WaitEnd inner = WaitEnd::TimedOut;
    int64_t innerMs = -1;
    loop.post([&] {
        const int64_t start = now();
        inner = loop.runFor(1000);
        innerMs = now() - start;
    });
    EXPECT_EQ(loop.runFor(50), WaitEnd::TimedOut);
    EXPECT_EQ(inner, WaitEnd::Nested);
    EXPECT_LT(innerMs, 20);
}

TEST_P(EventLoopCases, UserInputEndsTheRunningWaitOnly) {
    EventLoop& loop = *loop_;
    loop.interruptWait();  // nothing waits: forgotten
    EXPECT_EQ(loop.runFor(20), WaitEnd::TimedOut);
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        loop.interruptWait();
    });
    const int64_t start = now();
    EXPECT_EQ(loop.runFor(5000), WaitEnd::UserInput);
    EXPECT_LT(now() - start, 2000);
    other.join();
}

TEST_P(EventLoopCases, CloseEndsEveryWaitFromThenOn) {
    EventLoop& loop = *loop_;
    loop.addTimer(20, false, [&] { loop.requestClose(); });
    EXPECT_EQ(loop.runFor(5000), WaitEnd::CloseRequested);
    EXPECT_TRUE(loop.closeRequested());
    const int64_t start = now();
    EXPECT_EQ(loop.runFor(5000), WaitEnd::CloseRequested);
    EXPECT_LT(now() - start, 20);
}

TEST_P(EventLoopCases, QuitEndsRunAndTheWaitsInsideIt) {
    EventLoop& loop = *loop_;
    WaitEnd inner = WaitEnd::TimedOut;
    loop.post([&] {
        loop.addTimer(20, false, [&] { loop.quit(); });
        inner = loop.runFor(5000);
    });
    loop.run();
    EXPECT_EQ(inner, WaitEnd::CloseRequested);
}

}  // namespace eventloopcases
