#pragma once
// Logs in through a telnet proxy for the user: answers the proxy's "Username: " with the
// configured user, and its prompt with the command that opens the connection to the real host.
// Both are looked for at the start of a line, the first byte of the connection counting as
// one, and side by side, so that a banner before the user-name prompt does no harm. The bytes
// are shown as usual meanwhile; a proxy that never prompts gets nothing.
#include <cstdint>
#include <string>

class TelnetProxyWatcher {
public:
    // user, prompt: empty when the proxy is not expected to ask. command: "host" or
    // "host port". All CP949.
    void start(std::string user, std::string prompt, std::string command);
    void stop() {
        user_.text.clear();
        prompt_.text.clear();
    }
    bool active() const { return !user_.text.empty() || !prompt_.text.empty(); }

    // Sees one byte the host sent; returns what to send now (empty when nothing).
    std::string see(uint8_t c);

private:
    // Text to look for at a line start; index -1: not at a line start.
    struct Pattern {
        std::string text;
        int index = 0;
        bool matched(uint8_t c);
    };

    Pattern user_;
    Pattern prompt_;
    std::string userName_;
    std::string command_;
};
