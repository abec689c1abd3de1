#pragma once
// Writes a video-message file: the header once, then records appended by several producer
// threads, each append whole under one lock so that records never interleave.
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Clock.h"

class VmiWriter {
public:
    explicit VmiWriter(Clock& clock) : clock_(clock) {}
    ~VmiWriter();
    VmiWriter(const VmiWriter&) = delete;
    VmiWriter& operator=(const VmiWriter&) = delete;

    // Creates the file and writes its header; false when the file cannot be created.
    bool Create(const std::string& path);
    // Appends one record stamped with the clock's tick count; false after a write error.
    bool AppendRecord(uint32_t type, std::string_view data);
    // Flushes and closes the file; false when something could not be written.
    bool Close();

private:
    Clock& clock_;
    std::mutex mutex_;
    FILE* file_ = nullptr;
    uint32_t sequence_ = 0;
    uint32_t offset_ = 0;
    bool failed_ = false;
};
