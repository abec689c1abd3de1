// Our XMODEM and YMODEM engines against lrzsz's sx, rx, sb and rb over a socketpair: every
// size around the block boundaries, CRC and checksum starts, 1K blocks, batches of three with
// exact lengths and times, YMODEM-G from sb, and long Korean names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <map>
#include <thread>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/xfer/XferTestSupport.h"
#include "tests/xfer/XymodemTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;
using xymodemtest::kSizes;
using xymodemtest::padded;

class XyLrzsz : public ::testing::Test {
protected:
    XyLrzsz() : src(dir.make("src")), dst(dir.make("dst")), ourReceiver(dst) {}

    void addSource(const std::string& name, const std::string& data) {
        writeFile(src + "/" + name, data);
        expected[name] = data;
    }
    long sourceTime(const std::string& name) const {
        struct stat st {};
        return stat((src + "/" + name).c_str(), &st) == 0 ? st.st_mtime : -1;
    }
    EngineThread::Options engine(const char* protocol, int type) const {
        EngineThread::Options o;
        o.protocol = protocol;
        o.transferType = type;
        return o;
    }
    // A lrzsz sender (in the source folder) to our receiver; {ours, the peer's exit status}.
    std::pair<int, int> fromPeer(const std::vector<std::string>& args,
                                 const EngineThread::Options& options,
                                 const std::string& target = "") {
        SocketPair pair;
        PeerProcess peer(args, pair.theirs, src, dir / "peer.log");
        pair.closeTheirs();
        EngineThread ours(pair.ours, false, target, ourReceiver, options);
        const int r = ours.result(120000);
        return {r, peer.wait(60000)};
    }
    // Our sender to a lrzsz receiver (in the destination folder). Ours starts first: it drops
    // what is waiting when it starts.
    std::pair<int, int> toPeer(const std::vector<std::string>& args,
                               const EngineThread::Options& options,
                               const std::vector<std::string>& names) {
        SocketPair pair;
        std::string files;
        for (const std::string& n : names)
            files += (files.empty() ? "" : "\t") + src + "/" + n;
        EngineThread ours(pair.ours, true, files, ourSender, options);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PeerProcess peer(args, pair.theirs, dst, dir / "peer.log");
        pair.closeTheirs();
        const int r = ours.result(120000);
        return {r, peer.wait(60000)};
    }
    // The sizes in groups of three, each group's files added as sources.
    std::vector<std::vector<std::string>> sizeBatches() {
        std::vector<std::vector<std::string>> batches;
        for (size_t i = 0; i < kSizes.size(); ++i) {
            if (i % 3 == 0) batches.emplace_back();
            batches.back().push_back("size " + std::to_string(kSizes[i]));
            addSource(batches.back().back(), xymodemtest::everyByte(kSizes[i]));
        }
        return batches;
    }
    void expectArrivedExact() {
        for (auto& [name, data] : expected) {
            EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), data)) << name;
        }
    }
    // Each file's length and time as our receiver heard them in block 0.
    void expectAnnounced() {
        for (auto& [name, data] : expected) {
            EXPECT_EQ(ourReceiver.lengths[name], data.size()) << name;
            EXPECT_EQ(ourReceiver.timeOf(name), sourceTime(name)) << name;
        }
    }

    xfertest::TempFolder dir;
    std::string src, dst;
    std::map<std::string, std::string> expected;
    xymodemtest::FileLog ourReceiver;
    RecordingMonitor ourSender;
};

class SxToOurs : public XyLrzsz, public ::testing::WithParamInterface<bool> {};

// sx pads the last block with 0x1A; our receiver keeps the padding.
TEST_P(SxToOurs, EverySizeKeepsThePadding) {
    const bool oneK = GetParam();
    for (size_t size : kSizes) {
        SCOPED_TRACE(size);
        const std::string name = "x" + std::to_string(size);
        const std::string data = xymodemtest::everyByte(size);
        addSource(name, data);
        std::vector<std::string> args{"sx", "-b"};
        if (oneK) args.push_back("-k");
        args.push_back(name);
        EXPECT_EQ(fromPeer(args, engine("XMODEM", GF_TYPE_XMODEM), name), std::make_pair(0, 0));
        EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), padded(data, '\x1A')));
    }
}

INSTANTIATE_TEST_SUITE_P(Lrzsz, SxToOurs, ::testing::Values(false, true));

struct RxCase {
    int type;
    bool crc;
};

class OursToRx : public XyLrzsz, public ::testing::WithParamInterface<RxCase> {};

// rx -c asks for CRC, plain rx for the 8-bit sum; the file keeps our zero padding.
TEST_P(OursToRx, EverySizeArrivesPadded) {
    for (size_t size : kSizes) {
        if (size == 0) continue;
        SCOPED_TRACE(size);
        const std::string name = "x" + std::to_string(size);
        const std::string data = xymodemtest::everyByte(size);
        addSource(name, data);
        std::vector<std::string> args{"rx", "-b"};
        if (GetParam().crc) args.push_back("-c");
        args.push_back(name);
        EXPECT_EQ(toPeer(args, engine("XMODEM", GetParam().type), {name}), std::make_pair(0, 0));
        EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), padded(data, 0)));
        EXPECT_EQ(ourSender.saw("msg Falling back to checksum mode"), !GetParam().crc);
    }
}

INSTANTIATE_TEST_SUITE_P(Lrzsz, OursToRx,
                         ::testing::Values(RxCase{GF_TYPE_XMODEM, true},
                                           RxCase{GF_TYPE_XMODEM, false},
                                           RxCase{GF_TYPE_XMODEM_1K, true}),
                         [](const auto& info) {
                             return std::string(info.param.type ? "OneK" : "Xmodem") +
                                    (info.param.crc ? "Crc" : "Sum");
                         });

struct SbCase {
    bool oneK;
    int type;
};

class SbToOurs : public XyLrzsz, public ::testing::WithParamInterface<SbCase> {};

// Batches of three in every size (the empty file among them) arrive with their exact lengths
// and modification times; sb streams when our receiver asks with "G".
TEST_P(SbToOurs, BatchesOfThreeArriveExact) {
    for (const auto& names : sizeBatches()) {
        std::vector<std::string> args{"sb"};
        if (GetParam().oneK) args.push_back("-k");
        args.insert(args.end(), names.begin(), names.end());
        EXPECT_EQ(fromPeer(args, engine("YMODEM", GetParam().type)), std::make_pair(0, 0));
    }
    expectArrivedExact();
    expectAnnounced();
}

INSTANTIATE_TEST_SUITE_P(Lrzsz, SbToOurs,
                         ::testing::Values(SbCase{false, GF_TYPE_YMODEM},
                                           SbCase{true, GF_TYPE_YMODEM},
                                           SbCase{false, GF_TYPE_YMODEM_G},
                                           SbCase{true, GF_TYPE_YMODEM_G}),
                         [](const auto& info) {
                             return std::string(info.param.oneK ? "Sb1k" : "Sb") +
                                    (info.param.type == GF_TYPE_YMODEM_G ? "Streaming" : "");
                         });

// rb truncates to the announced length and sets the announced time.
TEST_F(XyLrzsz, OursToRbBatchesOfThreeArriveExact) {
    for (const auto& names : sizeBatches()) {
        EXPECT_EQ(toPeer({"rb"}, engine("YMODEM", GF_TYPE_YMODEM), names), std::make_pair(0, 0));
    }
    expectArrivedExact();
    for (auto& [name, data] : expected) {
        struct stat st {};
        ASSERT_EQ(stat((dst + "/" + name).c_str(), &st), 0) << name;
        EXPECT_EQ(st.st_mtime, sourceTime(name)) << name;
    }
}

// A name whose header text does not fit in 128 bytes: ours sends a 1024-byte block 0, which
// rb reads whole. sb cuts the text at 128 bytes, in the middle of the length ("5000" becomes
// "500"); our receiver does not trust a text that fills the block, and keeps every block.
TEST_F(XyLrzsz, LongKoreanNamesBothWays) {
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "한";
    name += ".bin";  // 124 bytes of UTF-8
    const std::string data = xfertest::randomData(5000, 3);
    addSource(name, data);
    EXPECT_EQ(toPeer({"rb"}, engine("YMODEM", GF_TYPE_YMODEM), {name}), std::make_pair(0, 0));
    expectArrivedExact();
    std::filesystem::remove(dst + "/" + name);
    EXPECT_EQ(fromPeer({"sb", name}, engine("YMODEM", GF_TYPE_YMODEM)), std::make_pair(0, 0));
    EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), padded(data, '\x1A')));
    EXPECT_TRUE(ourReceiver.saw("msg File information cut short; length unknown"));
}

}  // namespace
