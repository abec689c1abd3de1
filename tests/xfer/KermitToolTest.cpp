// quilite-xfer with the Kermit and ASCII engines: a Kermit session with itself, an ASCII capture
// into the named file, an ASCII send, and the command line.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/xfer/KermitTestSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

const std::string kTool = std::string(QUILITE_BINARY_DIR) + "/tools/quilite-xfer";

class KermitTool : public ::testing::Test {
protected:
    KermitTool() : src(dir.make("src")), dst(dir.make("dst")) {}

    std::pair<int, int> session(const std::vector<std::string>& sender,
                                const std::vector<std::string>& receiver,
                                const std::string& receiverDir) {
        SocketPair pair;
        PeerProcess receiving(receiver, pair.theirs, receiverDir, dir / "receiver.log");
        // The receiver drops what is waiting when it starts: a Send-Init that came before
        // that would only be sent again after the sender's time-out.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        PeerProcess sending(sender, pair.ours, src, dir / "sender.log");
        pair.closeOurs();
        pair.closeTheirs();
        const int s = sending.wait(60000);
        return {s, receiving.wait(60000)};
    }

    xfertest::TempFolder dir;
    std::string src, dst;
};

TEST_F(KermitTool, KermitWithItself) {
    const std::string a = kermittest::awkwardData(), b = xfertest::randomData(100000, 3);
    writeFile(src + "/한글 #1.bin", a);
    writeFile(src + "/b&~", b);
    EXPECT_EQ(session({kTool, "send", "-p", "kermit", src + "/한글 #1.bin", src + "/b&~"},
                      {kTool, "receive", "-p", "KERMIT", "-d", dst}, dir.path()),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/한글 #1.bin"), a));
    EXPECT_TRUE(sameBytes(readFile(dst + "/b&~"), b));
}

TEST_F(KermitTool, AsciiCaptureEndsWhenTheLineGoesQuiet) {
    EXPECT_EQ(PeerProcess({kTool, "receive", "-p", "ASCII"}, -1, dir.path()).wait(30000), 2);
    SocketPair pair;
    const std::string text = xfertest::textData(5000);
    PeerProcess receiving({kTool, "receive", "-p", "ASCII", "-d", dst, "capture.txt"}, pair.theirs,
                          dir.path(), dir / "receiver.log");
    pair.closeTheirs();
    ASSERT_EQ(write(pair.ours, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(receiving.wait(30000), 0);  // the line stays open; quiet ends the capture
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(9));
    EXPECT_TRUE(sameBytes(readFile(dst + "/capture.txt"), text));
}

TEST_F(KermitTool, AsciiSendPacesTheLines) {
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    writeFile(src + "/t.txt", text);
    SocketPair pair;
    const auto start = std::chrono::steady_clock::now();
    PeerProcess sending({kTool, "send", "-p", "ASCII", src + "/t.txt"}, pair.theirs, dir.path());
    pair.closeTheirs();
    EXPECT_EQ(sending.wait(30000), 0);
    // 11 lines (each CR ends one, each LF starts the next), 100 ms after each.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1100));
    std::string got(4096, '\0');
    got.resize(std::max<ssize_t>(read(pair.ours, got.data(), got.size()), 0));
    EXPECT_EQ(got, text);
}

}  // namespace
