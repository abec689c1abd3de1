// Our Kermit receiver against scripted senders: decoding as negotiated, attributes, names,
// duplicates, damaged packets and the per-packet retry limit, discarded files, errors.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/KermitScript.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"
#include "xfer/GFKermitCodec.h"
#include "xfer/GFTransfer.h"

namespace {

using kermittest::packet;
using kermittest::ScriptLink;

// Keeps the file time and length each file had when it was closed; stops the transfer once
// a clock (when given) reaches stopAtMs.
class FileMonitor : public RecordingMonitor {
public:
    using RecordingMonitor::RecordingMonitor;
    int TransferAbort() override {
        return clock && clock->nowMs() >= stopAtMs ? GF_USER_ABORT
                                                   : RecordingMonitor::TransferAbort();
    }
    void OnCloseFile(int skipped) override {
        RecordingMonitor::OnCloseFile(skipped);
        times.push_back(GetFileTime());
        lengths.push_back(GetFileLength());
    }
    void SetPos(unsigned long pos) override { GFMonitor::SetPos(pos); }
    std::vector<long> times;
    std::vector<unsigned long> lengths;
    const Clock* clock = nullptr;
    int64_t stopAtMs = 0;
};

class KermitReceiver : public ::testing::Test {
protected:
    KermitReceiver() : monitor(dir.path()) {}

    // Runs the receiver against the script; the packets it wrote are kept in sent.
    int receive(std::vector<std::string> script) {
        ScriptLink link(std::move(script));
        std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("KERMIT", &link, &monitor));
        engine->SetClock(clock);
        const int r = engine->ReceiveFile(nullptr);
        output = link.Output();
        sent = kermittest::packets(output);
        return r;
    }
    std::string file(const std::string& name) { return xfertest::readFile(dir / name); }

    xfertest::TempFolder dir;
    FakeClock clock;
    FileMonitor monitor;
    std::string output;
    std::vector<kermittest::Packet> sent;
};

TEST_F(KermitReceiver, DecodesEighthBitAndRepeatPrefixes) {
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData('~', '*', '&', '~')),
                       packet('F', 1, "out.bin"), packet('D', 2, "&#A~(X"),
                       packet('D', 3, "#@##&&#&#~~#&#?"), packet('Z', 4, ""), packet('B', 5, "")}),
              0);
    // A 0x81, eight X, then NUL, #, 0xA6, &, ~, 0xFF, 0xFF, 0xFF.
    EXPECT_EQ(file("out.bin"), "\x81XXXXXXXX" + std::string(1, '\0') + "#\xa6&~\xff\xff\xff");
    ASSERT_EQ(kermittest::types(sent), "YYYYYY");
    EXPECT_EQ(sent[0].data, "~* @-#Y1~");  // our parameters, repeat prefix accepted
    EXPECT_EQ(monitor.GetPosAll(), 17);
}

TEST_F(KermitReceiver, WithoutPrefixesEveryByteStandsForItself) {
    // QBIN "Y" and no REPT: "&" and "~" are plain data; "#" still quotes.
    EXPECT_EQ(
        receive({packet('S', 0, kermittest::initData('~', '*', 'Y', 0)), packet('F', 1, "plain"),
                 packet('D', 2, "&~#\xc1\xff"), packet('Z', 3, ""), packet('B', 4, "")}),
        0);
    EXPECT_EQ(file("plain"), "&~\x81\xff");
    EXPECT_EQ(sent[0].data, "~* @-#Y1");
}

TEST_F(KermitReceiver, NamesAreDecodedStrippedAndSanitised) {
    // "../x#y~&.txt" and two bytes of Korean, sent with eighth-bit and repeat prefixes.
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData('~', '*', '&', '~')),
                       packet('F', 1, "../x##y#~#&.txt&G&Q"), packet('D', 2, "abc"),
                       packet('Z', 3, ""), packet('F', 4, "#A#B"), packet('B', 5, "")}),
              GF_OPEN_FAILED);
    EXPECT_EQ(file("x#y~&.txt\xc7\xd1"), "abc");
    // The second name is nothing but control bytes: nothing is left to create.
    EXPECT_EQ(kermittest::types(sent), "YYYYE");
}

TEST_F(KermitReceiver, AttributesGiveLengthAndLocalTime) {
    setenv("TZ", "KST-9", 1);
    tzset();
    const std::string attrs = std::string("1$1234") + "#-991231 23:59" + "!%x";
    EXPECT_EQ(
        receive({packet('S', 0, kermittest::initData()), packet('F', 1, "a"), packet('A', 2, attrs),
                 packet('Z', 3, ""), packet('F', 4, "b"), packet('A', 5, "#&010101"),
                 packet('Z', 6, ""), packet('F', 7, "c"), packet('Z', 8, ""), packet('B', 9, "")}),
        0);
    unsetenv("TZ");
    tzset();
    // 1999-12-31 23:59 in Seoul is 14:59 UTC; 2001-01-01 00:00 there is 15:00 UTC the day before.
    EXPECT_EQ(monitor.times, (std::vector<long>{946652340, 978274800, -1}));
    EXPECT_EQ(monitor.lengths[0], 1234u);
    EXPECT_TRUE(monitor.saw("msg Type: 1  Length: 4  Data: 1234"));
    EXPECT_TRUE(monitor.saw("msg Year=1999 Month=12 Day=31"));
}

TEST(KermitDate, SixAndEightDigitDates) {
    std::tm t{};
    ASSERT_TRUE(gfkermit::parseDate("991231", t));
    EXPECT_EQ(t.tm_year, 99);
    EXPECT_EQ(t.tm_hour, 0);
    ASSERT_TRUE(gfkermit::parseDate("010101 12:34", t));
    EXPECT_EQ(t.tm_year, 101);
    EXPECT_EQ(t.tm_min, 34);
    EXPECT_EQ(t.tm_sec, 0);
    ASSERT_TRUE(gfkermit::parseDate("20240229 01:02:03", t));
    EXPECT_EQ(t.tm_year, 124);
    EXPECT_EQ(t.tm_mday, 29);
    EXPECT_EQ(t.tm_sec, 3);
    EXPECT_FALSE(gfkermit::parseDate("9912", t));
    EXPECT_FALSE(gfkermit::parseDate("19991331", t));
    EXPECT_FALSE(gfkermit::parseDate("19991231 noon", t));
    EXPECT_FALSE(gfkermit::parseDate("", t));
}

TEST_F(KermitReceiver, DuplicatesAreAcknowledgedAgainAndNotWrittenTwice) {
    EXPECT_EQ(
        receive({packet('S', 0, kermittest::initData()), packet('S', 0, kermittest::initData()),
                 packet('F', 1, "dup"), packet('F', 1, "dup"), packet('D', 2, "one"),
                 packet('D', 2, "one"), packet('D', 3, "two"), packet('Z', 4, ""),
                 packet('Z', 4, ""), packet('B', 5, "")}),
        0);
    EXPECT_EQ(file("dup"), "onetwo");
    std::string seqs;
    for (const auto& p : sent)
        seqs += static_cast<char>('0' + p.seq);
    EXPECT_EQ(seqs, "0011223445");
    EXPECT_EQ(sent[1].data, sent[0].data);  // the repeated Send-Init gets our parameters again
}

// With the CRC agreed, damage that the 6-bit sum cannot see (two bytes swapped) is caught.
// The Send-Init and its answers keep type 1, also when the Send-Init comes again.
TEST_F(KermitReceiver, CrcIsUsedWhenTheSenderAsksForIt) {
    std::string swapped = packet('D', 2, "ab", 3);
    std::swap(swapped[4], swapped[5]);
    const std::string init = kermittest::initData('~', '*', 'Y', 0, '3');
    EXPECT_EQ(
        receive({packet('S', 0, init), packet('S', 0, init), packet('F', 1, "crc", 3), swapped,
                 packet('D', 2, "ab", 3), packet('Z', 3, "", 3), packet('B', 4, "", 3)}),
        0);
    EXPECT_EQ(file("crc"), "ab");
    const auto initAnswers = kermittest::packets(output, 1);
    EXPECT_EQ(initAnswers[0].data, "~* @-#Y3");
    EXPECT_TRUE(initAnswers[0].checkOk && initAnswers[1].checkOk);
    EXPECT_EQ(initAnswers[1].data, initAnswers[0].data);
    sent = kermittest::packets(output, 3);
    EXPECT_EQ(kermittest::types(sent), "YYYNYYY");
    for (size_t i = 2; i < sent.size(); ++i)
        EXPECT_TRUE(sent[i].checkOk) << i;
    // A sender asking for a type we do not use gets type 1.
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData('~', '*', 'Y', 0, '2')),
                       packet('F', 1, "one"), packet('Z', 2, ""), packet('B', 3, "")}),
              0);
    EXPECT_EQ(sent[0].data, "~* @-#Y1");
}

TEST_F(KermitReceiver, DamagedPacketsAreNakedAndTheLimitIsPerPacket) {
    std::vector<std::string> script{packet('S', 0, kermittest::initData()), packet('F', 1, "f")};
    std::string expected;
    for (int seq = 2; seq < 6; ++seq) {
        for (int bad = 0; bad < 8; ++bad) {
            std::string damaged = packet('D', seq, "data");
            damaged[5] ^= 0x01;
            script.push_back(bad % 2 ? damaged : "\x01\xc0 D long\r");  // bad check, bad LEN
        }
        script.push_back(packet('D', seq, "data"));
        expected += "data";
    }
    script.push_back(packet('Z', 6, ""));
    script.push_back(packet('B', 7, ""));
    EXPECT_EQ(receive(script), 0);
    EXPECT_EQ(file("f"), expected);
    EXPECT_EQ(monitor.GetErrors(), 32);  // more than ten in all, never ten on one packet
    EXPECT_EQ(sent[2].type, 'N');
    EXPECT_EQ(sent[2].seq, 2);
}

// The part of the file that came before the failure is removed, not left under its name.
TEST_F(KermitReceiver, ElevenFailuresOnOnePacketEndTheTransfer) {
    std::vector<std::string> script{packet('S', 0, kermittest::initData()), packet('F', 1, "f"),
                                    packet('D', 2, "first")};
    std::string damaged = packet('D', 3, "data");
    damaged[6] ^= 0x10;
    for (int i = 0; i < 11; ++i)
        script.push_back(damaged);
    EXPECT_EQ(receive(script), GF_TOO_MANY_ERRORS);
    EXPECT_EQ(kermittest::types(sent), "YYY" + std::string(10, 'N') + "E");
    EXPECT_FALSE(xfertest::exists(dir / "f"));
}

TEST_F(KermitReceiver, DiscardedFileIsRemovedAndNotReportedAsReceived) {
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData()), packet('F', 1, "gone"),
                       packet('D', 2, "partial"), packet('Z', 3, "D"), packet('F', 4, "kept"),
                       packet('D', 5, "whole"), packet('Z', 6, ""), packet('B', 7, "")}),
              GF_REMOTE_CANCEL);
    EXPECT_FALSE(xfertest::exists(dir / "gone"));
    EXPECT_EQ(file("kept"), "whole");
    EXPECT_TRUE(monitor.saw("OnCloseFile 1"));
    EXPECT_EQ(monitor.GetPosAll(), 5);               // only the kept file counts as received
    EXPECT_EQ(kermittest::types(sent), "YYYYYYYY");  // the batch itself ran to its end
}

TEST_F(KermitReceiver, ErrorPacketFromTheSenderEndsWithoutAnswer) {
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData()), packet('F', 1, "f"),
                       packet('E', 2, "disk full")}),
              GF_REMOTE_CANCEL);
    EXPECT_EQ(kermittest::types(sent), "YY");
}

TEST_F(KermitReceiver, UnexpectedPacketIsAProtocolError) {
    EXPECT_EQ(
        receive({packet('S', 0, kermittest::initData()), packet('F', 1, "f"), packet('X', 2, "")}),
        GF_KERMIT_PROTOCOL);
    EXPECT_EQ(kermittest::types(sent), "YYE");
    EXPECT_EQ(receive({packet('D', 0, "")}), GF_KERMIT_PROTOCOL);
}

TEST_F(KermitReceiver, TimeZeroWaitsWithoutLimitUntilTheUserStops) {
    // No packet after the Send-Init: with TIME 0 the receiver never times out and NAKs; the
    // user's abort ends it with an error packet.
    monitor.clock = &clock;
    monitor.stopAtMs = clock.nowMs() + 300000;
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData('~', ' '))}), GF_USER_ABORT);
    EXPECT_EQ(kermittest::types(sent), "YE");
}

TEST_F(KermitReceiver, SilentSenderIsNakedAfterItsTimeOut) {
    EXPECT_EQ(receive({packet('S', 0, kermittest::initData('~', '#'))}), GF_TOO_MANY_ERRORS);
    // TIME 3: a NAK after each three quiet seconds; the eleventh time-out is one too many.
    EXPECT_EQ(kermittest::types(sent), "Y" + std::string(10, 'N') + "E");
    EXPECT_GE(clock.nowMs() - 1000000, 11 * 3 * 1000);
    EXPECT_LT(clock.nowMs() - 1000000, 11 * 3 * 1500);
}

}  // namespace
