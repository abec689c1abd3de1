// Our Kermit sender against scripted receivers, and the data encoding on its own: what the
// receiver's Send-Init turns on or off, packets that never pass the agreed length, names
// encoded like data, and the per-packet retry limit.
#include <gtest/gtest.h>

#include <memory>

#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/KermitScript.h"
#include "tests/xfer/KermitTestSupport.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"
#include "xfer/GFKermitCodec.h"
#include "xfer/GFTransfer.h"

namespace {

using kermittest::packet;

std::string decodeAll(const gfkermit::Prefixes& p, const std::vector<kermittest::Packet>& ps) {
    std::string out;
    for (const auto& pk : ps) {
        if (pk.type == 'D')
            gfkermit::decode(p, reinterpret_cast<const uint8_t*>(pk.data.data()),
                             static_cast<int>(pk.data.size()), out);
    }
    return out;
}

class KermitSender : public ::testing::Test {
protected:
    // Sends files to a receiver that answers the Send-Init with init and acknowledges every
    // other packet (at most acks of them).
    int send(const std::string& files, const std::string& init, int acks = 3000) {
        std::vector<std::string> script{packet('Y', 0, init)};
        for (int seq = 1; seq <= acks; ++seq)
            script.push_back(packet('Y', seq, ""));
        return sendScript(files, script);
    }
    int sendScript(const std::string& files, std::vector<std::string> script) {
        kermittest::ScriptLink link(std::move(script));
        std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("KERMIT", &link, &monitor));
        engine->SetClock(clock);
        const int r = engine->SendFile(files.c_str());
        output = link.Output();
        sent = kermittest::packets(output);
        return r;
    }
    std::string add(const std::string& name, const std::string& data) {
        xfertest::writeFile(dir / name, data);
        return dir / name;
    }

    xfertest::TempFolder dir;
    FakeClock clock;
    RecordingMonitor monitor;
    std::string output;
    std::vector<kermittest::Packet> sent;
};

TEST_F(KermitSender, ReceiverWithoutEighthBitOrRepeatsGetsBytesAsTheyAre) {
    const std::string data = "\x81\x81\x81\x81\xff\x01 abc###~~~~&&&&";
    EXPECT_EQ(send(add("f", data), kermittest::initData('~', '*', 'N', 0)), 0);
    EXPECT_EQ(kermittest::types(sent), "SFDZB");
    EXPECT_EQ(sent[0].data, "~* @-#&3~");  // we ask for "&" and the CRC, and offer "~"
    EXPECT_EQ(sent[2].data, "#\xc1#\xc1#\xc1#\xc1#\xbf#A abc######~~~~&&&&");
}

TEST_F(KermitSender, AgreedPrefixesAreUsed) {
    const std::string data = "\x81\x81\x81\x81\xff\x01 abc###~~~~&&&&";
    EXPECT_EQ(send(add("f", data), kermittest::initData('~', '*', 'Y', '~')), 0);
    EXPECT_EQ(sent[2].data, "~$&#A&#?#A abc~###~$#~~$#&");
}

TEST_F(KermitSender, FileNameIsEncodedLikeData) {
    EXPECT_EQ(send(add("a#b&c~d\xc7\xd1", "x"), kermittest::initData()), 0);
    EXPECT_EQ(sent[1].type, 'F');
    EXPECT_EQ(sent[1].data, "a##b#&c#~d&G&Q");
}

// However the data falls, no packet passes the receiver's MAXL and LEN never reaches DEL.
TEST_F(KermitSender, PacketsStayWithinTheAgreedLengthAndCheck) {
    const std::string data = std::string(10000, '\xff') + kermittest::awkwardData() +
                             xfertest::randomData(30000, 3) + std::string(5000, '\x80');
    for (char chkt : {'1', '3', '2'}) {
        // We ask for the CRC; any other answer leaves both sides at type 1.
        const int check = chkt == '3' ? 3 : 1;
        for (char maxl : {'~', '5', '*'}) {
            for (char rept : {'~', '\0'}) {
                SCOPED_TRACE(std::string("CHKT ") + chkt + " MAXL " + maxl + " REPT " + rept);
                const std::string init = kermittest::initData(maxl, '*', 'Y', rept, chkt);
                std::vector<std::string> script{packet('Y', 0, init)};
                for (int seq = 1; seq <= 40000; ++seq)
                    script.push_back(packet('Y', seq, "", check));
                EXPECT_EQ(sendScript(add("f", data), script), 0);
                sent = kermittest::packets(output, check);
                EXPECT_EQ(sent[0].data, "~* @-#&3~");
                int longest = 0;
                for (const auto& p : sent) {
                    EXPECT_TRUE(p.checkOk) << p.type << " " << p.seq;
                    if (p.type != 'S')
                        longest = std::max(longest, p.length);  // sent before MAXL is known
                }
                EXPECT_EQ(longest, std::max(maxl - 32, 10));
                gfkermit::Prefixes agreed{'#', '&', rept};
                EXPECT_TRUE(xfertest::sameBytes(decodeAll(agreed, sent), data));
            }
        }
    }
}

TEST_F(KermitSender, RetryLimitIsPerPacket) {
    // Every packet is refused five times before its acknowledgement comes: 30 retries in all.
    std::vector<std::string> script;
    for (int seq = 0; seq < 5; ++seq) {
        for (int i = 0; i < 5; ++i)
            script.push_back(i % 2 ? packet('N', seq, "") : packet('Y', seq + 7, ""));
        script.push_back(packet('Y', seq, seq == 0 ? kermittest::initData() : ""));
    }
    EXPECT_EQ(sendScript(add("f", "data"), script), 0);
    EXPECT_EQ(monitor.GetErrors(), 25);
    EXPECT_TRUE(monitor.saw("msg Received a bad ACK packet number"));
    EXPECT_TRUE(monitor.saw("msg Received a Nak packet"));
    // Eleven refusals of one packet end it, with an error packet.
    std::vector<std::string> refusals(11, packet('N', 0, ""));
    EXPECT_EQ(sendScript(add("f", "data"), refusals), GF_TOO_MANY_ERRORS);
    EXPECT_EQ(kermittest::types(sent), std::string(11, 'S') + "E");
}

TEST_F(KermitSender, SilentReceiverTimesOut) {
    EXPECT_EQ(sendScript(add("f", "data"), {}), GF_TOO_MANY_ERRORS);
    EXPECT_EQ(kermittest::types(sent), std::string(11, 'S') + "E");
    EXPECT_GE(clock.nowMs() - 1000000, 11 * 10 * 1000);
    EXPECT_LT(clock.nowMs() - 1000000, 11 * 10 * 1500);
}

TEST_F(KermitSender, ErrorPacketFromTheReceiverEndsTheTransfer) {
    EXPECT_EQ(sendScript(add("f", "data"),
                         {packet('Y', 0, kermittest::initData()), packet('E', 1, "no room")}),
              GF_REMOTE_CANCEL);
    EXPECT_EQ(kermittest::types(sent), "SF");
}

TEST_F(KermitSender, BatchAndMissingFiles) {
    const std::string a = add("a", "first"), b = add("b", "");
    EXPECT_EQ(send(a + "\t" + b, kermittest::initData()), 0);
    EXPECT_EQ(kermittest::types(sent), "SFDZFZB");
    EXPECT_EQ(monitor.GetFileCount(), 2);
    // Nothing that exists to send: the session still ends with a break, then the error.
    EXPECT_EQ(send(dir / "missing", kermittest::initData()), GF_NOTHING_TO_SEND);
    EXPECT_EQ(kermittest::types(sent), "SBE");
}

TEST_F(KermitSender, UserAbortSendsAnErrorPacket) {
    monitor.abortAfter(20000);
    EXPECT_EQ(send(add("big", xfertest::randomData(100000, 1)), kermittest::initData()),
              GF_USER_ABORT);
    EXPECT_EQ(sent.back().type, 'E');
}

TEST(KermitCodec, BlockChecksAndRoundTrips) {
    // The NAK of packet 0 is SOH "# N3" with the 6-bit check; the CRC of "123456789" is 0x2189.
    EXPECT_EQ(gfkermit::blockCheck(1, reinterpret_cast<const uint8_t*>("# N"), 3), '3' - 32);
    EXPECT_EQ(gfkermit::blockCheck(3, reinterpret_cast<const uint8_t*>("123456789"), 9), 0x2189);
    EXPECT_EQ(gfkermit::checkChars(3, 0x2189), "\"&)");
    EXPECT_EQ(gfkermit::readCheck(3, reinterpret_cast<const uint8_t*>("\"&)")), 0x2189);
    const std::string data = kermittest::awkwardData();
    for (int bin : {0, int{'&'}}) {
        for (int rpt : {0, int{'~'}}) {
            const gfkermit::Prefixes p{'#', bin, rpt};
            std::string decoded;
            for (size_t at = 0; at < data.size();) {
                std::string packetData;
                const int taken =
                    gfkermit::encode(p, reinterpret_cast<const uint8_t*>(data.data()) + at,
                                     static_cast<int>(data.size() - at), 7, packetData);
                ASSERT_GT(taken, 0);
                ASSERT_LE(packetData.size(), 7u);
                gfkermit::decode(p, reinterpret_cast<const uint8_t*>(packetData.data()),
                                 static_cast<int>(packetData.size()), decoded);
                at += taken;
            }
            EXPECT_TRUE(xfertest::sameBytes(decoded, data)) << bin << " " << rpt;
        }
    }
}

}  // namespace
