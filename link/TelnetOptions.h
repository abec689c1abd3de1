#pragma once
// The telnet options of both ends of a connection and the answers to the host's requests.
// We perform BINARY, ECHO, SUPPRESS-GO-AHEAD and TERMINAL-TYPE when asked and accept the same
// from the host; everything else is refused. Nothing is ever requested first, so answering
// only changes of state is enough to keep the two ends from answering each other forever.
#include <array>
#include <cstdint>

namespace telnet {

constexpr uint8_t kSe = 240;
constexpr uint8_t kAo = 245;
constexpr uint8_t kSb = 250;
constexpr uint8_t kWill = 251;
constexpr uint8_t kWont = 252;
constexpr uint8_t kDo = 253;
constexpr uint8_t kDont = 254;
constexpr uint8_t kIac = 255;

constexpr uint8_t kBinary = 0;
constexpr uint8_t kEcho = 1;
constexpr uint8_t kSga = 3;
constexpr uint8_t kTtype = 24;

constexpr uint8_t kTtypeIs = 0;

}  // namespace telnet

class TelnetOptions {
public:
    // Takes the host's WILL, WONT, DO or DONT for an option: the verb to answer with, or 0
    // when nothing is to be sent.
    uint8_t answer(uint8_t verb, uint8_t option);

    // We perform the option (the host said DO and we agreed).
    bool local(uint8_t option) const { return local_[option]; }
    // The host performs the option (it said WILL and we agreed).
    bool remote(uint8_t option) const { return remote_[option]; }
    // The host does not echo, so what the user types is edited and echoed here.
    bool lineMode() const { return !remote_[telnet::kEcho]; }

private:
    std::array<bool, 256> local_{};
    std::array<bool, 256> remote_{};
};
