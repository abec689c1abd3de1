#pragma once
// A link over a pair of file descriptors (the same one twice for a socket or a tty; stdin and
// stdout for a tool run like sz/rz). Non-blocking; waits happen in poll(). Online until end
// of file, EIO or a hang-up. Completed write groups are gathered into large writes; nothing
// stays queued once the engine reads, waits or drains.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "xfer/GFComLink.h"

class FdLink : public GFComLink {
public:
    // waitMs: how long a blocking WaitReady waits at most.
    FdLink(int readFd, int writeFd, int waitMs = 1000);
    // Pushes out what is still queued (for a few seconds at most) and restores the
    // descriptors' flags. Never discards output.
    ~FdLink() override;
    FdLink(const FdLink&) = delete;
    FdLink& operator=(const FdLink&) = delete;

    // What SetTransferMode(1) answers: true asks the engines to escape every control byte.
    void SetEscapeAll(bool on) { escapeAll_ = on; }

    int IsDrained() override { return queued() == 0; }
    int WaitReady(int event, int block) override;
    void SendPending() override { flush(0); }
    bool IsOnline() override { return online_; }
    int InputCount() override;
    int OutputCount() override { return static_cast<int>(queued()); }
    void PurgeInput() override;
    void PurgeOutput() override;
    void BeginHold() override { ++holdDepth_; }
    void EndHold() override;
    int WriteByte(int c) override;
    int WriteString(const char* text) override;
    int Write(const void* data, int count) override;
    int ReadByte() override;
    int Read(void* data, int count) override;
    int SetTransferMode(int on) override { return on && escapeAll_ ? 1 : 0; }

private:
    size_t queued() const { return out_.size() - outHead_; }
    // Reads what is waiting, waiting up to timeoutMs for it; false when nothing came.
    bool fill(int timeoutMs);
    // Writes queued bytes, waiting up to timeoutMs for room; false when some are left.
    bool flush(int timeoutMs);
    void goOffline();

    int readFd_;
    int writeFd_;
    int waitMs_;
    int readFlags_ = -1;
    int writeFlags_ = -1;
    bool socket_ = false;
    bool online_ = true;
    bool escapeAll_ = false;
    int holdDepth_ = 0;
    std::vector<uint8_t> in_;
    size_t inHead_ = 0;
    size_t inTail_ = 0;
    std::vector<uint8_t> out_;
    size_t outHead_ = 0;
};
