// Our Kermit sender against our Kermit receiver over a socketpair: awkward data and names,
// batches, and packets lost, duplicated or damaged on the way.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/xfer/KermitFaultyLink.h"
#include "tests/xfer/KermitTestSupport.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;

class KermitLoop : public ::testing::Test {
protected:
    KermitLoop() : src(dir.make("src")), dst(dir.make("dst")), receiver(dst) {}

    std::string add(const std::string& name, const std::string& data) {
        xfertest::writeFile(src + "/" + name, data);
        expected[name] = data;
        return src + "/" + name;
    }
    // Runs the transfer; faults (when given) damage the packets on the sender's side.
    std::pair<int, int> run(const std::string& files, const KermitFaultyLink::Rates* faults,
                            Clock& clock = Clock::steady(), int timeoutMs = 120000) {
        SocketPair pair;
        EngineThread::Options options;
        options.protocol = "KERMIT";
        options.clock = &clock;
        // A scaled clock sleeps in short real steps; the link's own waits must be as short.
        if (&clock != &Clock::steady()) options.waitMs = 1;
        EngineThread ours(pair.ours, false, "", receiver, options);
        // The receiver drops what is waiting when it starts; the sender's first packet must
        // come after that or wait for a time-out.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (faults) {
            options.wrapLink = [faults](GFComLink& inner, Clock& c) {
                return std::make_unique<KermitFaultyLink>(inner, c, *faults);
            };
        }
        EngineThread theirs(pair.theirs, true, files, sender, options);
        const int s = theirs.result(timeoutMs);
        return {s, ours.result(timeoutMs)};
    }
    void expectArrived() {
        for (auto& [name, data] : expected)
            EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), data)) << name;
    }

    xfertest::TempFolder dir;
    std::string src, dst;
    std::map<std::string, std::string> expected;
    RecordingMonitor receiver;
    RecordingMonitor sender;
};

TEST_F(KermitLoop, AwkwardDataAndNamesInOneBatch) {
    std::string files;
    int i = 0;
    for (const std::string& name : kermittest::awkwardNames()) {
        const std::string data =
            i == 0 ? kermittest::awkwardData() : xfertest::randomData(20000 * i, i);
        files += (files.empty() ? "" : "\t") + add(name, data);
        ++i;
    }
    files += "\t" + add("empty", "");
    EXPECT_EQ(run(files, nullptr), std::make_pair(0, 0));
    expectArrived();
    EXPECT_EQ(receiver.GetFileCount(), 5);
    EXPECT_EQ(receiver.GetErrors(), 0);
    EXPECT_EQ(sender.GetPosAll(), receiver.GetPosAll());
}

TEST_F(KermitLoop, SenderStopsWhenTheUserAborts) {
    const std::string path = add("big", xfertest::randomData(400000, 5));
    sender.abortAfter(50000);
    auto [s, r] = run(path, nullptr);
    EXPECT_EQ(s, GF_USER_ABORT);
    // The error packet ends the receiver, unless it finds the sender gone before reading it.
    EXPECT_TRUE(r == GF_REMOTE_CANCEL || r == GF_CARRIER_LOST) << r;
}

struct FaultCase {
    KermitFaultyLink::Rates rates;
    bool mustComplete;
};

class KermitFaults : public KermitLoop, public ::testing::WithParamInterface<FaultCase> {};

// Damaged packets are retried; lost ones are sent again after a time-out. Whatever the rate,
// the transfer ends: whole, or with an error code on both sides.
TEST_P(KermitFaults, EndWholeOrWithAnError) {
    ScaledClock fast(1000);
    const std::string data = kermittest::awkwardData() + xfertest::randomData(20000, 9);
    const std::string path = add("faulty.bin", data);
    auto [s, r] = run(path, &GetParam().rates, fast, 60000);
    EXPECT_NE(s, EngineThread::kHung);
    EXPECT_NE(r, EngineThread::kHung);
    // A receiver that ends well has the whole file. At low rates it always does; its sender
    // may still miss the last acknowledgement (of the break) and report an error.
    if (r == 0) {
        expectArrived();
    }
    if (GetParam().mustComplete) {
        EXPECT_EQ(r, 0);
    }
    if (r == 0 && s == 0) {
        EXPECT_GT(receiver.GetErrors() + sender.GetErrors(), 0);
    } else {
        EXPECT_LT(std::min(s, r), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rates, KermitFaults,
    ::testing::Values(FaultCase{{0, 0, 0.1, 1}, true}, FaultCase{{0.1, 0, 0, 2}, true},
                      FaultCase{{0, 0.2, 0, 3}, true}, FaultCase{{0.05, 0.05, 0.05, 4}, true},
                      FaultCase{{0.3, 0.3, 0.3, 5}, false}, FaultCase{{0.6, 0.2, 0.2, 6}, false}),
    // Named by the rates in percent: lost, duplicated, corrupted.
    [](const auto& info) {
        auto percent = [](double rate) {
            return std::to_string(static_cast<int>(rate * 100 + 0.5));
        };
        const auto& r = info.param.rates;
        return "Lose" + percent(r.lose) + "Dup" + percent(r.duplicate) + "Corrupt" +
               percent(r.corrupt);
    });

}  // namespace
