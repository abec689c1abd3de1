#pragma once
// A mail server that answers one connection from a script, for the failures a real server is
// hard to make: an error at any step, overlong reply lines, a connection dropped during DATA.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedSmtpServer {
public:
    // replies[0] greets; each further one answers the next command, or the message after DATA.
    // When they run out every command gets "221 bye". dropAfterDataBytes: the connection is
    // closed once that many message bytes have come (0: never).
    explicit ScriptedSmtpServer(std::vector<std::string> replies, size_t dropAfterDataBytes = 0);
    ~ScriptedSmtpServer();

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    // Waits for the connection to end, then gives the commands and the message received.
    std::vector<std::string> commands();
    std::string message();

private:
    void serve();
    bool readLine(int fd, std::string& pending, std::string& line);

    std::vector<std::string> replies_;
    size_t dropAfter_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::vector<std::string> commands_;
    std::string message_;
};
