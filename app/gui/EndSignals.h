#pragma once
// The signals that ask the window's program to end (SIGTERM, SIGHUP, SIGINT), handed to the
// loop's thread as one call. A second signal before the program has ended ends it at once.
// One per process: the signal handlers share its state.
#include <functional>

#include "platform/EventLoop.h"

class EndSignals {
public:
    EndSignals(EventLoop& loop, std::function<void()> onEnd);
    ~EndSignals();  // the default handlers come back
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

private:
    EventLoop& loop_;
    std::function<void()> onEnd_;
    int watch_ = -1;
};
