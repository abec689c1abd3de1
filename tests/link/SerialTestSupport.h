#pragma once
// What the serial link tests share beside the common link test set-up: the modem table and a
// pty cable. The loop's idle hook plays the session's pump: it reads whatever the link has into
// `received`.
#include <termios.h>

#include "link/SerialLink.h"
#include "tests/fixtures/PtyCable.h"
#include "tests/link/LinkTestSupport.h"

class SerialTest : public LinkTest {
protected:
    SerialContext context(Clock& clock = Clock::steady()) {
        return SerialContext{loop, prompt, comm, modems, clock, cable.lines};
    }

    // The idle hook reads everything the link holds, as the session's pump would.
    void pump(SerialLink& link) {
        loop.setIdleHook([this, &link] {
            ++idleRuns;
            char buffer[4096];
            int n;
            while ((n = link.Read(buffer, sizeof buffer)) > 0)
                received.append(buffer, n);
            return false;
        });
    }
    // The slave's settings, as the far end sees them.
    termios slaveSettings() {
        termios t{};
        tcgetattr(cable.master(), &t);
        return t;
    }

    ModemTable modems;
    PtyCable cable;
    int idleRuns = 0;
};
