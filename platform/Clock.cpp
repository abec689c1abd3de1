#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace {

class SteadyClock : public Clock {
public:
    int64_t nowMs() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMs(int ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

Clock& Clock::steady() {
    static SteadyClock clock;
    return clock;
}
