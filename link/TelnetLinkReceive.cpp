// The receiving half of the telnet link: the host's bytes through the telnet state machine,
// decoded ahead of the reader.
#include <algorithm>
#include <cstring>

#include "link/TelnetLink.h"

namespace {

// IAC SB TERMINAL-TYPE IS "vt100" IAC SE.
const std::string kTerminalTypeReply = {'\xFF', '\xFA', '\x18', '\x00', 'v',   't',
                                        '1',    '0',    '0',    '\xFF', '\xF0'};

bool hasZeroByte(uint64_t v) {
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
}

// How many bytes at the start of p are plain data, neither IAC nor NUL; eight at a time.
size_t plainRun(const uint8_t* p, size_t n) {
    size_t i = 0;
    for (uint64_t v; i + 8 <= n; i += 8) {
        std::memcpy(&v, p + i, 8);
        if (hasZeroByte(v) || hasZeroByte(~v)) break;
    }
    while (i < n && p[i] != telnet::kIac && p[i] != 0)
        ++i;
    return i;
}

}  // namespace

int TelnetLink::decode(uint8_t b) {
    using namespace telnet;
    int data = -1;
    switch (state_) {
        case State::Data:
            // CR NUL is the host's bare CR, unless it sends in binary.
            if (b == kIac)
                state_ = State::Iac;
            else if (b != 0 || previous_ != '\r' || options_.remote(kBinary))
                data = b;
            break;
        case State::Iac:
            state_ = State::Data;
            if (b == kSb) {
                state_ = State::SbOption;
            } else if (b >= kWill && b <= kDont) {
                verb_ = b;
                state_ = State::Option;
            } else if (b == kIac) {
                data = kIac;
            }
            break;
        case State::Option:
            answerOption(b);
            state_ = State::Data;
            break;
        case State::SbOption:
            state_ = b == kTtype ? State::SbTtype : State::SbSkip;
            break;
        case State::SbTtype:
            if (b == kIac) state_ = State::SbTtypeIac;
            break;
        case State::SbTtypeIac:
            state_ = b == kSe ? State::Data : State::SbTtype;
            if (b == kSe) queueCommand(kTerminalTypeReply);
            break;
        case State::SbSkip:
            if (b == kIac) state_ = State::SbSkipIac;
            break;
        case State::SbSkipIac:
            state_ = b == kSe ? State::Data : State::SbSkip;
            break;
    }
    previous_ = b;
    if (data >= 0 && proxy_.active()) {
        const std::string reply = proxy_.see(static_cast<uint8_t>(data));
        queueData(reinterpret_cast<const uint8_t*>(reply.data()), static_cast<int>(reply.size()),
                  false);
    }
    return data;
}

void TelnetLink::answerOption(uint8_t option) {
    if (const uint8_t verb = options_.answer(verb_, option))
        queueCommand(std::string{static_cast<char>(telnet::kIac), static_cast<char>(verb),
                                 static_cast<char>(option)});
}

int TelnetLink::decodeByte() {
    next_ = 0;
    end_ = decodeInto(decoded_.data(), decoded_.size());
    return next_ < end_ ? decoded_[next_++] : static_cast<int>(GF_READ_TIMEOUT);
}

// Works through the ring a contiguous piece at a time; the ring is refilled from the socket
// when it runs empty, once per piece.
size_t TelnetLink::decodeInto(uint8_t* out, size_t room) {
    size_t n = 0;
    while (n < room) {
        const std::span<const uint8_t> in = socket_.received();
        if (in.empty()) break;
        uint8_t previous = previous_;
        bool plain = state_ == State::Data && !proxy_.active();
        size_t used = 0;
        while (used < in.size() && n < room) {
            const size_t run =
                plain ? plainRun(in.data() + used, std::min(in.size() - used, room - n)) : 0;
            if (run > 0) {
                std::memcpy(out + n, in.data() + used, run);
                n += run;
                used += run;
                previous = in[used - 1];
                continue;
            }
            const uint8_t b = in[used++];
            previous_ = previous;
            const int data = decode(b);
            previous = b;
            if (data >= 0) out[n++] = static_cast<uint8_t>(data);
            plain = state_ == State::Data && !proxy_.active();
        }
        previous_ = previous;
        socket_.consumeReceived(used);
    }
    return n;
}

int TelnetLink::Read(void* data, int count) {
    if (count <= 0) return 0;
    auto* out = static_cast<uint8_t*>(data);
    const size_t ready = std::min(static_cast<size_t>(count), end_ - next_);
    std::memcpy(out, decoded_.data() + next_, ready);
    next_ += ready;
    return static_cast<int>(ready + decodeInto(out + ready, static_cast<size_t>(count) - ready));
}

int TelnetLink::WaitReady(int event, int block) {
    if (event == 1 && next_ < end_) return 1;
    return socket_.waitReady(event, block != 0);
}

void TelnetLink::PurgeInput() {
    if (!socket_.connected()) return;
    while (ReadByte() != GF_READ_TIMEOUT) {
    }
}
