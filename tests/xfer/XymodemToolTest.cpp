// quilite-xfer with XMODEM and YMODEM: the variant names, the file an XMODEM receive needs,
// and sessions with lrzsz and with itself.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/xfer/ToolRunner.h"
#include "tests/xfer/XferTestSupport.h"
#include "tests/xfer/XymodemTestSupport.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

using xfertest::kTool;

class XyTool : public ::testing::Test {
protected:
    XyTool() : src(dir.make("src")), dst(dir.make("dst")) {}

    int runAlone(const std::vector<std::string>& args) {
        return xfertest::runToolAlone(args, dir.path());
    }
    // The sender runs in the source folder.
    std::pair<int, int> session(const std::vector<std::string>& sender,
                                const std::vector<std::string>& receiver,
                                const std::string& receiverDir) {
        return xfertest::runSession(sender, src, receiver, receiverDir, dir.path());
    }

    xfertest::TempFolder dir;
    std::string src, dst;
};

TEST_F(XyTool, CommandLineErrors) {
    writeFile(src + "/f", "x");
    EXPECT_EQ(runAlone({"receive", "-p", "XMODEM", "-d", dst}), 2);       // no FILE
    EXPECT_EQ(runAlone({"receive", "-p", "xmodem-1k", "a", "b"}), 2);     // two
    EXPECT_EQ(runAlone({"receive", "-p", "YMODEM", "-d", dst, "f"}), 2);  // names come with it
    EXPECT_EQ(runAlone({"receive", "-p", "ymodem g", "f"}), 2);
    EXPECT_EQ(runAlone({"send", "-p", "XMODEM-1KG"}), 2);
    EXPECT_EQ(runAlone({"send", "-p", "XMODEM-2K", src + "/f"}), 2);
    EXPECT_EQ(runAlone({"send", "-p", "YMODEM_G", src + "/f"}), 2);
}

// A relative FILE goes under DIR, an absolute one where it points.
TEST_F(XyTool, XmodemReceiveFromSxNamesItsFile) {
    const std::string data = xfertest::randomData(3000, 1);
    writeFile(src + "/a", data);
    EXPECT_EQ(session({"sx", "-b", "-k", "a"},
                      {kTool, "receive", "-p", "Xmodem 1K", "-d", dst, "b"}, dir.path()),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/b"), xymodemtest::padded(data, '\x1A')));
    EXPECT_EQ(session({"sx", "-b", "a"}, {kTool, "receive", "-p", "xmodem", "-d", dst, dir / "abs"},
                      dir.path()),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dir / "abs"), xymodemtest::padded(data, '\x1A')));
}

TEST_F(XyTool, YmodemSendToRb) {
    const std::string a = xfertest::randomData(70000, 2), b = xfertest::awkwardData();
    writeFile(src + "/a", a);
    writeFile(src + "/파일", b);
    EXPECT_EQ(session({kTool, "send", "-p", "ymodem", src + "/a", src + "/파일"}, {"rb"}, dst),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/a"), a));
    EXPECT_TRUE(sameBytes(readFile(dst + "/파일"), b));
}

// The streaming variants only start when both ends set them: a sender of the plain type
// would not answer the receiver's "G".
TEST_F(XyTool, StreamingVariantsWithItself) {
    const std::string a = xfertest::randomData(200000, 3), b = xfertest::randomData(1025, 4);
    writeFile(src + "/a", a);
    writeFile(src + "/b", b);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(session({kTool, "send", "-p", "YMODEM-G", "a", "b"},
                      {kTool, "receive", "-p", "ymodem g", "-d", dst}, dir.path()),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/a"), a));
    EXPECT_TRUE(sameBytes(readFile(dst + "/b"), b));
    EXPECT_EQ(session({kTool, "send", "-p", "xmodem 1kg", "b"},
                      {kTool, "receive", "-p", "XMODEM-1KG", "-d", dst, "c"}, dir.path()),
              std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/c"), xymodemtest::padded(b, 0)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

}  // namespace
