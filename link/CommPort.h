#pragma once
// A serial port (or a pty standing for one) opened for a session. It keeps a receive ring
// filled from the descriptor and a hold ring for grouped output, and wakes the user-interface
// thread through the event loop: a read watch that is disabled when it fires until the ring
// has been drained, a watch for output room, and a timer that follows the modem lines.
// Everything runs on the user-interface thread, except that a transfer thread reads and
// writes while the port is paused (transfer mode). The event mask and pendingReads are
// guarded by one lock.
#include <termios.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "link/ByteRing.h"
#include "link/LinkActivity.h"
#include "link/SerialContext.h"

class CommPort {
public:
    using ActivityHandler = std::function<void(LinkActivity)>;

    static constexpr unsigned kPurgeInput = 1;
    static constexpr unsigned kPurgeOutput = 2;  // also drops bytes still held
    static constexpr int kHoldRingSize = 4096;

    explicit CommPort(const SerialContext& context) : ctx_(context) {}
    ~CommPort() { Close(); }
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    // name: a modem's name, "COMn" or a device path. On failure errorText() holds the message
    // for the user (UTF-8; empty when the user chose not to open) and lastError() the errno.
    bool Open(const std::string& name, int inQueue, int outQueue);
    // Stops the watches, then closes the descriptor.
    bool Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Copies received bytes, refilling the ring while notifications are pending.
    int Read(uint8_t* buffer, int count);
    // mode 0: drain what the driver holds into the ring; -1: refill during a Read. True when
    // the driver may hold more (the ring or the read size was the limit).
    bool Fill(int mode);
    // Bytes accepted: into the hold ring while holding, else written to the port, waiting
    // while the port takes output. Held bytes always go out before new ones.
    int Write(const uint8_t* buffer, int count);
    // One attempt, no hold ring, no waiting; WriteText sends a command byte by byte.
    int WriteRaw(const uint8_t* buffer, int count);
    void WriteText(const char* text);
    // kind 1: input available; kind 2: output room. wait: up to 1000 ms, else a test.
    bool WaitReady(int kind, bool wait);

    int ModemStatus();  // kCtsOn | kDsrOn | kRingOn | kCarrierOn; 0 when closed
    bool Carrier() { return (ModemStatus() & kCarrierOn) != 0; }
    bool SetBreak();
    bool ClearBreak();
    bool Escape(OutputLine line, bool on);
    bool Purge(unsigned queues);
    // Output is held back by CTS flow control.
    bool OutputBlocked();
    int QueuedInput();   // in the driver
    int QueuedOutput();  // in the driver
    int HeldBytes() const { return static_cast<int>(holdRing_.used()); }
    int RingCount() const { return static_cast<int>(ring_.used()); }
    void ResetRing() { ring_.clear(); }

    void SetPaused(bool on);
    void ApplyCtsFlow();
    void SetOutputThreshold(int level);
    void BeginHold() { hold_ = true; }
    // False when held bytes could not all be written; they stay queued, ahead of later ones.
    bool EndHold();

    void SetActivityHandler(ActivityHandler handler) { activity_ = std::move(handler); }
    int lastError() const { return lastError_; }
    const std::string& errorText() const { return errorText_; }

private:
    static constexpr unsigned kRxChar = 1;      // the read watch
    static constexpr unsigned kOutputRoom = 2;  // the watch for output room and CTS/DSR changes

    bool probeSharedInterrupt(const std::string& device);
    int openDevice(const std::string& device);
    int openFailed(int error);
    void configure();
    void startWatching();
    void stopWatching();
    void onReadable();
    void onOutputRoom();
    void onStatusTick();
    void changeMaskLocked(unsigned clear, unsigned set);
    void nothingQueued();
    void bumpPendingReads();
    int writeAll(const uint8_t* data, int count, bool wait);
    int holdBytes(const uint8_t* data, int count);
    bool flushHold(bool wait);
    bool outputReady(int waitMs);
    bool pollFd(short events, int waitMs);
    void notify(LinkActivity what);

    SerialContext ctx_;
    bool paused_ = false;  // under lock_
    bool ctsFlowConfigured_ = false;
    std::atomic<bool> ctsFlowActive_{false};
    std::atomic<bool> outputRoom_{true};
    bool hold_ = false;
    int pendingReads_ = 0;      // 0..32, under lock_
    int outputThreshold_ = -1;  // under lock_
    unsigned eventMask_ = 0;    // under lock_
    int readChunk_ = 0;
    std::atomic<bool> lost_{false};  // the device went away (hang-up, unplugged)
    int lastError_ = 0;
    termios portSettings_{};
    std::mutex lock_;
    int fd_ = -1;
    int readWatch_ = -1;
    int roomWatch_ = -1;
    int statusTimer_ = -1;
    int lastStatus_ = 0;
    std::string portName_;
    std::string errorText_;
    ByteRing ring_;
    ByteRing holdRing_;
    ActivityHandler activity_;
};
