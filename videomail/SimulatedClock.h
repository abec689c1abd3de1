#pragma once
// A clock for recording and playing synthetic media without waiting: sleeping moves it on at
// once. It starts at the steady clock's time so that its stamps look like real ones.
#include <atomic>

#include "platform/Clock.h"

class SimulatedClock : public Clock {
public:
    SimulatedClock() : now_(Clock::steady().nowMs()) {}
    int64_t nowMs() const override { return now_; }
    void sleepMs(int ms) override { now_ += ms > 0 ? ms : 0; }

private:
    std::atomic<int64_t> now_;
};
