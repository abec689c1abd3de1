#pragma once
// An X server of the test's own, on a display number it chooses itself, started once per test
// program and ended with it. The program under test and the test's own window system
// connection both use it, never the developer's display.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/fixtures/PeerProcess.h"

class XvfbDisplay {
public:
    // The display, started on first use; DISPLAY is set to it. Empty when no server started.
    static const std::string& name() {
        static XvfbDisplay display;
        return display.name_;
    }

private:
    // Xvfb chooses a free display itself and writes its number to the pipe.
    XvfbDisplay() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        server_ = std::make_unique<PeerProcess>(
            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp", "-noreset"},
            fds[1], "/");
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty()) return;
        name_ = ":" + number;
        setenv("DISPLAY", name_.c_str(), 1);
    }

    std::unique_ptr<PeerProcess> server_;
    std::string name_;
};

// What a command prints on its standard output (a test helper; the command is fixed text).
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}
