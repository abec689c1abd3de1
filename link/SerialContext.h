#pragma once
// What a serial port needs from the rest of the program: the loop that wakes the
// user-interface thread, message boxes, the `Comm` settings, the modem table, a clock for the
// modem's guard times, and the modem-control lines (a pty hands in its own).
#include "auto/CSettingsSection.h"
#include "link/CommPortLines.h"
#include "link/ModemTable.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"

struct SerialContext {
    EventLoop& loop;
    Prompt& prompt;
    CSettingsSection& comm;
    const ModemTable& modems;
    Clock& clock = Clock::steady();
    CommPortLines& lines = CommPortLines::tty();
};
