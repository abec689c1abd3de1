#pragma once
// Kermit as a test sees it: packets built and read apart from the engine, and a link that
// hands the engine the next scripted input each time the engine has written a packet.
#include <deque>
#include <string>
#include <vector>

#include "link/MemoryLink.h"
#include "xfer/GFKermitCodec.h"

namespace kermittest {

// One packet with a block check of the given type (1: 6-bit sum, 3: CRC), ended by CR.
inline std::string packet(char type, int seq, const std::string& data, int check = 1) {
    std::string body;
    body += static_cast<char>(32 + data.size() + 2 + gfkermit::checkLength(check));
    body += static_cast<char>(32 + seq % 64);
    body += type;
    body += data;
    const int value = gfkermit::blockCheck(check, reinterpret_cast<const uint8_t*>(body.data()),
                                           static_cast<int>(body.size()));
    return "\x01" + body + gfkermit::checkChars(check, value) + "\r";
}

struct Packet {
    char type = 0;
    int seq = -1;
    int length = 0;  // LEN as sent
    std::string data;
    bool checkOk = false;
};

// The packets in an engine's output, in order, read with the block check of the given type
// (a Send-Init always with type 1).
inline std::vector<Packet> packets(const std::string& out, int check = 1) {
    std::vector<Packet> found;
    for (size_t at = out.find('\x01'); at != std::string::npos && at + 4 < out.size();
         at = out.find('\x01', at + 1)) {
        Packet p;
        p.length = static_cast<unsigned char>(out[at + 1]) - 32;
        p.seq = static_cast<unsigned char>(out[at + 2]) - 32;
        p.type = out[at + 3];
        const int checkLength = gfkermit::checkLength(p.type == 'S' ? 1 : check);
        if (p.length >= 2 + checkLength && at + 2 + p.length <= out.size()) {
            p.data = out.substr(at + 4, p.length - 2 - checkLength);
            p.checkOk = packet(p.type, p.seq, p.data, p.type == 'S' ? 1 : check) ==
                        out.substr(at, p.length + 2) + "\r";
        }
        found.push_back(p);
    }
    return found;
}

inline std::string types(const std::vector<Packet>& ps) {
    std::string t;
    for (const Packet& p : ps)
        t += p.type;
    return t;
}

// A memory link that releases the next step of its script whenever the engine has written a
// whole packet (a CR), as a peer answering each packet would. The first step comes with the
// engine's first read.
class ScriptLink : public MemoryLink {
public:
    explicit ScriptLink(std::vector<std::string> steps) : steps_(steps.begin(), steps.end()) {}
    int ReadByte() override {
        if (!started_) release();
        return MemoryLink::ReadByte();
    }
    int WriteByte(int c) override {
        MemoryLink::WriteByte(c);
        if (c == '\r') release();
        return 0;
    }
    int Write(const void* data, int count) override {
        const int n = MemoryLink::Write(data, count);
        if (n > 0 && static_cast<const char*>(data)[n - 1] == '\r') release();
        return n;
    }
    bool IsOnline() override { return true; }

private:
    void release() {
        started_ = true;
        if (steps_.empty()) return;
        Feed(steps_.front());
        steps_.pop_front();
    }
    std::deque<std::string> steps_;
    bool started_ = false;
};

// Send-Init data of a peer: MAXL, TIME, QBIN, REPT and CHKT as given, the rest as usual.
inline std::string initData(char maxl = '~', char time = '*', char qbin = 'Y', char rept = '~',
                            char chkt = '1') {
    std::string d = {maxl, time, ' ', '@', '-', '#', qbin, chkt};
    if (rept) d += rept;
    return d;
}

}  // namespace kermittest
