#pragma once
// The layout of a video-message file: a 316-byte header, then records of a 20-byte header and
// their data. All integers are 32-bit little-endian.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vmi {

constexpr size_t kHeaderSize = 316;
constexpr size_t kRecordHeaderSize = 20;
// Where the three numbers that identify a message sit in its header: 316, 1, 3200.
constexpr size_t kMarkOffset = 304;
constexpr uint32_t kMark[3] = {316, 1, 3200};
// A message appended to the player program starts this far into the program file.
constexpr uint64_t kPackageOffset = 150000;
// No record is this long; a longer length means a damaged file.
constexpr uint32_t kMaxRecordLength = 1 << 20;

enum RecordType : uint32_t { kVideo = 1, kSound = 2, kCaption = 3, kEnd = 6 };

struct Record {
    uint32_t type = 0;
    uint32_t sequence = 0;
    uint32_t timeMs = 0;
    uint32_t offset = 0;
    std::string data;
};

inline void putLe32(char* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(value >> (8 * i));
}

inline uint32_t getLe32(const char* in) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(in[i]);
    return value;
}

}  // namespace vmi
