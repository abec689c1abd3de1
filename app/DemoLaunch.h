#pragma once
// "quilite --demo": the demo host on a free loopback port, and the telnet entry that reaches it,
// kept in memory only. This program holds the listening socket; the host serves on it while a
// user is connected and ends when the last one leaves, and a later connection to the port starts
// it again. The host also ends with the program: it watches a pipe whose other end only this
// program holds.
#include <atomic>
#include <string>
#include <thread>

#include "auto/CRecordStore.h"

// The entry that reaches a demo host on 127.0.0.1:port: Title "퀼라이트 데모", Type "1" (telnet),
// Host "하이텔", Server "127.0.0.1:PORT", in CP949.
Record DemoEntry(int port);

// The host program: beside this program's file, else in the build's tools/ folder (a build run
// in place keeps the program in app/).
std::string DemoHostProgram();

class DemoLaunch {
public:
    DemoLaunch() = default;
    // Stops the host and waits for it (briefly).
    ~DemoLaunch();
    DemoLaunch(const DemoLaunch&) = delete;
    DemoLaunch& operator=(const DemoLaunch&) = delete;

    // Opens the port and starts the host on it; false with a Korean message when either fails
    // or the host does not answer within 10 s.
    bool Start(std::string& error, const std::string& program = DemoHostProgram());
    const Record& Entry() const { return entry_; }
    // The running host's process, or -1 while no user is connected and the host has ended.
    int HostPid() const { return pid_; }

private:
    bool startHost();
    void watchHost();
    void readHostOutput();
    void stopHost();

    std::string program_;
    int listenFd_ = -1;
    int parentRead_ = -1;  // inherited by each host
    int parentPipe_ = -1;  // our end; the host ends when it closes
    int stopPipe_[2] = {-1, -1};
    int hostOutput_ = -1;
    std::atomic<int> pid_{-1};
    std::thread watcher_;
    Record entry_;
};
