#pragma once
// Puts a terminal into raw mode for a transfer and gives it back its settings when done,
// after the output has drained (TCSADRAIN): the last protocol bytes are never thrown away.
#include <termios.h>

class RawTty {
public:
    // Does nothing when fd is not a terminal.
    explicit RawTty(int fd);
    ~RawTty() { Restore(); }
    RawTty(const RawTty&) = delete;
    RawTty& operator=(const RawTty&) = delete;

    void Restore();

private:
    int fd_;
    bool saved_ = false;
    termios original_{};
};
