#include "tools/quilite-xfer-tty.h"

#include <unistd.h>

RawTty::RawTty(int fd) : fd_(fd) {
    if (!isatty(fd_) || tcgetattr(fd_, &original_) != 0) return;
    saved_ = true;
    termios raw = original_;
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(fd_, TCSADRAIN, &raw);
}

void RawTty::Restore() {
    if (!saved_) return;
    tcsetattr(fd_, TCSADRAIN, &original_);
    saved_ = false;
}
