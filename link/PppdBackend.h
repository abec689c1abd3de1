#pragma once
// Dial-up networking through pppd: the entries are the peer files, a dial runs
// "pon NAME updetach" (pppd stays in front until the link is up, so its exit status is the
// result), hang-up runs "poff NAME". A connection is up while the pppd running "pppd call NAME"
// is named in a pppN.pid file and its interface pppN is up.
#include <string>

#include "link/DialupBackend.h"
#include "platform/EventLoop.h"
#include "platform/ProcessLauncher.h"

// Where pppd and its files are; tests point them at folders of their own.
struct PppdPaths {
    std::string peers = "/etc/ppp/peers";
    std::string run = "/run";    // pppN.pid
    std::string proc = "/proc";  // the command lines of running programs
    std::string net = "/sys/class/net";
    std::string pon = "pon";
    std::string poff = "poff";
    std::string pppd = "pppd";
    std::string group = "dip";  // the group whose members may run pppd
};

class PppdBackend : public DialupBackend {
public:
    // pppd's exit status for "no PPP support in the kernel".
    static constexpr int kNoKernelSupport = 4;
    // Our own error numbers: the entry name is not plain; pon could not be started.
    static constexpr int kBadName = 256, kNotStarted = 257;
    // How long hang-up waits for pppd to end.
    static constexpr int kHangUpWaitMs = 5000;

    PppdBackend(EventLoop& loop, ProcessLauncher& launcher, PppdPaths paths = {});
    ~PppdBackend() override;
    PppdBackend(const PppdBackend&) = delete;
    PppdBackend& operator=(const PppdBackend&) = delete;

    bool installed(std::string& reason) override;
    std::vector<std::string> entries() override;
    std::vector<std::string> activeConnections() override;
    bool connectStatus(const std::string& name) override;
    void dial(const std::string& name, DialDone done) override;
    void hangUp(const std::string& name) override;
    std::string errorText(int code) override;
    std::string entryFile(const std::string& name) override;
    std::string entriesFolder() override { return paths_.peers; }

    // The pid of the running "pppd call NAME", or -1.
    int pppdOf(const std::string& name);

private:
    struct Link {
        std::string interface;  // pppN
        int pid = -1;           // the pppd named in its pid file, -1 when none is running
        std::string peer;       // the entry that pppd was called with, "" for none
    };
    std::vector<Link> links();
    std::string peerOf(int pid);
    bool interfaceUp(const std::string& interface);
    void finishDial(int pid);

    EventLoop& loop_;
    ProcessLauncher& launcher_;
    PppdPaths paths_;
    // A dial whose pppd has not yet ended, polled by a timer.
    struct Pending {
        std::string name;
        int pid = -1;
        int timer = -1;
        DialDone done;
    };
    std::vector<Pending> pending_;
};
