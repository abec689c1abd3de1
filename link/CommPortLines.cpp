#include "link/CommPortLines.h"

#include <sys/ioctl.h>

namespace {

class TtyLines : public CommPortLines {
public:
    int status(int fd) override {
        int bits = 0;
        if (ioctl(fd, TIOCMGET, &bits) != 0) return 0;
        return (bits & TIOCM_CTS ? kCtsOn : 0) | (bits & TIOCM_DSR ? kDsrOn : 0) |
               (bits & TIOCM_RNG ? kRingOn : 0) | (bits & TIOCM_CAR ? kCarrierOn : 0);
    }
    bool setOutput(int fd, OutputLine line, bool on) override {
        int bits = line == OutputLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
        return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
    }
    bool setBreak(int fd, bool on) override { return ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0; }
};

}  // namespace

CommPortLines& CommPortLines::tty() {
    static TtyLines lines;
    return lines;
}
