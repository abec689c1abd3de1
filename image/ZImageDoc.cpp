#include "image/ZImageDoc.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace {

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ZImageDoc::ZImageDoc(const std::string& path, Clock& clock) : ImageDoc(clock) {
    filePath_ = path;
    title_ = baseName(path);
    startDecode();
}

ZImageDoc::~ZImageDoc() {
    if (fd_ >= 0) close(fd_);
}

void ZImageDoc::SetPos(int64_t size) {
    if (ended_) return;
    feedUpTo(size / kGrowthUnit * kGrowthUnit);
}

void ZImageDoc::Reload() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    fed_ = 0;
    ended_ = false;
    startDecode();
}

void ZImageDoc::End() {
    if (ended_) return;
    feedUpTo(INT64_MAX);
    ended_ = true;
    endInput();
    if (observer()) observer()->OnTransferEnded();
}

void ZImageDoc::CancelTransfer() {
    if (cancel_ && !ended_) cancel_();
}

// Reads the file from what was fed up to end (or its end) into the decode queue.
void ZImageDoc::feedUpTo(int64_t end) {
    if (fd_ < 0) fd_ = open(filePath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    std::vector<uint8_t> buffer(64 * 1024);
    while (fed_ < end) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(end - fed_, buffer.size()));
        const ssize_t got = pread(fd_, buffer.data(), want, fed_);
        if (got <= 0) break;
        queueBytes(buffer.data(), static_cast<size_t>(got));
        fed_ += got;
    }
}

ZFileDoc::ZFileDoc(const std::string& path, Clock& clock) : ImageDoc(clock) {
    filePath_ = path;
    title_ = baseName(path);
    startDecode();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        endInput();
        return;
    }
    std::vector<uint8_t> buffer(64 * 1024);
    ssize_t got;
    while ((got = read(fd, buffer.data(), buffer.size())) > 0)
        queueBytes(buffer.data(), static_cast<size_t>(got));
    opened_ = got == 0;
    close(fd);
    endInput();
}
