#pragma once
// The file a capture records into: a new temporary file "sXXXXXX.txt" in the temporary folder,
// created exclusively with mode 0600 and written through a 64 KiB buffer, so that a busy stream
// costs one write system call per 64 KiB. Every write is checked; a failed one leaves the file
// open and reports the errno.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

class CaptureFile {
public:
    static constexpr size_t kBufferSize = 65536;

    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    // Creates the file in `folder`: 0, or the errno of the failure (path() names the file
    // that could not be made).
    int Create(const std::string& folder);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // 0, or the errno of the write that failed; the bytes that did not fit are dropped. Bytes
    // that fit the buffer are copied inline: the recorders call this for every run.
    int Write(std::string_view bytes) {
        if (used_ + bytes.size() > kBufferSize) return writeThrough(bytes);
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
        return 0;
    }
    int Flush();
    // Flushes and closes: 0, or the errno of the last failure.
    int Close();

private:
    int writeThrough(std::string_view bytes);

    int fd_ = -1;
    std::string path_;
    std::unique_ptr<char[]> buffer_ = std::make_unique<char[]>(kBufferSize);
    size_t used_ = 0;
};

// Writes all of `bytes` to a descriptor: 0, or the errno of the failure.
int writeAll(int fd, std::string_view bytes);

// Puts the recording `source` into `destination`: appended when the destination exists
// (a failed append cuts the destination back to its old length), otherwise moved there, or
// copied when it cannot be moved. A moved file takes the mode of a newly made one. The source
// is kept whenever the destination did not receive it whole. 0, or the errno of the failure.
int StoreCapture(const std::string& source, const std::string& destination);
// Appends bytes to a file, making it when missing: 0, or the errno (cut back on failure).
int appendToFile(const std::string& path, std::string_view bytes);
