// quilite-xfer as a program: its command line, exit status, time limit, and whole sessions
// against lrzsz and against itself, over a socketpair and over a pty.
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <tuple>

#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/xfer/ToolRunner.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

using xfertest::kTool;

class Tool : public ::testing::Test {
protected:
    Tool() : src(dir.make("src")), dst(dir.make("dst")) {}

    int runAlone(const std::vector<std::string>& args) {
        return xfertest::runToolAlone(args, dir.path());
    }
    // Two programs on the two ends of a socketpair; returns their exit statuses.
    std::pair<int, int> session(const std::vector<std::string>& sender,
                                const std::string& senderDir,
                                const std::vector<std::string>& receiver,
                                const std::string& receiverDir) {
        return xfertest::runSession(sender, senderDir, receiver, receiverDir, dir.path());
    }
    // Everything written to a terminal so far, read from its master side.
    static std::string shownOn(int master) {
        std::string shown;
        char buffer[4096];
        pollfd p{master, POLLIN, 0};
        for (ssize_t n; poll(&p, 1, 100) > 0 && (n = read(master, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, static_cast<size_t>(n));
        return shown;
    }
    // The progress display of one file that arrived whole: one line, rewritten in place, that
    // ends with the file's name and its full byte count, and then a newline.
    static void expectProgressLine(const std::string& shown, const std::string& name,
                                   const std::string& bytes) {
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front(), '\r') << shown;
        EXPECT_EQ(shown.back(), '\n') << shown;
        EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1) << shown;
        const std::string last = shown.substr(shown.rfind('\r'));
        EXPECT_EQ(last.find("\r" + name + " "), 0u) << last;
        EXPECT_NE(last.find(" " + bytes + "/" + bytes + " "), std::string::npos) << last;
        EXPECT_NE(last.find(" 0 errors\n"), std::string::npos) << last;
    }

    xfertest::TempFolder dir;
    std::string src, dst;
};

TEST_F(Tool, CommandLineErrors) {
    writeFile(src + "/f", "x");
    EXPECT_EQ(runAlone({"send", "-p", "ZIMAGE", src + "/f"}), 2);  // the picture variant receives
    EXPECT_EQ(runAlone({"send", "-p", "zimage", src + "/f"}), 2);
    EXPECT_EQ(runAlone({"send", "-p", "NOSUCH", src + "/f"}), 2);
    EXPECT_EQ(runAlone({"send", "-p", "ZMODEM"}), 2);
    EXPECT_EQ(runAlone({"receive"}), 2);
    EXPECT_EQ(runAlone({"fetch", "-p", "ZMODEM"}), 2);
    EXPECT_EQ(runAlone({"receive", "-p", "ZMODEM", "--timeout", "0"}), 2);
}

TEST_F(Tool, ReceivesFromSzInAnyCaseOfProtocolName) {
    const std::string data = xfertest::randomData(500000, 1);
    writeFile(src + "/공백 있는 이름.bin", data);
    EXPECT_EQ(session({"sz", "공백 있는 이름.bin"}, src,
                      {kTool, "receive", "-p", "zModem", "-d", dst}, dir.path()),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/공백 있는 이름.bin"), data));
}

TEST_F(Tool, SendsToRz) {
    const std::string a = xfertest::randomData(300000, 2), b = xfertest::awkwardData();
    writeFile(src + "/a", a);
    writeFile(src + "/파일", b);
    EXPECT_EQ(session({kTool, "send", "-p", "zmodem", src + "/a", src + "/파일"}, dir.path(),
                      {"rz"}, dst),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/a"), a));
    EXPECT_TRUE(sameBytes(readFile(dst + "/파일"), b));
}

// A file that cannot be read ends the batch there, first or in the middle: the exit status says
// that not every file arrived.
TEST_F(Tool, MissingFileMakesTheSendFail) {
    writeFile(src + "/a", "abc");
    writeFile(src + "/b", "def");
    auto [sent, received] =
        session({kTool, "send", "-p", "ZMODEM", src + "/missing"}, dir.path(), {"rz"}, dst);
    EXPECT_EQ(sent, 1);
    std::tie(sent, received) =
        session({kTool, "send", "-p", "ZMODEM", src + "/a", src + "/missing", src + "/b"},
                dir.path(), {"rz"}, dst);
    EXPECT_EQ(sent, 1);
    EXPECT_EQ(readFile(dst + "/a"), "abc");
    EXPECT_FALSE(std::filesystem::exists(dst + "/b"));
}

// With standard error on a terminal, each direction shows its progress line there; with standard
// error in a file, a good session writes nothing and a failed one only its error message.
TEST_F(Tool, ShowsProgressOnlyOnATerminal) {
    const std::string data = xfertest::randomData(300000, 5);
    writeFile(src + "/진행.bin", data);
    const std::string received = dir.make("received"), sent = dir.make("sent");
    const std::string receiving = dir / "receiving.log", sending = dir / "sending.log";
    PtyPair terminal;  // raw: a newline stays one byte
    const std::string terminalPath = ptsname(terminal.ours);

    EXPECT_EQ(xfertest::runSessionWithErrors({"sz", "진행.bin"}, src, "/dev/null",
                                             {kTool, "receive", "-p", "ZMODEM", "-d", received},
                                             dir.path(), terminalPath),
              std::make_pair(0, 0));
    expectProgressLine(shownOn(terminal.ours), "진행.bin", "300000");
    EXPECT_TRUE(sameBytes(readFile(received + "/진행.bin"), data));

    EXPECT_EQ(xfertest::runSessionWithErrors({kTool, "send", "-p", "ZMODEM", src + "/진행.bin"},
                                             dir.path(), terminalPath, {"rz"}, sent, "/dev/null"),
              std::make_pair(0, 0));
    expectProgressLine(shownOn(terminal.ours), "진행.bin", "300000");

    std::filesystem::remove(received + "/진행.bin");
    std::filesystem::remove(sent + "/진행.bin");
    EXPECT_EQ(xfertest::runSessionWithErrors({kTool, "send", "-p", "ZMODEM", src + "/진행.bin"},
                                             dir.path(), sending, {"rz"}, sent, "/dev/null"),
              std::make_pair(0, 0));
    EXPECT_EQ(readFile(sending), "");
    EXPECT_EQ(xfertest::runSessionWithErrors({"sz", "진행.bin"}, src, "/dev/null",
                                             {kTool, "receive", "-p", "ZMODEM", "-d", received},
                                             dir.path(), receiving),
              std::make_pair(0, 0));
    EXPECT_EQ(readFile(receiving), "");

    SocketPair gone;  // the other end hangs up at once
    PeerProcess waiting({kTool, "receive", "-p", "ZMODEM", "-d", received}, gone.theirs, dir.path(),
                        receiving);
    gone.closeOurs();
    gone.closeTheirs();
    EXPECT_EQ(waiting.wait(30000), 1);
    EXPECT_EQ(readFile(receiving).rfind("quilite-xfer: transfer failed (", 0), 0u);
    EXPECT_EQ(readFile(receiving).find('\r'), std::string::npos);
    EXPECT_EQ(shownOn(terminal.ours), "") << "nothing else went to the terminal";
}

TEST_F(Tool, InterruptedTransferExitsWithFailure) {
    writeFile(src + "/big", xfertest::randomData(48u << 20, 3));
    SocketPair pair;
    PeerProcess receiving({kTool, "receive", "-p", "ZMODEM", "-d", dst}, pair.theirs, dir.path());
    PeerProcess sending({"sz", "big"}, pair.ours, src);
    pair.closeOurs();
    pair.closeTheirs();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    sending.kill(SIGKILL);
    EXPECT_EQ(receiving.wait(60000), 1);
}

TEST_F(Tool, TimeLimitEndsASilentSession) {
    SocketPair pair;  // nobody on the other end
    const auto start = std::chrono::steady_clock::now();
    PeerProcess receiving({kTool, "receive", "-p", "ZMODEM", "--timeout", "1", "-d", dst},
                          pair.theirs, dir.path());
    EXPECT_EQ(receiving.wait(30000), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// Both ends are our own tool on a pty: neither throws away its last bytes, so the session
// ends at once on both sides.
TEST_F(Tool, ItselfOverAPtyEndsWithoutStalling) {
    const std::string data = xfertest::randomData(400000, 4);
    writeFile(src + "/p.bin", data);
    PtyPair pty;
    const std::string slave = ptsname(pty.ours);
    const auto start = std::chrono::steady_clock::now();
    PeerProcess receiving({kTool, "receive", "-p", "ZMODEM", "-d", dst}, pty.ours, dir.path());
    // The sender also holds the slave as its standard input and output, so that the slave is
    // never without an opener (the master would read that as a hang-up).
    PeerProcess sending({kTool, "send", "-p", "ZMODEM", "--line", slave, src + "/p.bin"},
                        pty.theirs, dir.path(), dir / "sender.log");
    pty.closeTheirs();
    close(pty.ours);
    pty.ours = -1;
    EXPECT_EQ(sending.wait(60000), 0);
    EXPECT_EQ(receiving.wait(60000), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(sameBytes(readFile(dst + "/p.bin"), data));
}

}  // namespace
