// Reading, writing, waiting and the event mask of a CommPort.
#include "link/CommPort.h"

#include <errno.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace {

constexpr int kMaxPendingReads = 32;
constexpr int kDefaultOutputLimit = 8192;
constexpr int kReadyWaitMs = 1000;
constexpr int kLinePollMs = 20;  // how often a wait looks at CTS, which has no descriptor event

int64_t nowMs() {
    return Clock::steady().nowMs();
}

}  // namespace

// --- the event mask and the watches -------------------------------------------------------

// The read watch follows kRxChar unless the device is gone; the room watch follows
// kOutputRoom, but never while paused: the transfer thread waits for room by itself.
void CommPort::changeMaskLocked(unsigned clear, unsigned set) {
    eventMask_ = (eventMask_ & ~clear) | set;
    if (fd_ < 0) return;
    ctx_.loop.setWatchEnabled(readWatch_, (eventMask_ & kRxChar) && !lost_);
    ctx_.loop.setWatchEnabled(roomWatch_, (eventMask_ & kOutputRoom) && !paused_);
}

// Bytes arrived: stop watching until the ring has been drained, and wake the user interface.
void CommPort::onReadable() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        changeMaskLocked(kRxChar, 0);
        if (paused_) {
            pendingReads_ = 1;
            return;
        }
        pendingReads_ = std::min(pendingReads_ + 1, kMaxPendingReads);
    }
    ctx_.loop.kickIdle();
}

void CommPort::onOutputRoom() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (paused_) {
            changeMaskLocked(kOutputRoom, 0);
            return;
        }
    }
    SetOutputThreshold(-1);
    if (!hold_) flushHold(false);
    ctx_.loop.kickIdle();
}

// The modem lines have no descriptor event, so a timer looks at them. Carrier changes switch
// CTS flow control and wake the user interface; a CTS or DSR change while output waits for
// room counts as room.
void CommPort::onStatusTick() {
    const int status = ModemStatus();
    const int changed = status ^ lastStatus_;
    lastStatus_ = status;
    if (changed & kCarrierOn) ApplyCtsFlow();
    bool due = (changed & kCarrierOn) != 0;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (paused_) return;
        if ((changed & (kCtsOn | kDsrOn)) && (eventMask_ & kOutputRoom)) due = true;
    }
    if (!due) return;
    if (changed & (kCtsOn | kDsrOn)) SetOutputThreshold(-1);
    ctx_.loop.kickIdle();
}

void CommPort::SetPaused(bool on) {
    std::lock_guard<std::mutex> lock(lock_);
    if (paused_ == on) return;
    paused_ = on;
    if (on)
        changeMaskLocked(kRxChar | kOutputRoom, 0);
    else
        changeMaskLocked(0, kRxChar);
}

void CommPort::SetOutputThreshold(int level) {
    std::lock_guard<std::mutex> lock(lock_);
    if (outputThreshold_ == level) return;
    outputThreshold_ = level;
    if (level == -1) {
        outputRoom_ = true;
        changeMaskLocked(kOutputRoom, 0);
    } else {
        changeMaskLocked(0, kOutputRoom);
    }
}

void CommPort::bumpPendingReads() {
    std::lock_guard<std::mutex> lock(lock_);
    pendingReads_ = std::min(pendingReads_ + 1, kMaxPendingReads);
}

// The driver had nothing: watch for bytes again (unless paused) and count one notification
// as drained.
void CommPort::nothingQueued() {
    std::lock_guard<std::mutex> lock(lock_);
    if (!paused_) changeMaskLocked(0, kRxChar);
    if (pendingReads_ > 0) --pendingReads_;
}

// --- input ------------------------------------------------------------------------------------

// A read that comes back short has drained the driver for now: what it brought is returned
// without asking the driver again, and the next call finds out whether more came.
int CommPort::Read(uint8_t* buffer, int count) {
    int copied = 0;
    while (copied < count) {
        copied += static_cast<int>(ring_.take(buffer + copied, count - copied));
        if (copied == count) break;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (pendingReads_ == 0) break;
        }
        const bool more = Fill(-1);
        if (ring_.empty()) break;
        if (!more) return copied + static_cast<int>(ring_.take(buffer + copied, count - copied));
    }
    return copied;
}

bool CommPort::Fill(int mode) {
    if (fd_ < 0) return false;
    std::span<uint8_t> span = ring_.writeSpan();
    const size_t want = std::min(span.size(), static_cast<size_t>(readChunk_));
    if (want == 0) return true;
    const bool wasEmpty = ring_.empty();
    const ssize_t n = lost_ ? 0 : read(fd_, span.data(), want);
    if (n > 0) {
        ring_.commit(static_cast<size_t>(n));
        if (wasEmpty) notify(LinkActivity::Received);
        return static_cast<size_t>(n) == want;
    }
    // End of file or an error other than "nothing there": the device is gone, and watching
    // it would only report the same again and again.
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        if (!lost_) lastError_ = n == 0 ? EIO : errno;
        lost_ = true;
    }
    if (mode == -1) nothingQueued();
    return false;
}

int CommPort::QueuedInput() {
    int n = 0;
    return fd_ >= 0 && ioctl(fd_, FIONREAD, &n) == 0 ? n : 0;
}

// --- output -----------------------------------------------------------------------------------

int CommPort::Write(const uint8_t* buffer, int count) {
    if (fd_ < 0 || count <= 0) return 0;
    if (hold_) return holdBytes(buffer, count);
    if (!flushHold(true)) return 0;
    return writeAll(buffer, count, true);
}

int CommPort::WriteRaw(const uint8_t* buffer, int count) {
    if (fd_ < 0 || count <= 0) return 0;
    const ssize_t n = write(fd_, buffer, static_cast<size_t>(count));
    if (n <= 0) return 0;
    notify(LinkActivity::Sent);
    return static_cast<int>(n);
}

void CommPort::WriteText(const char* text) {
    for (; *text; ++text)
        WriteRaw(reinterpret_cast<const uint8_t*>(text), 1);
}

// Writes until done, waiting while the port takes output; each wait is bounded by the time
// the rest needs at a slow line (a third of a millisecond a byte) plus a second.
int CommPort::writeAll(const uint8_t* data, int count, bool wait) {
    int done = 0;
    while (done < count) {
        const ssize_t n = write(fd_, data + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            lastError_ = errno;
            break;
        }
        if (!wait || !pollFd(POLLOUT, (count - done) / 3 + 1000)) break;
    }
    if (done > 0) notify(LinkActivity::Sent);
    if (done < count) outputRoom_ = false;
    return done;
}

// A full hold ring is written out before more is held, so nothing held is ever overwritten.
int CommPort::holdBytes(const uint8_t* data, int count) {
    int held = 0;
    while (held < count) {
        if (holdRing_.full() && !flushHold(true)) break;
        held += static_cast<int>(holdRing_.put(data + held, static_cast<size_t>(count - held)));
    }
    return held;
}

bool CommPort::flushHold(bool wait) {
    while (!holdRing_.empty()) {
        std::span<const uint8_t> span = holdRing_.readSpan();
        const int n = writeAll(span.data(), static_cast<int>(span.size()), wait);
        holdRing_.consume(static_cast<size_t>(n));
        if (n < static_cast<int>(span.size())) return false;
    }
    return true;
}

bool CommPort::EndHold() {
    hold_ = false;
    if (outputRoom_) flushHold(true);
    if (holdRing_.empty()) return true;
    SetOutputThreshold(QueuedOutput());
    return false;
}

int CommPort::QueuedOutput() {
    int n = 0;
    return fd_ >= 0 && ioctl(fd_, TIOCOUTQ, &n) == 0 ? n : 0;
}

bool CommPort::OutputBlocked() {
    if (fd_ < 0) return false;
    {
        // A notification may have been lost while bytes were queued: count one again.
        std::lock_guard<std::mutex> lock(lock_);
        if (pendingReads_ == 0 && !(eventMask_ & kRxChar) && QueuedInput() > 0) pendingReads_ = 1;
    }
    return ctsFlowActive_ && !(ModemStatus() & kCtsOn);
}

void CommPort::ApplyCtsFlow() {
    if (fd_ < 0) return;
    const bool on = ctsFlowConfigured_ && Carrier();
    if (on)
        portSettings_.c_cflag |= CRTSCTS;
    else
        portSettings_.c_cflag &= ~CRTSCTS;
    ctsFlowActive_ = on;
    tcsetattr(fd_, TCSANOW, &portSettings_);
}

// --- waiting ----------------------------------------------------------------------------------

bool CommPort::WaitReady(int kind, bool wait) {
    if (fd_ < 0) return false;
    if (kind == 1) {
        const bool ready = !ring_.empty() || (!lost_ && pollFd(POLLIN, wait ? kReadyWaitMs : 0));
        if (ready) bumpPendingReads();
        return ready;
    }
    if (kind == 2) return outputReady(wait ? kReadyWaitMs : 0);
    return false;
}

// Room when CTS lets output through, the driver queue is below the threshold and the port
// takes bytes; bytes still held go out first.
bool CommPort::outputReady(int waitMs) {
    int limit;
    {
        std::lock_guard<std::mutex> lock(lock_);
        limit = outputThreshold_ > 0 ? outputThreshold_ : kDefaultOutputLimit;
    }
    const int64_t deadline = nowMs() + waitMs;
    for (;;) {
        const int left = static_cast<int>(std::max<int64_t>(deadline - nowMs(), 0));
        if (OutputBlocked()) {
            if (left == 0) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, kLinePollMs)));
            continue;
        }
        const bool writable = pollFd(POLLOUT, left);
        if (writable && QueuedOutput() < limit && (hold_ || flushHold(false))) {
            outputRoom_ = true;
            return true;
        }
        if (left == 0) return false;
        if (writable)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, kLinePollMs)));
    }
}

bool CommPort::pollFd(short events, int waitMs) {
    pollfd p{fd_, events, 0};
    int r;
    while ((r = poll(&p, 1, waitMs)) < 0 && errno == EINTR) {
    }
    return r > 0 && (p.revents & events) && !(p.revents & (POLLERR | POLLNVAL));
}

// --- lines and purges -------------------------------------------------------------------------

int CommPort::ModemStatus() {
    return fd_ >= 0 ? ctx_.lines.status(fd_) : 0;
}

bool CommPort::SetBreak() {
    return fd_ < 0 || ctx_.lines.setBreak(fd_, true);
}
bool CommPort::ClearBreak() {
    return fd_ < 0 || ctx_.lines.setBreak(fd_, false);
}
bool CommPort::Escape(OutputLine line, bool on) {
    return fd_ < 0 || ctx_.lines.setOutput(fd_, line, on);
}

bool CommPort::Purge(unsigned queues) {
    if (fd_ < 0) return false;
    if (queues & kPurgeOutput) holdRing_.clear();
    const int which = (queues & kPurgeInput) && (queues & kPurgeOutput) ? TCIOFLUSH
                      : (queues & kPurgeInput)                          ? TCIFLUSH
                                                                        : TCOFLUSH;
    return tcflush(fd_, which) == 0;
}

void CommPort::notify(LinkActivity what) {
    if (activity_) activity_(what);
}
