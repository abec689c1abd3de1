// Our ZMODEM engine against lrzsz's sz and rz, both directions, over a socketpair (and once
// each way over a pty). lrzsz flushes its tty when it exits, which throws away its own last
// bytes on a pty; the pty cases only ask that our side ends well.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <map>
#include <thread>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

const std::vector<size_t> kSizes = {0, 1, 1023, 1024, 1025, 32767, 32768, 32769, 8u << 20};

class Lrzsz : public ::testing::Test {
protected:
    Lrzsz() : src(dir.make("src")), dst(dir.make("dst")), ourReceiver(dst) {}

    void addSource(const std::string& name, const std::string& data) {
        writeFile(src + "/" + name, data);
        expected[name] = data;
    }
    // The sizes in groups of three, each group's files added as sources.
    std::vector<std::vector<std::string>> sizeBatches() {
        std::vector<std::vector<std::string>> batches;
        for (size_t i = 0; i < kSizes.size(); ++i) {
            if (i % 3 == 0) batches.emplace_back();
            batches.back().push_back("size " + std::to_string(kSizes[i]));
            addSource(batches.back().back(),
                      xfertest::randomData(kSizes[i], static_cast<uint32_t>(i)));
        }
        return batches;
    }
    void expectArrived() {
        for (auto& [name, data] : expected)
            EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), data)) << name;
    }
    // sz (in the source folder) sends to our receiver; returns {ours, sz's exit status}.
    template <class Pair = SocketPair>
    std::pair<int, int> fromSz(std::vector<std::string> args, int signalAfterMs = -1,
                               int signal = SIGTERM) {
        Pair pair;
        args.insert(args.begin(), "sz");
        PeerProcess peer(args, pair.theirs, src, dir / "sz.log");
        pair.closeTheirs();
        EngineThread ours(pair.ours, false, "", ourReceiver);
        if (signalAfterMs >= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(signalAfterMs));
            peer.kill(signal);
        }
        const int r = ours.result();
        return {r, peer.wait(60000)};
    }
    // Our sender sends the named source files to rz (in the destination folder).
    template <class Pair = SocketPair>
    std::pair<int, int> toRz(const std::vector<std::string>& names) {
        Pair pair;
        PeerProcess peer({"rz"}, pair.theirs, dst, dir / "rz.log");
        pair.closeTheirs();
        std::string files;
        for (const std::string& n : names)
            files += (files.empty() ? "" : "\t") + src + "/" + n;
        EngineThread ours(pair.ours, true, files, ourSender);
        const int r = ours.result();
        return {r, peer.wait(60000)};
    }

    xfertest::TempFolder dir;
    std::string src, dst;
    std::map<std::string, std::string> expected;
    RecordingMonitor ourReceiver;
    RecordingMonitor ourSender;
};

TEST_F(Lrzsz, SzToOursOneFileWithKoreanName) {
    addSource("한글 자료 모음.bin", xfertest::awkwardData());
    EXPECT_EQ(fromSz({"한글 자료 모음.bin"}), std::make_pair(0, 0));
    expectArrived();
}

TEST_F(Lrzsz, SzToOursBatchesOfThreeInEverySize) {
    for (const auto& names : sizeBatches())
        EXPECT_EQ(fromSz(names), std::make_pair(0, 0));
    expectArrived();
}

class SzOptions : public Lrzsz, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(SzOptions, ArriveWhole) {
    addSource("awkward", xfertest::awkwardData());
    addSource("random", xfertest::randomData(200000, 4));
    addSource("text.txt", xfertest::textData(100000));
    std::vector<std::string> args = GetParam();
    for (const char* n : {"awkward", "random", "text.txt"})
        args.push_back(n);
    EXPECT_EQ(fromSz(args), std::make_pair(0, 0));
    expectArrived();
}

// CRC-16, escaping every control byte, a 4096-byte window (ZCRCQ), 1024-byte frames.
INSTANTIATE_TEST_SUITE_P(Lrzsz, SzOptions,
                         ::testing::Values(std::vector<std::string>{"-o"},
                                           std::vector<std::string>{"-e"},
                                           std::vector<std::string>{"-w", "4096"},
                                           std::vector<std::string>{"-l", "1024"}));

TEST_F(Lrzsz, OursToRzOneFileWithKoreanName) {
    addSource("한글 자료 모음.bin", xfertest::awkwardData());
    EXPECT_EQ(toRz({"한글 자료 모음.bin"}), std::make_pair(0, 0));
    expectArrived();
}

TEST_F(Lrzsz, OursToRzBatchesOfThreeInEverySize) {
    for (const auto& names : sizeBatches())
        EXPECT_EQ(toRz(names), std::make_pair(0, 0));
    expectArrived();
}

TEST_F(Lrzsz, SzToOursResumesAtThePartialSize) {
    const std::string data = xfertest::randomData(100000, 8);
    addSource("part.bin", data);
    writeFile(dst + "/part.bin", data.substr(0, 5000));
    EXPECT_EQ(fromSz({"part.bin"}), std::make_pair(0, 0));
    expectArrived();
    EXPECT_TRUE(ourReceiver.saw("OnRecovery 5000"));
    EXPECT_EQ(ourReceiver.addedBytes, 95000);
}

TEST_F(Lrzsz, OursToRzResumesWhereRzAsks) {
    const std::string data = xfertest::randomData(100000, 8);
    addSource("part.bin", data);
    writeFile(dst + "/part.bin", data.substr(0, 5000));
    EXPECT_EQ(toRz({"part.bin"}), std::make_pair(0, 0));
    expectArrived();
    // rz rounds the partial size down to a multiple of 1024.
    EXPECT_TRUE(ourSender.saw("OnRecovery 4096"));
    EXPECT_TRUE(ourSender.saw("msg StartFileTransfer: ZRPOS location 4096"));
}

TEST_F(Lrzsz, OurReceiverAbortKeepsThePartialFile) {
    const std::string data = xfertest::randomData(8u << 20, 2);
    addSource("big", data);
    ourReceiver.abortAfter(1 << 20);
    auto [ours, peer] = fromSz({"big"});
    EXPECT_EQ(ours, GF_USER_ABORT);
    EXPECT_NE(peer, 0);
    const std::string partial = readFile(dst + "/big");
    EXPECT_GE(partial.size(), 1u << 20);
    EXPECT_LT(partial.size(), data.size());
    EXPECT_TRUE(sameBytes(partial, data.substr(0, partial.size())));
}

TEST_F(Lrzsz, OurSenderAbort) {
    addSource("big", xfertest::randomData(8u << 20, 2));
    ourSender.abortAfter(1 << 20);
    auto [ours, peer] = toRz({"big"});
    EXPECT_EQ(ours, GF_USER_ABORT);
    EXPECT_NE(peer, 0);
}

TEST_F(Lrzsz, SzCancelInsideDataKeepsThePartialFile) {
    const std::string data = xfertest::randomData(48u << 20, 3);
    addSource("huge", data);
    auto [ours, peer] = fromSz({"huge"}, 150);
    EXPECT_EQ(ours, GF_TOO_MANY_ERRORS);
    const std::string partial = readFile(dst + "/huge");
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), data.size());
    EXPECT_TRUE(sameBytes(partial, data.substr(0, partial.size())));
}

// sz blocks opening a FIFO as its second file while our receiver waits for the next header.
TEST_F(Lrzsz, SzCancelDuringHeaderSearch) {
    addSource("first", "first file");
    ASSERT_EQ(mkfifo((src + "/fifo").c_str(), 0600), 0);
    auto [ours, peer] = fromSz({"first", "fifo"}, 500);
    EXPECT_EQ(ours, GF_REMOTE_CANCEL);
    EXPECT_EQ(readFile(dst + "/first"), "first file");
}

TEST_F(Lrzsz, SzToOursOverAPty) {
    addSource("pty.bin", xfertest::randomData(300000, 12));
    EXPECT_EQ(fromSz<PtyPair>({"pty.bin"}).first, 0);
    expectArrived();
}

TEST_F(Lrzsz, OursToRzOverAPty) {
    addSource("pty.bin", xfertest::randomData(300000, 12));
    EXPECT_EQ(toRz<PtyPair>({"pty.bin"}).first, 0);
    expectArrived();
}

}  // namespace
