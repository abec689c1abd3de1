// Our XMODEM and YMODEM senders against our receivers over a socketpair, in every type: sizes
// around the block boundaries, the padding XMODEM keeps, exact YMODEM lengths and times, and
// the streaming types.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <map>
#include <thread>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/XferTestSupport.h"
#include "tests/xfer/XymodemTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

class XyLoop : public ::testing::Test {
protected:
    XyLoop() : src(dir.make("src")), dst(dir.make("dst")), receiverMonitor(dst) {}

    std::string addSource(const std::string& name, const std::string& data) {
        writeFile(src + "/" + name, data);
        return src + "/" + name;
    }
    // Runs one session of protocol and type; returns {sender result, receiver result}.
    std::pair<int, int> transfer(const std::string& protocol, int type, const std::string& files,
                                 const std::string& target = "") {
        EngineThread::Options options;
        options.protocol = protocol;
        options.transferType = type;
        SocketPair pair;
        // The sender drops what it finds waiting when it starts: it starts first.
        EngineThread sender(pair.ours, true, files, senderMonitor, options);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EngineThread receiver(pair.theirs, false, target, receiverMonitor, options);
        const int s = sender.result(60000);
        return {s, receiver.result(60000)};
    }

    xfertest::TempFolder dir;
    std::string src, dst;
    RecordingMonitor senderMonitor;
    xymodemtest::FileLog receiverMonitor;
};

class XmodemTypes : public XyLoop, public ::testing::WithParamInterface<int> {};

// Each size in a session of its own; the file keeps the zero bytes of its last block. An empty
// file is refused.
TEST_P(XmodemTypes, EverySizeArrivesPadded) {
    for (size_t size : xymodemtest::kSizes) {
        SCOPED_TRACE(size);
        const std::string data = xymodemtest::everyByte(size);
        const std::string name = "x" + std::to_string(size);
        auto [sent, received] = transfer("XMODEM", GetParam(), addSource(name, data), name);
        if (size == 0) {
            EXPECT_EQ(sent, GF_XMODEM_NO_FIRST_BLOCK);
            EXPECT_LT(received, 0);
            continue;
        }
        EXPECT_EQ(std::make_pair(sent, received), std::make_pair(0, 0));
        EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), xymodemtest::padded(data, 0)));
    }
}

INSTANTIATE_TEST_SUITE_P(Types, XmodemTypes,
                         ::testing::Values(GF_TYPE_XMODEM, GF_TYPE_XMODEM_1K, GF_TYPE_XMODEM_1KG));

class YmodemTypes : public XyLoop, public ::testing::WithParamInterface<int> {};

// One batch of every size, the empty file among them; lengths and times arrive exact.
TEST_P(YmodemTypes, BatchOfEverySizeArrivesExact) {
    std::string files;
    std::map<std::string, std::string> expected;
    for (size_t size : xymodemtest::kSizes) {
        const std::string name = "y " + std::to_string(size);
        expected[name] = xymodemtest::everyByte(size);
        files += (files.empty() ? "" : "\t") + addSource(name, expected[name]);
    }
    EXPECT_EQ(transfer("YMODEM", GetParam(), files), std::make_pair(0, 0));
    for (auto& [name, data] : expected) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), data));
        struct stat st {};
        ASSERT_EQ(stat((src + "/" + name).c_str(), &st), 0);
        EXPECT_EQ(receiverMonitor.timeOf(name), st.st_mtime);
    }
    EXPECT_EQ(receiverMonitor.GetFileCount(), static_cast<int>(expected.size()));
}

INSTANTIATE_TEST_SUITE_P(Types, YmodemTypes, ::testing::Values(GF_TYPE_YMODEM, GF_TYPE_YMODEM_G));

}  // namespace
