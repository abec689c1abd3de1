#pragma once
// The host's reading side of the key latency benchmarks: the moment each typed key ('k', or
// each of the bytes given) arrives on the host's socket.
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class KeyArrivals {
public:
    using Steady = std::chrono::steady_clock;

    explicit KeyArrivals(std::string keys = "k") : keys_(std::move(keys)) {}

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
                if (keys_.find(buffer[i]) != std::string::npos) times_[buffer[i]].push_back(now);
        }
    }
    size_t count(char key = 'k') {
        std::lock_guard<std::mutex> lock(mutex_);
        return times_[key].size();
    }
    Steady::time_point at(size_t i, char key = 'k') {
        std::lock_guard<std::mutex> lock(mutex_);
        return times_[key][i];
    }

private:
    std::string keys_;
    std::mutex mutex_;
    std::map<char, std::vector<Steady::time_point>> times_;
};
