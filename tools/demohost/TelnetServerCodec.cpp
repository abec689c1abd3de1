#include "tools/demohost/TelnetServerCodec.h"

#include "link/TelnetOptions.h"

namespace {

std::string command(uint8_t verb, uint8_t option) {
    return {static_cast<char>(telnet::kIac), static_cast<char>(verb), static_cast<char>(option)};
}

// The options the host performs itself, and those it asks the client to perform.
bool hostPerforms(uint8_t option) {
    return option == telnet::kEcho || option == telnet::kSga || option == telnet::kBinary;
}
bool clientPerforms(uint8_t option) {
    return option == telnet::kTtype || option == telnet::kBinary;
}

constexpr uint8_t kTtypeSend = 1;

}  // namespace

std::string TelnetServerCodec::Greeting() {
    return command(telnet::kWill, telnet::kEcho) + command(telnet::kWill, telnet::kSga) +
           command(telnet::kDo, telnet::kTtype) + command(telnet::kWill, telnet::kBinary) +
           command(telnet::kDo, telnet::kBinary);
}

std::string TelnetServerCodec::Encode(std::string_view data) {
    std::string out;
    out.reserve(data.size() + 8);
    for (char c : data) {
        out += c;
        if (static_cast<uint8_t>(c) == telnet::kIac) out += c;
    }
    return out;
}

void TelnetServerCodec::Decode(std::string_view bytes, std::string& data, std::string& replies) {
    for (char ch : bytes) {
        const uint8_t c = static_cast<uint8_t>(ch);
        switch (state_) {
            case State::Data:
                if (c == telnet::kIac)
                    state_ = State::Iac;
                else
                    data += ch;
                break;
            case State::Iac:
                if (c == telnet::kIac) {
                    data += ch;
                    state_ = State::Data;
                } else if (c >= telnet::kWill && c <= telnet::kDont) {
                    verb_ = c;
                    state_ = State::Verb;
                } else if (c == telnet::kSb) {
                    sb_.clear();
                    sbTooLong_ = false;
                    state_ = State::Sb;
                } else {
                    state_ = State::Data;  // NOP, GA, AYT and the like carry nothing for us
                }
                break;
            case State::Verb:
                answer(verb_, c, replies);
                state_ = State::Data;
                break;
            case State::Sb:
                if (c == telnet::kIac) {
                    state_ = State::SbIac;
                } else if (sb_.size() < kMaxSubnegotiation) {
                    sb_ += ch;
                } else {
                    sbTooLong_ = true;
                }
                break;
            case State::SbIac:
                if (c == telnet::kSe) {
                    endSubnegotiation();
                    state_ = State::Data;
                } else {
                    if (c == telnet::kIac && sb_.size() < kMaxSubnegotiation) sb_ += ch;
                    if (c == telnet::kIac && sb_.size() >= kMaxSubnegotiation) sbTooLong_ = true;
                    state_ = State::Sb;
                }
                break;
        }
    }
}

void TelnetServerCodec::answer(uint8_t verb, uint8_t option, std::string& replies) {
    switch (verb) {
        case telnet::kDo:
            // Agreements to what the greeting offered need no answer.
            if (!hostPerforms(option)) replies += command(telnet::kWont, option);
            break;
        case telnet::kWill:
            if (!clientPerforms(option)) {
                replies += command(telnet::kDont, option);
            } else if (option == telnet::kTtype && !ttypeAsked_) {
                ttypeAsked_ = true;
                replies += command(telnet::kSb, telnet::kTtype) + static_cast<char>(kTtypeSend) +
                           static_cast<char>(telnet::kIac) + static_cast<char>(telnet::kSe);
            }
            break;
        default:
            break;  // WONT and DONT: the client keeps to the default, which the host accepts
    }
}

void TelnetServerCodec::endSubnegotiation() {
    if (sbTooLong_ || sb_.size() < 2) return;
    if (static_cast<uint8_t>(sb_[0]) == telnet::kTtype && sb_[1] == telnet::kTtypeIs)
        terminalType_ = sb_.substr(2);
}
