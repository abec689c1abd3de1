#pragma once
// Kermit as a test sees it: packets built and read apart from the engine, and a link that
// hands the engine the next scripted input each time the engine has written a packet.
#include <deque>
#include <string>
#include <vector>

#include "link/MemoryLink.h"

namespace kermittest {

// One packet with the 6-bit block check, ended by CR.
inline std::string packet(char type, int seq, const std::string& data) {
    std::string body;
    body += static_cast<char>(32 + data.size() + 3);
    body += static_cast<char>(32 + seq % 64);
    body += type;
    body += data;
    unsigned sum = 0;
    for (char c : body) sum += static_cast<unsigned char>(c);
    sum &= 0xFF;
    return "\x01" + body + static_cast<char>(32 + ((sum + (sum >> 6)) & 63)) + "\r";
}

struct Packet {
    char type = 0;
    int seq = -1;
    int length = 0;  // LEN as sent
    std::string data;
};

// The packets in an engine's output, in order.
inline std::vector<Packet> packets(const std::string& out) {
    std::vector<Packet> found;
    for (size_t at = out.find('\x01'); at != std::string::npos && at + 4 < out.size();
         at = out.find('\x01', at + 1)) {
        Packet p;
        p.length = static_cast<unsigned char>(out[at + 1]) - 32;
        p.seq = static_cast<unsigned char>(out[at + 2]) - 32;
        p.type = out[at + 3];
        if (p.length >= 3) p.data = out.substr(at + 4, p.length - 3);
        found.push_back(p);
    }
    return found;
}

inline std::string types(const std::vector<Packet>& ps) {
    std::string t;
    for (const Packet& p : ps) t += p.type;
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

// Send-Init data of a peer: MAXL, TIME, QBIN and REPT as given, the rest as usual.
inline std::string initData(char maxl = '~', char time = '*', char qbin = 'Y', char rept = '~') {
    std::string d = {maxl, time, ' ', '@', '-', '#', qbin, '1'};
    if (rept) d += rept;
    return d;
}

}  // namespace kermittest
