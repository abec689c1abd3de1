#pragma once
// Reads the records of a video-message file in order, from the file's start or from a base
// offset (a message appended to the player program).
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "videomail/VmiFormat.h"

class VmiReader {
public:
    VmiReader() = default;
    ~VmiReader();
    VmiReader(const VmiReader&) = delete;
    VmiReader& operator=(const VmiReader&) = delete;

    // Opens the file and skips the message header at baseOffset; false when it cannot be
    // opened or is shorter than a header.
    bool Open(const std::string& path, uint64_t baseOffset = 0);
    // The next record; nothing at the end, at a short read, at a type-6 record or at a length
    // no record can have.
    std::optional<vmi::Record> ReadRecord();

private:
    FILE* file_ = nullptr;
    bool ended_ = false;
};

// Where the message in a file begins: 0 for a plain message, 150000 for a message appended to
// the player program (its identifying header numbers sit there, not at the start).
uint64_t findMessageStart(const std::string& path);
