#pragma once
// The files a sender takes in turn, from one string of paths separated by TAB.
#include <cstdint>
#include <string>
#include <vector>

class GFFileList {
public:
    explicit GFFileList(const char* paths) : paths_(Split(paths)) {}
    explicit GFFileList(std::vector<std::string> paths) : paths_(std::move(paths)) {}

    // Files not yet taken, and their total length.
    int Remaining() const { return static_cast<int>(paths_.size() - next_); }
    unsigned long RemainingBytes() const;
    // Moves to the next file; false at the end and when the file's status cannot be read.
    bool TakeNext();

    const std::string& Path() const { return path_; }
    unsigned long Length() const { return length_; }
    // Modification time, seconds since 1970-01-01 UTC (0 for earlier dates).
    long Time() const { return time_; }

    // Splits at TAB bytes; a byte with bit 7 set takes the next byte with it (double-byte text).
    static std::vector<std::string> Split(const char* paths);

private:
    std::vector<std::string> paths_;
    size_t next_ = 0;
    std::string path_;
    unsigned long length_ = 0;
    long time_ = 0;
};
