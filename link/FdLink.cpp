#include "link/FdLink.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kInputSize = 65536;
// More queued output than this makes WriteByte answer "full".
constexpr size_t kOutputLimit = 262144;
// Completed groups are written together once this much is queued, or as soon as the engine
// may wait for something (a read finds nothing buffered, a blocking wait, a drain).
constexpr size_t kWriteBatch = 16384;
constexpr int kCloseFlushMs = 5000;

int makeNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    return flags;
}

}  // namespace

FdLink::FdLink(int readFd, int writeFd, int waitMs)
    : readFd_(readFd), writeFd_(writeFd), waitMs_(waitMs), in_(kInputSize) {
    readFlags_ = makeNonBlocking(readFd_);
    if (writeFd_ != readFd_) writeFlags_ = makeNonBlocking(writeFd_);
    struct stat st {};
    socket_ = fstat(writeFd_, &st) == 0 && S_ISSOCK(st.st_mode);
    out_.reserve(kOutputLimit);
}

FdLink::~FdLink() {
    holdDepth_ = 0;
    flush(kCloseFlushMs);
    if (readFlags_ >= 0) fcntl(readFd_, F_SETFL, readFlags_);
    if (writeFlags_ >= 0) fcntl(writeFd_, F_SETFL, writeFlags_);
}

void FdLink::goOffline() {
    online_ = false;
    out_.clear();
    outHead_ = 0;
}

bool FdLink::fill(int timeoutMs) {
    if (inHead_ < inTail_) return true;
    if (!online_) return false;
    if (holdDepth_ == 0 && queued() > 0) flush(0);
    if (timeoutMs > 0) {
        pollfd p{readFd_, POLLIN, 0};
        int r = poll(&p, 1, timeoutMs);
        if (r <= 0) return false;
    }
    ssize_t n = read(readFd_, in_.data(), in_.size());
    if (n > 0) {
        inHead_ = 0;
        inTail_ = static_cast<size_t>(n);
        return true;
    }
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) goOffline();
    return false;
}

bool FdLink::flush(int timeoutMs) {
    while (queued() > 0 && online_) {
        const uint8_t* data = out_.data() + outHead_;
        ssize_t n = socket_ ? send(writeFd_, data, queued(), MSG_NOSIGNAL)
                            : write(writeFd_, data, queued());
        if (n > 0) {
            outHead_ += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            goOffline();
            break;
        }
        if (timeoutMs <= 0) break;
        pollfd p{writeFd_, POLLOUT, 0};
        if (poll(&p, 1, timeoutMs) <= 0) break;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            goOffline();
            break;
        }
    }
    if (queued() == 0) {
        out_.clear();
        outHead_ = 0;
    }
    return queued() == 0;
}

int FdLink::WaitReady(int event, int block) {
    const int timeout = block ? waitMs_ : 0;
    if (event == 1) return fill(timeout) ? 1 : 0;
    if (event == 2) {
        if (queued() == 0) return online_ ? 1 : 0;
        if (!block) flush(0);
        flush(timeout);
        return online_ && queued() < kOutputLimit ? 1 : 0;
    }
    return 0;
}

int FdLink::InputCount() {
    if (holdDepth_ == 0 && queued() >= kWriteBatch) flush(0);
    int waiting = 0;
    if (online_ && ioctl(readFd_, FIONREAD, &waiting) != 0) waiting = 0;
    return static_cast<int>(inTail_ - inHead_) + waiting;
}

void FdLink::PurgeInput() {
    inHead_ = inTail_ = 0;
    while (fill(0))
        inHead_ = inTail_ = 0;
}

void FdLink::PurgeOutput() {
    out_.clear();
    outHead_ = 0;
}

void FdLink::EndHold() {
    if (holdDepth_ > 0) --holdDepth_;
    if (holdDepth_ == 0 && queued() >= kWriteBatch) flush(0);
}

int FdLink::WriteByte(int c) {
    if (!online_) return GF_CARRIER_LOST_WRITING;
    if (queued() >= kOutputLimit && !flush(0) && queued() >= kOutputLimit) return GF_OUTPUT_FULL;
    out_.push_back(static_cast<uint8_t>(c));
    if (holdDepth_ == 0) flush(0);
    return 0;
}

int FdLink::Write(const void* data, int count) {
    if (!online_ || count <= 0) return 0;
    if (queued() >= kOutputLimit && !flush(0) && queued() >= kOutputLimit) return 0;
    const auto* bytes = static_cast<const uint8_t*>(data);
    out_.insert(out_.end(), bytes, bytes + count);
    if (holdDepth_ == 0) flush(0);
    return count;
}

int FdLink::WriteString(const char* text) {
    return Write(text, static_cast<int>(std::strlen(text)));
}

int FdLink::ReadByte() {
    if (inHead_ < inTail_ || fill(0)) return in_[inHead_++];
    return GF_READ_TIMEOUT;
}

int FdLink::Read(void* data, int count) {
    if (count <= 0 || !(inHead_ < inTail_ || fill(0))) return 0;
    const size_t n = std::min(static_cast<size_t>(count), inTail_ - inHead_);
    std::memcpy(data, in_.data() + inHead_, n);
    inHead_ += n;
    return static_cast<int>(n);
}
