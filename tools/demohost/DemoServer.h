#pragma once
// The demo host's listener on 127.0.0.1: one thread per connection, at most 32 at once (the
// next is told the host is busy), until a stop is asked for.
#include <condition_variable>
#include <mutex>
#include <set>

#include "tools/demohost/DemoHostState.h"

class DemoServer {
public:
    static constexpr int kMaxConnections = 32;

    explicit DemoServer(DemoHostState& host) : host_(host) {}
    ~DemoServer();
    // Listens on 127.0.0.1:port (0: any free port); the port, or -1.
    int Listen(int port);
    // Serves connections until `stopFd` becomes readable or `parentFd` (when not -1) closes.
    // Then every user gets a goodbye line, transfers stop, and it returns within 2 s.
    void Serve(int stopFd, int parentFd);

private:
    void accept();
    void serve(int fd, int number);
    void stopAll();

    DemoHostState& host_;
    int listenFd_ = -1;
    int served_ = 0;
    std::mutex lock_;
    std::condition_variable ended_;
    std::set<int> open_;  // sockets of the running connections
};
