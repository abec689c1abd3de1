#pragma once
// The host's reading side of the key latency benchmarks: the moment each typed key ('k')
// arrives on the host's socket.
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

class KeyArrivals {
public:
    using Steady = std::chrono::steady_clock;

    // Reads until `stop` is set.
    void run(int fd, const std::atomic<bool>& stop) {
        char buffer[4096];
        while (!stop) {
            const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n <= 0) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            const auto now = Steady::now();
            std::lock_guard<std::mutex> lock(mutex_);
            for (ssize_t i = 0; i < n; ++i)
                if (buffer[i] == 'k') times_.push_back(now);
        }
    }
    size_t count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return times_.size();
    }
    Steady::time_point at(size_t i) {
        std::lock_guard<std::mutex> lock(mutex_);
        return times_[i];
    }

private:
    std::mutex mutex_;
    std::vector<Steady::time_point> times_;
};
