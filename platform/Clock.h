#pragma once
// Milliseconds from a monotonic source. Production code uses Clock::steady(); tests hand in a
// fake so that time-outs pass without waiting.
#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowMs() const = 0;
    virtual void sleepMs(int ms) = 0;

    static Clock& steady();
};
