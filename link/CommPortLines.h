#pragma once
// The modem-control lines and the break condition of a serial port. The tty implementation
// uses the kernel's modem-line ioctls; a pty has no lines, so tests hand in one of their own.
// Input lines are reported with the bit values the status bar and the links share.

constexpr int kCtsOn = 0x10;
constexpr int kDsrOn = 0x20;
constexpr int kRingOn = 0x40;
constexpr int kCarrierOn = 0x80;

enum class OutputLine { Dtr, Rts };

class CommPortLines {
public:
    virtual ~CommPortLines() = default;
    // The input lines as kCtsOn | kDsrOn | kRingOn | kCarrierOn bits; 0 when unreadable.
    virtual int status(int fd) = 0;
    virtual bool setOutput(int fd, OutputLine line, bool on) = 0;
    virtual bool setBreak(int fd, bool on) = 0;

    static CommPortLines& tty();
};
