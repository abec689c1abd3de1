// Our ZMODEM sender against our ZMODEM receiver over a socketpair: sizes, batches, resuming at
// odd offsets with repositioning inside the read-ahead ring, aborts, and a damaged line.
#include <gtest/gtest.h>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

class Loop : public ::testing::Test {
protected:
    Loop() : src(dir.make("src")), dst(dir.make("dst")), receiverMonitor(dst) {}

    std::string addSource(const std::string& name, const std::string& data) {
        writeFile(src + "/" + name, data);
        return src + "/" + name;
    }
    // Runs a whole session; returns {sender result, receiver result}.
    std::pair<int, int> transfer(const std::string& files, EngineThread::Options send = {},
                                 EngineThread::Options receive = {}) {
        SocketPair pair;
        EngineThread receiver(pair.theirs, false, "", receiverMonitor, receive);
        EngineThread sender(pair.ours, true, files, senderMonitor, send);
        const int s = sender.result();
        return {s, receiver.result()};
    }

    xfertest::TempFolder dir;
    std::string src, dst;
    RecordingMonitor senderMonitor;
    RecordingMonitor receiverMonitor;
};

TEST_F(Loop, EverySizeArrivesWhole) {
    std::string files;
    std::vector<std::pair<std::string, std::string>> expected;
    for (size_t size : {0, 1, 1023, 1024, 1025, 32767, 32768, 32769, 300000}) {
        const std::string name = "f" + std::to_string(size);
        const std::string data = xfertest::randomData(size, static_cast<uint32_t>(size));
        files += (files.empty() ? "" : "\t") + addSource(name, data);
        expected.emplace_back(name, data);
    }
    EXPECT_EQ(transfer(files), std::make_pair(0, 0));
    for (auto& [name, data] : expected)
        EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), data)) << name;
    EXPECT_EQ(receiverMonitor.GetFileCount(), 9);
}

TEST_F(Loop, AwkwardBytesAndKoreanNames) {
    const std::string data = xfertest::awkwardData();
    EXPECT_EQ(transfer(addSource("한글 이름.bin", data)), std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/한글 이름.bin"), data));
}

// Resuming at 5000 puts every subpacket off the 1024 grid. Once the sender has read the whole
// 40000-byte file, the subpacket at 32648 is damaged: the receiver asks for it again, and the
// sender serves it from the ring, where it must stop at the ring's end.
TEST_F(Loop, ResumeAtAnOddOffsetAndRepositionInsideTheRing) {
    const std::string data = xfertest::randomData(40000, 11);
    writeFile(dst + "/r.bin", data.substr(0, 5000));
    FaultyLink::Schedule damage;
    damage.flipNextReadWhen = [this] { return receiverMonitor.GetPos() == 32648; };
    EngineThread::Options receive;
    receive.faults = &damage;
    EXPECT_EQ(transfer(addSource("r.bin", data), {}, receive), std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/r.bin"), data));
    EXPECT_TRUE(receiverMonitor.saw("OnRecovery 5000"));
    EXPECT_TRUE(senderMonitor.saw("OnRecovery 5000"));
    EXPECT_TRUE(senderMonitor.saw("msg GetInSync: ZRPOS 32648"));
    EXPECT_GE(receiverMonitor.GetErrors(), 1);
    if (getenv("XFER_DEBUG"))
        for (auto& e : receiverMonitor.events())
            printf("  R %s\n", e.c_str());
}

TEST_F(Loop, SenderAbortLeavesThePartialFile) {
    const std::string data = xfertest::randomData(3000000, 5);
    senderMonitor.abortAfter(100000);
    auto [sent, received] = transfer(addSource("big", data));
    EXPECT_EQ(sent, GF_USER_ABORT);
    EXPECT_TRUE(received == GF_TOO_MANY_ERRORS || received == GF_REMOTE_CANCEL) << received;
    const std::string partial = readFile(dst + "/big");
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), data.size());
    EXPECT_TRUE(sameBytes(partial, data.substr(0, partial.size())));
}

TEST_F(Loop, ReceiverAbortStopsTheSender) {
    const std::string data = xfertest::randomData(3000000, 6);
    receiverMonitor.abortAfter(100000);
    auto [sent, received] = transfer(addSource("big", data));
    EXPECT_EQ(received, GF_USER_ABORT);
    EXPECT_LT(sent, 0);
    EXPECT_TRUE(sameBytes(readFile(dst + "/big"), data.substr(0, readFile(dst + "/big").size())));
}

TEST_F(Loop, NothingToSendIsAFailure) {
    EXPECT_EQ(transfer(src + "/missing").first, GF_NO_FILE_SENT);
}

// At every error rate each transfer either arrives whole or fails with an error code, well
// within its time-outs (a 50-times clock makes a 60-second time-out last 1.2 s).
TEST_F(Loop, DamagedLineNeverHangsOrCorrupts) {
    const std::string data = xfertest::randomData(120000, 9);
    const std::string file = addSource("noisy.bin", data);
    ScaledClock fast(50);
    int whole = 0, failed = 0;
    for (double rate : {1e-5, 1e-4, 1e-3}) {
        for (uint32_t seed : {1u, 2u, 3u}) {
            RecordingMonitor sendSide,
                receiveSide(dir.make("noisy-" + std::to_string(seed) + "-" + std::to_string(rate)));
            FaultyLink::Schedule faults;
            faults.rate = rate;
            faults.seed = seed;
            EngineThread::Options options;
            options.clock = &fast;
            options.waitMs = 20;
            EngineThread::Options noisy = options;
            noisy.faults = &faults;
            SocketPair pair;
            EngineThread receiver(pair.theirs, false, "", receiveSide, noisy);
            EngineThread sender(pair.ours, true, file, sendSide, options);
            const int s = sender.result(60000), r = receiver.result(60000);
            ASSERT_NE(s, EngineThread::kHung) << rate << " seed " << seed;
            ASSERT_NE(r, EngineThread::kHung) << rate << " seed " << seed;
            const std::string got = readFile(receiveSide.GetFileName());
            if (getenv("XFER_DEBUG")) {
                printf("rate %g seed %u: send %d receive %d\n", rate, seed, s, r);
                for (auto& e : receiveSide.events())
                    printf("  R %s\n", e.c_str());
                for (auto& e : sendSide.events())
                    printf("  S %s\n", e.c_str());
            }
            if (r == 0 && s == 0) {
                EXPECT_TRUE(sameBytes(got, data)) << rate << " seed " << seed;
                ++whole;
            } else {
                EXPECT_TRUE(r < 0 || s < 0);
                ++failed;
            }
        }
    }
    EXPECT_GE(whole, 3);  // the clean and lightly damaged runs get through
    std::printf("damaged line: %d whole, %d failed with an error code\n", whole, failed);
}

}  // namespace
