#pragma once
// The demo host's listener on 127.0.0.1: one thread per connection, at most 32 at once (the
// next is told the host is busy), until a stop is asked for or, when asked to, until the last
// connection ends.
#include <condition_variable>
#include <mutex>
#include <set>

#include "tools/demohost/DemoHostState.h"

class DemoServer {
public:
    static constexpr int kMaxConnections = 32;

    explicit DemoServer(DemoHostState& host);
    ~DemoServer();
    // Listens on 127.0.0.1:port (0: any free port); the port, or -1.
    int Listen(int port);
    // Serves on a listening socket bound to 127.0.0.1 that another program made and handed
    // over, so that it keeps its port between runs; the port, or -1 when it is none such.
    int Adopt(int fd);
    // Serve returns once a connection has come and the last one has ended.
    void EndWhenIdle() { endWhenIdle_ = true; }
    // Serves connections until `stopFd` becomes readable or `parentFd` (when not -1) closes.
    // Then every user gets a goodbye line, transfers stop, and it returns within 2 s.
    void Serve(int stopFd, int parentFd);

private:
    bool stillIdle();
    void accept();
    void serve(int fd, int number);
    void stopAll();

    DemoHostState& host_;
    int listenFd_ = -1;
    int idlePipe_[2] = {-1, -1};  // written when the last connection ends
    bool endWhenIdle_ = false;
    int served_ = 0;
    std::mutex lock_;
    std::condition_variable ended_;
    std::set<int> open_;  // sockets of the running connections
};
