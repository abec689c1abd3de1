#pragma once
// "quilite --demo": the demo host started beside the program on a free loopback port, and the
// telnet entry that reaches it, kept in memory only. The host ends with the program: it watches
// a pipe whose other end only this program holds.
#include <string>

#include "auto/CRecordStore.h"

class DemoLaunch {
public:
    DemoLaunch() = default;
    // Stops the host and waits for it (briefly).
    ~DemoLaunch();
    DemoLaunch(const DemoLaunch&) = delete;
    DemoLaunch& operator=(const DemoLaunch&) = delete;

    // Starts quilite-demohost and reads its port; false with a Korean message when it cannot
    // be started or names no port within 10 s.
    bool Start(std::string& error);
    const Record& Entry() const { return entry_; }

private:
    int pid_ = -1;
    int parentPipe_ = -1;  // our end; the host ends when it closes
    Record entry_;
};

// The entry that reaches a demo host on 127.0.0.1:port: Title "퀼라이트 데모", Type "1" (telnet),
// Host "하이텔", Server "127.0.0.1:PORT", in CP949.
Record DemoEntry(int port);

// The host program: beside this program's file, else in the build's tools/ folder (a build run
// in place keeps the program in app/).
std::string DemoHostProgram();
