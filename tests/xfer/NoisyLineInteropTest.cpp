// quilite-xfer against lrzsz, C-Kermit and gkermit through a line that flips bits both ways:
// damaged blocks and packets are sent again and the file arrives whole, in both directions,
// and each side says so in its exit status. More seeds and rates run in the noise benchmark.
#include <gtest/gtest.h>

#include <string>

#include "tests/fixtures/NoisyTransfer.h"
#include "tests/xfer/ToolRunner.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

constexpr int kTimeoutSeconds = 20;

// A peer of the table in NoisyTransfer, and a seed and size for which the line damages the
// transfer at a bit error rate of 1e-5 while the peer's own recovery stays short.
struct NoisyCase {
    const char* label;
    uint32_t seed;
    size_t size;
};

class NoisyPeer : public ::testing::TestWithParam<NoisyCase> {
protected:
    NoisyPeer() : src(dir.make("src")), dst(dir.make("dst")) {
        xfertest::writeFile(src + "/" + kName, data);
        for (const noisy::Peer& p : noisy::peers(kName, dir.path()))
            if (p.label == GetParam().label) peer = p;
    }

    void expectWhole(const noisy::Run& run) {
        EXPECT_GT(run.faults, 0);
        EXPECT_FALSE(run.sender.hung);
        EXPECT_FALSE(run.receiver.hung);
        EXPECT_EQ(run.sender.status, 0);
        EXPECT_EQ(run.receiver.status, 0);
        EXPECT_TRUE(xfertest::sameBytes(xfertest::readFile(dst + "/" + kName), data));
    }
    noisy::Run transfer(const noisy::Argv& sender, const noisy::Argv& receiver) {
        FaultRelay::Noise noise;
        noise.bitErrorRate = 1e-5;
        noise.seed = GetParam().seed;
        return noisy::transfer(peer, sender, src, receiver, dst, noise,
                               (kTimeoutSeconds + 10) * 1000, dir / "run");
    }

    static constexpr const char* kName = "data.bin";
    xfertest::TempFolder dir;
    std::string src, dst;
    const std::string data = xfertest::randomData(GetParam().size, GetParam().seed);
    noisy::Peer peer;
};

TEST_P(NoisyPeer, SendsToUs) {
    expectWhole(transfer(peer.send,
                         noisy::oursReceiving(peer, xfertest::kTool, kTimeoutSeconds, dst, kName)));
}

TEST_P(NoisyPeer, ReceivesFromUs) {
    expectWhole(
        transfer(noisy::oursSending(peer, xfertest::kTool, kTimeoutSeconds, src + "/" + kName),
                 peer.receive));
}

INSTANTIATE_TEST_SUITE_P(Peers, NoisyPeer,
                         ::testing::Values(NoisyCase{"ZMODEM sz/rz", 1, 262144},
                                           NoisyCase{"YMODEM sb/rb", 1, 32768},
                                           NoisyCase{"XMODEM sx/rx", 1, 32768},
                                           NoisyCase{"KERMIT C-Kermit", 1, 32768},
                                           NoisyCase{"KERMIT gkermit", 1, 32768}),
                         [](const auto& info) {
                             std::string name = info.param.label;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
