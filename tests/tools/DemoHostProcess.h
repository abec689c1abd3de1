#pragma once
// quilite-demohost run by a test: started on a free loopback port with its temporary folder
// (where the upload folder goes) and its output files inside `folder`, stopped by SIGTERM.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/fixtures/PeerProcess.h"

class DemoHostProcess {
public:
    // Throws when the host does not report its port within a few seconds.
    explicit DemoHostProcess(const std::string& folder, std::vector<std::string> extra = {});
    ~DemoHostProcess();

    int port() const { return port_; }
    // A telnet connection that has read up to and including the ID prompt, or -1.
    int connectToLogin(std::string* seen = nullptr);
    // Connects and logs in with id and password, reading up to the main menu's prompt.
    int logIn(const std::string& id, const std::string& password, std::string* seen = nullptr);
    // SIGTERM; the exit status, or -1 when it did not end within timeoutMs.
    int terminate(int timeoutMs);
    // Everything the host printed on standard output and standard error so far.
    std::string printed() const;
    int pid() const { return process_->pid(); }
    // The resident set size of the host in KiB.
    long residentKiB() const;

private:
    std::string folder_;
    std::unique_ptr<PeerProcess> process_;
    int port_ = -1;
};

// A test with its own host, started in a folder of the test's own and stopped before the
// folder goes.
class DemoHostTestBase : public ::testing::Test {
protected:
    DemoHostTestBase();
    ~DemoHostTestBase() override;

    std::string folder;
    DemoHostProcess host;
};

// A client sending seeded random bytes to the host until `stop`, reading whatever comes back.
void sendNoise(int port, unsigned seed, const std::atomic<bool>& stop);

// The menu prompt every page ends with (CP949).
std::string demoMenuPrompt();
// Sends text and reads until `until` arrives (a test failure when it does not); what was read.
std::string exchange(int fd, const std::string& text, const std::string& until);
// UTF-8 text as the host sends it.
std::string cp949(const std::string& utf8);
