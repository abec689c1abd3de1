// The ZMODEM receiver against scripted senders: resumption, skipping, repositioning, newline
// conversion, the picture variant, refused commands, hostile names and cancels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "link/MemoryLink.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/fixtures/ZStream.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"
#include "xfer/GFTransfer.h"
#include "xfer/GFUserPrompt.h"
#include "xfer/ZmodemDefs.h"

namespace {

using namespace zstream;
using xfertest::readFile;
using xfertest::writeFile;

// A memory link whose script stands for bytes that arrive later: purging drops nothing, and
// bytes are handed out one at a time, as they would come.
class ScriptLink : public MemoryLink {
public:
    using MemoryLink::MemoryLink;
    void PurgeInput() override {}
    int Read(void*, int) override { return 0; }
};

// A link that hangs up once its scripted input has been read and a ZFIN has gone out.
class HangupLink : public ScriptLink {
public:
    using ScriptLink::ScriptLink;
    bool IsOnline() override {
        return InputCount() > 0 || Output().find(hexHeader(ZFIN, pos(0))) == std::string::npos;
    }
};

std::string info(size_t length) {
    return std::to_string(length) + " 0 0 0 1 " + std::to_string(length);
}

std::string endOfBatch(uint32_t end) {
    return binHeader(ZEOF, pos(end)) + hexHeader(ZFIN, pos(0)) + "OO";
}

class Receiver : public ::testing::Test {
protected:
    int receive(const std::string& script, const char* protocol = "ZMODEM",
                GFUserPrompt* prompt = nullptr) {
        link.Feed(script);
        std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject(protocol, &link, &monitor));
        engine->SetClock(clock);
        engine->SetUserPrompt(prompt);
        return engine->ReceiveFile(nullptr);
    }
    // The headers the receiver sent, as (type, position).
    std::vector<std::pair<int, uint32_t>> sentHeaders() const {
        std::vector<std::pair<int, uint32_t>> out;
        for (const Event& e : parseAll(link.Output()))
            if (e.kind == Event::kHeader) out.emplace_back(e.type, e.position);
        return out;
    }
    int countSent(int type) const {
        auto h = sentHeaders();
        return static_cast<int>(
            std::count_if(h.begin(), h.end(), [&](auto& p) { return p.first == type; }));
    }

    xfertest::TempFolder dir;
    ScriptLink link;
    FakeClock clock;
    RecordingMonitor monitor{dir.path()};
};

TEST_F(Receiver, ReceivesAFileAndAnswersEveryStep) {
    const std::string data = xfertest::awkwardData();
    EXPECT_EQ(receive(zfile("a.bin", info(data.size())) + zdata(0, data) + endOfBatch(data.size())),
              0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "a.bin"), data));
    auto h = sentHeaders();
    ASSERT_GE(h.size(), 4u);
    EXPECT_EQ(h[0].first, ZRINIT);
    EXPECT_EQ(h[1], std::make_pair(int(ZRPOS), 0u));
    EXPECT_EQ(h[2].first, ZRINIT);  // after ZEOF
    EXPECT_EQ(h[3].first, ZFIN);
    Event init = parseAll(link.Output())[0];
    EXPECT_EQ(init.bytes[ZF0], 0x27);  // full duplex, overlapped I/O, break, CRC-32
    EXPECT_EQ(init.format, 'B');
}

TEST_F(Receiver, ResumesAPartialFileAtItsSize) {
    const std::string data = xfertest::randomData(8000);
    writeFile(dir / "part.bin", data.substr(0, 5000));
    EXPECT_EQ(
        receive(zfile("part.bin", info(8000)) + zdata(5000, data.substr(5000)) + endOfBatch(8000)),
        0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "part.bin"), data));
    EXPECT_EQ(sentHeaders()[1], std::make_pair(int(ZRPOS), 5000u));
    const int setPos = monitor.indexOf("SetPos 5000");
    const int recovery = monitor.indexOf("OnRecovery 5000");
    ASSERT_GE(setPos, 0);
    ASSERT_GT(recovery, setPos);
    EXPECT_LT(recovery, monitor.indexOf("SetPos 6024"));
    EXPECT_EQ(monitor.addedBytes, 3000);
}

TEST_F(Receiver, SkipsAFileThatIsAlreadyWhole) {
    writeFile(dir / "whole.txt", "12345");
    EXPECT_EQ(receive(zfile("whole.txt", info(5)) + hexHeader(ZFIN, pos(0)) + "OO"), 0);
    EXPECT_EQ(readFile(dir / "whole.txt"), "12345");
    EXPECT_EQ(countSent(ZSKIP), 1);
    EXPECT_EQ(countSent(ZRPOS), 0);
    EXPECT_TRUE(monitor.saw("OnCloseFile 1"));
}

TEST_F(Receiver, EmptyFileIsCreatedAndSkipped) {
    EXPECT_EQ(receive(zfile("empty", info(0)) + hexHeader(ZFIN, pos(0)) + "OO"), 0);
    EXPECT_TRUE(xfertest::exists(dir / "empty"));
    EXPECT_EQ(readFile(dir / "empty"), "");
    EXPECT_EQ(countSent(ZSKIP), 1);
}

TEST_F(Receiver, LongerLocalFileIsReplaced) {
    writeFile(dir / "f", std::string(9000, 'x'));
    const std::string data = xfertest::randomData(3000);
    EXPECT_EQ(receive(zfile("f", info(3000)) + zdata(0, data) + endOfBatch(3000)), 0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "f"), data));
    EXPECT_EQ(sentHeaders()[1], std::make_pair(int(ZRPOS), 0u));
}

TEST_F(Receiver, DataAtAnotherPositionIsAskedAgain) {
    const std::string data = xfertest::randomData(2000);
    EXPECT_EQ(
        receive(zfile("f", info(2000)) + zdata(700, "zzz") + zdata(0, data) + endOfBatch(2000)), 0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "f"), data));
    EXPECT_EQ(countSent(ZRPOS), 2);
}

// After a damaged subpacket, what the sender sent before our ZRPOS reached it is passed over:
// the rest of its frame, frames at other positions and damaged headers. One error, one ZRPOS.
TEST_F(Receiver, StaleDataAfterAZrposIsPassedOver) {
    const std::string data = xfertest::randomData(3000);
    std::string damaged = subpacket(data.substr(1000, 1000), 'i');
    damaged[100] ^= 0x01;
    std::string damagedHeader = binHeader(ZDATA, pos(1000));
    damagedHeader[5] ^= 0x01;
    EXPECT_EQ(
        receive(zfile("f", info(3000)) + binHeader(ZDATA, pos(0)) +
                subpacket(data.substr(0, 1000), 'i') + damaged + subpacket(data.substr(2000), 'h') +
                zdata(2500, xfertest::randomData(5000)) + damagedHeader + subpacket("zzz", 'h') +
                zdata(1000, data.substr(1000)) + endOfBatch(3000)),
        0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "f"), data));
    EXPECT_EQ(sentHeaders()[2], std::make_pair(int(ZRPOS), 1000u));
    EXPECT_EQ(countSent(ZRPOS), 2);
    EXPECT_EQ(monitor.GetErrors(), 1);
}

// Once data has come, a sender that goes quiet while we wait for its next frame waits for an
// answer of ours that was lost: it is asked again every second, and ten times end the
// transfer, well before the 60-second header time-out.
TEST_F(Receiver, QuietSenderIsAskedAgainEverySecond) {
    const int64_t start = clock.nowMs();
    EXPECT_EQ(receive(zfile("f", info(5000)) + zdata(0, xfertest::randomData(1000))),
              GF_TOO_MANY_ERRORS);
    EXPECT_EQ(countSent(ZRPOS), 10);
    EXPECT_LT(clock.nowMs() - start, 20000);
}

// A link that takes a millisecond of the clock per byte, like a slow line.
class SlowLink : public ScriptLink {
public:
    explicit SlowLink(FakeClock& clock) : clock_(clock) {}
    int ReadByte() override {
        clock_.advance(1);
        return ScriptLink::ReadByte();
    }

private:
    FakeClock& clock_;
};

// A sender that goes on at other positions for ten seconds never heard our ZRPOS: it is asked
// again, and ten times without an answer end the transfer.
TEST_F(Receiver, ZrposUnansweredForTenSecondsIsSentAgain) {
    SlowLink slow(clock);
    std::string script = zfile("f", info(200000)) + zdata(0, xfertest::randomData(1000));
    for (int i = 0; i < 120; ++i)
        script += zdata(1700 + 1000 * i, xfertest::randomData(1000));
    slow.Feed(script);
    std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("ZMODEM", &slow, &monitor));
    engine->SetClock(clock);
    EXPECT_EQ(engine->ReceiveFile(nullptr), GF_TOO_MANY_ERRORS);
    int zrpos = 0;
    for (const Event& e : parseAll(slow.Output()))
        zrpos += e.kind == Event::kHeader && e.type == ZRPOS;
    EXPECT_EQ(zrpos, 10);
    EXPECT_TRUE(monitor.saw("msg ReadFileData: ZRPOS unanswered"));
}

TEST_F(Receiver, NewlineConversionOnRequest) {
    const std::string text = "one\ntwo\r\nthree\n";
    EXPECT_EQ(
        receive(zfile("t.txt", info(text.size()), ZCNL) + zdata(0, text) + endOfBatch(text.size())),
        0);
    EXPECT_EQ(readFile(dir / "t.txt"), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(Receiver, PictureVariantAlwaysWritesAFreshFile) {
    writeFile(dir / "p.jpg", "old!");
    const std::string data = xfertest::randomData(3000);
    EXPECT_EQ(receive(zfile("p.jpg", info(3000)) + zdata(0, data) + endOfBatch(3000), "ZIMAGE"), 0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "p.jpg"), data));
    EXPECT_EQ(sentHeaders()[1], std::make_pair(int(ZRPOS), 0u));
    EXPECT_EQ(monitor.indexOf("OnRecovery"), -1);
}

TEST_F(Receiver, CommandsAreNeverRun) {
    const std::string marker = dir / "ran";
    EXPECT_EQ(
        receive(binHeader(ZCOMMAND, flags(0)) + subpacket("touch " + marker + '\0', 'k') + "OO"),
        0);
    EXPECT_FALSE(xfertest::exists(marker));
    EXPECT_EQ(countSent(ZCOMPL), 1);
    EXPECT_EQ(countSent(ZFIN), 1);
}

TEST_F(Receiver, HostileNamesStayInTheFolder) {
    const std::string data = "payload";
    EXPECT_EQ(receive(zfile("../../escape.txt", info(7)) + zdata(0, data) + endOfBatch(7)), 0);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "escape.txt"), data));
    EXPECT_FALSE(xfertest::exists(dir.path() + "/../../escape.txt"));
}

TEST_F(Receiver, NameWithNothingLeftFailsToOpen) {
    EXPECT_EQ(receive(zfile("..", info(7)) + zdata(0, "payload") + endOfBatch(7)), GF_OPEN_FAILED);
}

TEST_F(Receiver, FileInformationIsBoundedByTheSubpacket) {
    // A name without its zero byte, and an over-long subpacket.
    std::string script = binHeader(ZFILE, flags(0)) + subpacket(std::string(1024, 'n'), 'k');
    script += binHeader(ZFILE, flags(0)) + subpacket(std::string(1500, 'n'), 'k');
    script += binHeader(ZFILE, flags(0)) + subpacket(std::string("x\0"
                                                                 "3",
                                                                 3),
                                                     'k');
    EXPECT_EQ(receive(script + zdata(0, "abc") + endOfBatch(3)), GF_OPEN_FAILED);
    // The 1024-byte name is too long for the file system; the others were never reached.
    EXPECT_TRUE(monitor.saw("msg Failed to open file"));
}

TEST_F(Receiver, ShortInformationTextStillGivesTheLength) {
    std::string script = binHeader(ZFILE, flags(0)) + subpacket(std::string("x\0"
                                                                            "3",
                                                                            3),
                                                                'k');
    EXPECT_EQ(receive(script + zdata(0, "abc") + endOfBatch(3)), 0);
    EXPECT_EQ(readFile(dir / "x"), "abc");
}

TEST_F(Receiver, UpperCaseHexHeaderIsRejected) {
    std::string bad = hexHeader(ZFIN, pos(0x00ab00cd));
    std::transform(bad.begin() + 4, bad.end(), bad.begin() + 4,
                   [](unsigned char c) { return std::toupper(c); });
    EXPECT_EQ(receive(bad + hexHeader(ZFIN, pos(0)) + "OO"), 0);
    EXPECT_TRUE(monitor.saw("msg GetFileName: frame_type=-931"));
    EXPECT_EQ(countSent(ZFIN), 1);
}

TEST_F(Receiver, HangUpAfterFinishingKeepsTheResult) {
    HangupLink hangup(zfile("h", info(3)) + zdata(0, "abc") + binHeader(ZEOF, pos(3)) +
                      hexHeader(ZFIN, pos(0)));
    std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("ZMODEM", &hangup, &monitor));
    engine->SetClock(clock);
    const int64_t start = clock.nowMs();
    EXPECT_EQ(engine->ReceiveFile(nullptr), 0);
    EXPECT_LT(clock.nowMs() - start, 1000);
    EXPECT_EQ(readFile(dir / "h"), "abc");
}

TEST_F(Receiver, CancelDuringHeaderSearchKeepsThePartialFile) {
    const std::string data = xfertest::randomData(2000);
    EXPECT_EQ(receive(zfile("c", info(5000)) + zdata(0, data) + std::string(10, '\x18')),
              GF_REMOTE_CANCEL);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "c"), data));
}

TEST_F(Receiver, CancelInsideDataKeepsThePartialFile) {
    const std::string data = xfertest::randomData(1024);
    EXPECT_EQ(receive(zfile("d", info(5000)) + binHeader(ZDATA, pos(0)) + subpacket(data, 'i') +
                      std::string(10, '\x18')),
              GF_TOO_MANY_ERRORS);
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir / "d"), data));
}

TEST_F(Receiver, UserAbortSendsTheAbortString) {
    monitor.abortAfter(1024);
    const std::string data = xfertest::randomData(5000);
    EXPECT_EQ(receive(zfile("u", info(5000)) + zdata(0, data) + endOfBatch(5000)), GF_USER_ABORT);
    EXPECT_NE(link.Output().find(std::string(10, '\x18') + std::string(10, '\b')),
              std::string::npos);
    EXPECT_EQ(readFile(dir / "u").size(), 1024u);
}

struct ScriptedPrompt : GFUserPrompt {
    void FileOpenFailed(const std::string& path, bool, const std::string&) override {
        failedPath = path;
    }
    bool CancelForDiskSpace(const std::string&, uint64_t, const std::string& caption,
                            const std::string& text) override {
        asked = caption + "|" + text;
        return cancel;
    }
    bool cancel = true;
    std::string asked, failedPath;
};

TEST_F(Receiver, DiskSpaceQuestionCanCancel) {
    ScriptedPrompt prompt;
    EXPECT_EQ(receive(zfile("huge", info(999999999999999)) + zdata(0, "x"), "ZMODEM", &prompt),
              GF_TOO_MANY_ERRORS);
    EXPECT_EQ(prompt.asked.rfind("파일 받기|현재 ", 0), 0u);
}

TEST_F(Receiver, OpenFailureIsReportedToThePrompt) {
    ScriptedPrompt prompt;
    EXPECT_EQ(receive(zfile("no/such/dir/f", info(3)) + zdata(0, "abc") + endOfBatch(3), "ZMODEM",
                      &prompt),
              0);
    // "no/such/dir/f" is cut to "f", which opens fine: nothing to report.
    EXPECT_EQ(prompt.failedPath, "");
    ScriptLink other;
    other.Feed(zfile("f", info(3)));
    RecordingMonitor elsewhere("/nonexistent-folder");
    std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("ZMODEM", &other, &elsewhere));
    engine->SetClock(clock);
    engine->SetUserPrompt(&prompt);
    EXPECT_EQ(engine->ReceiveFile(nullptr), GF_OPEN_FAILED);
    EXPECT_EQ(prompt.failedPath, "/nonexistent-folder/f");
}

}  // namespace
