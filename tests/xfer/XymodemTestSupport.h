#pragma once
// Sizes, data and expectations shared by the XMODEM and YMODEM tests.
#include <map>
#include <string>
#include <vector>

#include "tests/fixtures/RecordingMonitor.h"

namespace xymodemtest {

// Around the 128- and 1024-byte blocks and the 896-byte switch between them, and 1 MiB.
inline const std::vector<size_t> kSizes = {0,   1,   127,  128,  129,  895,
                                           896, 897, 1023, 1024, 1025, 1u << 20};

// Every byte value in turn, then a different walk through them.
inline std::string everyByte(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i < 256 ? i : (i * 7 + i / 256) & 0xFF);
    return s;
}

// What an XMODEM receiver keeps: the data and the padding of its last block, up to a multiple
// of 128 (a 1024-byte block is sent only while more than 896 bytes are left).
inline std::string padded(const std::string& data, char fill) {
    return data + std::string((128 - data.size() % 128) % 128, fill);
}

// A receiving monitor that also keeps each file's announced time and length by name.
class FileLog : public RecordingMonitor {
public:
    using RecordingMonitor::RecordingMonitor;
    void OnCloseFile(int skipped) override {
        RecordingMonitor::OnCloseFile(skipped);
        const std::string& path = GetFileName();
        const std::string name = path.substr(path.rfind('/') + 1);
        times[name] = GetFileTime();
        lengths[name] = GetFileLength();
    }
    long timeOf(const std::string& name) const {
        auto it = times.find(name);
        return it == times.end() ? -2 : it->second;
    }
    std::map<std::string, long> times;
    std::map<std::string, unsigned long> lengths;
};

}  // namespace xymodemtest
