// The host terminal's widths measured by cursor position reports, against a stand-in terminal
// on the other side of a pseudo-terminal that answers as a terminal drawing the samples wide or
// narrow, answers after keys were typed, or does not answer at all; and xterm's Alt-as-Esc mode
// saved and set on taking the terminal over, restored on giving it back.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/tty/HostTerminal.h"

namespace {

struct Answer {
    int cells;           // the width the stand-in gives each sample; 0: it never answers
    std::string before;  // typed before each answer
};

// Reads what the program writes until it blanks the top line, and answers each "ESC [ 6 n"
// with the column after a sample `answer.cells` wide.
void standInTerminal(int master, const Answer& answer) {
    std::string seen;
    size_t answered = 0;
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0) return;
        char buffer[256];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) return;
        seen.append(buffer, static_cast<size_t>(n));
        for (size_t at; (at = seen.find("\x1b[6n", answered)) != std::string::npos;) {
            answered = at + 4;
            if (answer.cells == 0) continue;
            const std::string reply =
                answer.before + "\x1b[1;" + std::to_string(1 + answer.cells) + "R";
            if (write(master, reply.data(), reply.size()) < 0) return;
        }
        if (seen.find("\x1b[H\x1b[2K", answered) != std::string::npos) return;
    }
}

TEST(HostTerminalTest, WidthsComeFromCursorReportsAndNoAnswerCountsAsNone) {
    const struct {
        Answer answer;
        std::vector<int> widths;
        std::string typedAhead;
    } cases[] = {
        {{2, ""}, {2, 2, 2}, ""},
        {{1, ""}, {1, 1, 1}, ""},
        {{2, "k"}, {2, 2, 2}, "kkk"},
        {{0, ""}, {0, 0, 0}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.cells);
        int master = -1, slave = -1;
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        {
            HostTerminal terminal(slave, slave);
            std::string error;
            ASSERT_TRUE(terminal.Enter(error)) << error;
            std::thread peer(standInTerminal, master, c.answer);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(terminal.MeasureWidths({"─", "·", "α"}, 300), c.widths);
            const auto took = std::chrono::steady_clock::now() - start;
            peer.join();
            // Without answers the measuring waits out its time limit (counted in whole
            // milliseconds, so it may end a fraction early).
            if (c.answer.cells == 0) {
                EXPECT_GE(took, std::chrono::milliseconds(290));
            }
            char typed[16];
            const int n = terminal.ReadInput(typed, sizeof typed);
            EXPECT_EQ(std::string(typed, static_cast<size_t>(std::max(n, 0))), c.typedAhead);
        }
        close(master);
        close(slave);
    }
}

// What the program has written to the terminal so far.
std::string written(int master) {
    std::string seen;
    char buffer[512];
    for (pollfd p{master, POLLIN, 0}; poll(&p, 1, 100) > 0;) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        seen.append(buffer, static_cast<size_t>(n));
    }
    return seen;
}

TEST(HostTerminalTest, AltSendsEscWhileTheProgramHasTheTerminal) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    {
        HostTerminal terminal(slave, slave);
        std::string error;
        ASSERT_TRUE(terminal.Enter(error)) << error;
        EXPECT_NE(written(master).find("\x1b[?1036s\x1b[?1036h"), std::string::npos);
        terminal.Restore();  // around a program in the foreground
        EXPECT_NE(written(master).find("\x1b[?1036r"), std::string::npos);
        terminal.Resume();
        EXPECT_NE(written(master).find("\x1b[?1036s\x1b[?1036h"), std::string::npos);
    }
    EXPECT_NE(written(master).find("\x1b[?1036r"), std::string::npos);  // and at the end
    close(master);
    close(slave);
}

}  // namespace
