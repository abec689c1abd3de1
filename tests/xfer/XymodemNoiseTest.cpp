// Our XMODEM and YMODEM engines on a damaged line (bit flips and dropped bytes, both ways, on
// the receiver's side), with a clock 50 times faster than real time: every run ends, a whole
// file is exact, and a failed run ends with the code for what went wrong.
#include <gtest/gtest.h>

#include <set>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/xfer/XferTestSupport.h"
#include "tests/xfer/XymodemTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

const std::set<int> kReceiverFailures = {GF_TOO_MANY_ERRORS, GF_NO_ANSWER, GF_REMOTE_CANCEL};
// The sender also sees the receiver leave (its end of the line closes when it returns).
const std::set<int> kSenderFailures = {GF_TOO_MANY_ERRORS, GF_NO_ANSWER, GF_REMOTE_CANCEL,
                                       GF_CARRIER_LOST, GF_CARRIER_LOST_WRITING};

struct Outcome {
    int sent = 0;
    int received = 0;
    int receiverErrors = 0;
    int check = 0;  // the receiver's check method at the end
    bool exact = false;
};

class XyNoise : public ::testing::Test {
protected:
    XyNoise() : fast(50) {}

    // One session of protocol and type carrying data, the receiver's line damaged at rate.
    Outcome run(const std::string& protocol, int type, const std::string& data, double rate,
                uint32_t seed, bool oneFaultPerBlock = false, bool startInChecksum = false) {
        const std::string folder = dir.make("run" + std::to_string(++runs));
        writeFile(folder + "/data.bin", data);
        RecordingMonitor sendSide, receiveSide(folder + "/in");
        dir.make("run" + std::to_string(runs) + "/in");
        FaultyLink::Schedule noise;
        noise.rate = rate;
        noise.seed = seed;
        noise.armAfter = "\x01\xfe";  // block 1 has started
        noise.flipsAndDropsOnly = true;
        if (oneFaultPerBlock) noise.cleanAfterFault = 140;
        // The sender misses the receiver's first three "C": the receiver falls back to the sum.
        FaultyLink::Schedule deaf;
        int missed = 0;
        deaf.dropRead = [&missed](int c) { return c == 'C' && missed++ < 3; };
        EngineThread::Options send, receive;
        send.protocol = receive.protocol = protocol;
        send.transferType = receive.transferType = type;
        send.clock = receive.clock = &fast;
        send.waitMs = receive.waitMs = 20;
        receive.faults = &noise;
        if (startInChecksum) send.faults = &deaf;
        SocketPair pair;
        EngineThread sender(pair.ours, true, folder + "/data.bin", sendSide, send);
        EngineThread receiver(pair.theirs, false, "data.bin", receiveSide, receive);
        Outcome o;
        o.sent = sender.result(60000);
        o.received = receiver.result(60000);
        o.receiverErrors = receiveSide.GetErrors();
        o.check = receiveSide.GetCheck();
        const std::string expected = protocol == "XMODEM" ? xymodemtest::padded(data, 0) : data;
        o.exact = readFile(folder + "/in/data.bin") == expected;
        return o;
    }
    // Never a hang; a receiver that succeeded has the file exact; failures have their codes.
    void expectSound(const Outcome& o, const std::string& what) {
        ASSERT_NE(o.sent, EngineThread::kHung) << what;
        ASSERT_NE(o.received, EngineThread::kHung) << what;
        if (o.received == 0) {
            EXPECT_TRUE(o.exact) << what;
        } else {
            EXPECT_TRUE(kReceiverFailures.count(o.received)) << what << " " << o.received;
        }
        if (o.sent != 0) {
            EXPECT_TRUE(kSenderFailures.count(o.sent)) << what << " " << o.sent;
        }
    }

    xfertest::TempFolder dir;
    ScaledClock fast;
    int runs = 0;
};

std::string label(int type, double rate, uint32_t seed) {
    return "type " + std::to_string(type) + " rate " + std::to_string(rate) + " seed " +
           std::to_string(seed);
}

class CrcTypes : public XyNoise, public ::testing::WithParamInterface<int> {};

// CRC-16 blocks: damage is found and the block sent again.
TEST_P(CrcTypes, DamagedBlocksAreSentAgain) {
    const int type = GetParam();
    const char* protocol = type == GF_TYPE_YMODEM ? "YMODEM" : "XMODEM";
    const std::string data = xfertest::randomData(32 * 1024, 5);
    int whole = 0, errors = 0;
    for (double rate : {1e-5, 1e-4, 1e-3}) {
        for (uint32_t seed : {1u, 2u}) {
            const Outcome o = run(protocol, type, data, rate, seed);
            expectSound(o, label(type, rate, seed));
            EXPECT_EQ(o.check, GF_CHECK_CRC16);
            if (rate <= 1e-4) {
                EXPECT_EQ(std::make_pair(o.sent, o.received), std::make_pair(0, 0));
            }
            whole += o.received == 0;
            errors += o.receiverErrors;
        }
    }
    EXPECT_GT(errors, 15);
    std::printf("type %d: %d of 6 runs whole, %d errors counted by the receivers\n", type, whole,
                errors);
}

INSTANTIATE_TEST_SUITE_P(Noise, CrcTypes,
                         ::testing::Values(GF_TYPE_XMODEM, GF_TYPE_XMODEM_1K, GF_TYPE_YMODEM));

// A line so bad that a block fails ten times in a row ends the transfer on both sides.
TEST_F(XyNoise, HopelessLineEndsWithAnErrorCode) {
    const Outcome o = run("XMODEM", GF_TYPE_XMODEM_1K, xfertest::randomData(32 * 1024, 5), 3e-2, 1);
    expectSound(o, "hopeless line");
    EXPECT_NE(o.received, 0);
    EXPECT_NE(o.sent, 0);
}

// The receiver falls back to the 8-bit sum after three unanswered "C"; with at most one
// damaged byte in a block every error is found.
TEST_F(XyNoise, ChecksumBlocksRecoverFromOneFaultPerBlock) {
    const std::string data = xfertest::randomData(32 * 1024, 6);
    for (double rate : {1e-5, 1e-4, 1e-3}) {
        for (uint32_t seed : {1u, 2u}) {
            const Outcome o = run("XMODEM", GF_TYPE_XMODEM, data, rate, seed, true, true);
            expectSound(o, label(0, rate, seed));
            EXPECT_EQ(o.check, GF_CHECK_SUM8);
            EXPECT_EQ(std::make_pair(o.sent, o.received), std::make_pair(0, 0));
        }
    }
}

// A streaming transfer cannot send a block again: the first damaged block ends it, the
// receiver with -908, the sender with -914 when it hears the cancel.
TEST_F(XyNoise, StreamingTypesEndAtTheFirstError) {
    const std::string data = xfertest::randomData(64 * 1024, 7);
    int receiverStopped = 0;
    for (int type : {GF_TYPE_XMODEM_1KG, GF_TYPE_YMODEM_G}) {
        const char* protocol = type == GF_TYPE_YMODEM_G ? "YMODEM" : "XMODEM";
        for (double rate : {1e-5, 1e-4, 1e-3}) {
            for (uint32_t seed : {1u, 2u}) {
                const Outcome o = run(protocol, type, data, rate, seed);
                expectSound(o, label(type, rate, seed));
                receiverStopped += o.received == GF_TOO_MANY_ERRORS;
                if (o.sent != 0 && o.received == GF_TOO_MANY_ERRORS) {
                    EXPECT_EQ(o.sent, GF_REMOTE_CANCEL);
                }
            }
        }
    }
    EXPECT_GE(receiverStopped, 4);
}

}  // namespace
