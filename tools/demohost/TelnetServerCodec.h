#pragma once
// The server side of telnet for the demo host: the options it offers when a client connects,
// the answers to the client's requests, IAC undoubled in received data and doubled in sent data.
// The host echoes and suppresses go-ahead, asks for the terminal type, and both directions are
// binary; it never asks the client to echo and refuses every other option.
#include <cstdint>
#include <string>
#include <string_view>

class TelnetServerCodec {
public:
    // The offers that open a connection.
    static std::string Greeting();
    // Data with every IAC doubled.
    static std::string Encode(std::string_view data);

    // Takes received bytes: the data in them is appended to `data`, answers to the client's
    // options to `replies`. A command may span calls.
    void Decode(std::string_view bytes, std::string& data, std::string& replies);

    // The terminal type the client reported, or empty.
    const std::string& TerminalType() const { return terminalType_; }

    // A subnegotiation longer than this is dropped unread.
    static constexpr size_t kMaxSubnegotiation = 64;

private:
    enum class State { Data, Iac, Verb, Sb, SbIac };
    void answer(uint8_t verb, uint8_t option, std::string& replies);
    void endSubnegotiation();

    State state_ = State::Data;
    uint8_t verb_ = 0;
    std::string sb_;
    bool sbTooLong_ = false;
    bool ttypeAsked_ = false;
    std::string terminalType_;
};
