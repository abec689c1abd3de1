// The transfer framework: engine creation, the monitor's defaults, file lists, names, newline
// conversion, CRCs and the shared write routines against links that refuse or fail.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "link/MemoryLink.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFCrc.h"
#include "xfer/GFErrors.h"
#include "xfer/GFFileList.h"
#include "xfer/GFFileNames.h"
#include "xfer/GFNewlines.h"
#include "xfer/GFProtocol.h"
#include "xfer/GFTransfer.h"
#include "xfer/GFUserPrompt.h"

namespace {

// Opens the shared routines to the tests.
class TestEngine : public GFProtocol {
public:
    TestEngine(GFComLink* link, GFMonitor* monitor, int type = GF_TYPE_XMODEM)
        : GFProtocol(link, monitor, type, GF_CHECK_CRC16, 1024) {}
    using GFProtocol::AbortCheck;
    using GFProtocol::carrierCheck_;
    using GFProtocol::Cleanup;
    using GFProtocol::message;
    using GFProtocol::WriteBuffer;
    using GFProtocol::WriteChar;
    using GFProtocol::WriteString;
};

// A link whose WriteByte answers what the test says and whose carrier can be dropped.
class StubbornLink : public MemoryLink {
public:
    int WriteByte(int c) override { return answer == 0 ? MemoryLink::WriteByte(c) : answer; }
    bool IsOnline() override { return online; }
    int answer = 0;
    bool online = true;
    int transferMode = -1;
    int SetTransferMode(int on) override {
        transferMode = on;
        return 0;
    }
};

class AbortingMonitor : public GFMonitor {
public:
    int TransferAbort() override { return abort ? -901 : 0; }
    void TransferMessage(char* text) override { lastMessage = text; }
    bool abort = false;
    std::string lastMessage;
};

TEST(CreateObject, NamesAreCaseSensitive) {
    MemoryLink link;
    EXPECT_EQ(GFTransfer::CreateObject("zmodem", &link, nullptr), nullptr);
    EXPECT_EQ(GFTransfer::CreateObject("FTP", &link, nullptr), nullptr);
    // Variants are types set on the monitor after creating "XMODEM" or "YMODEM".
    for (const char* variant : {"XMODEM-1K", "XMODEM-1KG", "YMODEM-G"})
        EXPECT_EQ(GFTransfer::CreateObject(variant, &link, nullptr), nullptr) << variant;
    GFMonitor monitor;
    std::unique_ptr<GFTransfer> image(GFTransfer::CreateObject("ZIMAGE", &link, &monitor));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(monitor.GetTransferType(), GF_TYPE_ZMODEM);
    EXPECT_EQ(monitor.GetProtocol(), "ZMODEM");
    EXPECT_TRUE(monitor.IsZmodem());
    EXPECT_EQ(monitor.GetCheck(), GF_CHECK_CRC16);
}

TEST(CreateObject, LinkEntersAndLeavesTransferModeAndOwnMonitorIsFreed) {
    StubbornLink link;
    {
        std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject("ZMODEM", &link, nullptr));
        ASSERT_NE(engine, nullptr);
        EXPECT_EQ(link.transferMode, 1);
    }
    EXPECT_EQ(link.transferMode, 0);  // and the sanitizer sees the monitor freed
}

TEST(Monitor, InitializeAndDefaults) {
    GFMonitor m;
    EXPECT_EQ(m.GetAbortKey(), 27u);
    m.SetFileLength(500);
    m.SetPos(20);
    m.Initialize(1);
    EXPECT_EQ(m.GetSending(), 1);
    EXPECT_EQ(m.GetPos(), 0u);
    EXPECT_EQ(m.GetFileLength(), 0u);
    EXPECT_EQ(m.GetFileTime(), -1);
    EXPECT_EQ(m.GetTotalFiles(), 1);
    EXPECT_EQ(m.GetFileName(), "<NONE>");
    m.SetTotalInfo(2, 100);
    m.SetFileLength(300);  // longer than the total: the total follows
    EXPECT_EQ(m.GetTotalBytes(), 300u);
    m.AddPos(40);
    m.OnRecovery();
    m.OnSuccess();
    EXPECT_EQ(m.GetResumePos(), 40u);
    EXPECT_EQ(m.GetResumeTotal(), 40);
    EXPECT_EQ(m.GetPosAll(), 40);
    m.SetTransferType(GF_TYPE_KERMIT);
    EXPECT_TRUE(m.IsXorKermit());
    EXPECT_EQ(m.GetProtocol(), "KERMIT");
    GFMonitor copy = m;
    EXPECT_EQ(copy.GetPos(), 40u);
    EXPECT_EQ(copy.GetProtocol(), "KERMIT");
}

TEST(FileList, SplitsAtTabButNotInsideDoubleByteCharacters) {
    EXPECT_EQ(GFFileList::Split("a.txt\tb.txt"), (std::vector<std::string>{"a.txt", "b.txt"}));
    // 0xB0 0x09 is one double-byte character, not a separator.
    EXPECT_EQ(GFFileList::Split("x\xb0\ty"), (std::vector<std::string>{"x\xb0\ty"}));
    EXPECT_TRUE(GFFileList::Split("").empty());
}

TEST(FileList, LengthsTimesAndMissingFiles) {
    xfertest::TempFolder dir;
    xfertest::writeFile(dir / "a", "12345");
    xfertest::writeFile(dir / "b", "12");
    struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 0}};
    utimensat(AT_FDCWD, (dir / "a").c_str(), times, 0);
    times[1].tv_sec = -86400 * 400;  // 1968
    utimensat(AT_FDCWD, (dir / "b").c_str(), times, 0);
    GFFileList list((dir / "a" + "\t" + dir / "b" + "\t" + dir / "missing\t" + dir / "a").c_str());
    EXPECT_EQ(list.Remaining(), 4);
    EXPECT_EQ(list.RemainingBytes(), 12u);
    ASSERT_TRUE(list.TakeNext());
    EXPECT_EQ(list.Length(), 5u);
    EXPECT_EQ(list.Time(), 1700000000);  // UTC seconds, whatever the local zone
    ASSERT_TRUE(list.TakeNext());
    EXPECT_EQ(list.Time(), 0);      // before 1970
    EXPECT_FALSE(list.TakeNext());  // a missing file ends the list
}

TEST(FileNames, ReceivedNamesStayInTheFolder) {
    EXPECT_EQ(gfReceivedFileName("../../etc/passwd"), "passwd");
    EXPECT_EQ(gfReceivedFileName("C:\\dos\\autoexec.bat"), "autoexec.bat");
    EXPECT_EQ(gfReceivedFileName("host:name"), "name");
    EXPECT_EQ(gfReceivedFileName("a\x01"
                                 "b\x7f"
                                 "c\x1b"),
              "abc");
    EXPECT_EQ(gfReceivedFileName("\xc7\xd1\xb1\xdb.txt"), "\xc7\xd1\xb1\xdb.txt");  // CP949 kept
    EXPECT_EQ(gfReceivedFileName("한글 파일.txt"), "한글 파일.txt");
    EXPECT_EQ(gfReceivedFileName(".."), "");
    EXPECT_EQ(gfReceivedFileName("x/."), "");
    EXPECT_EQ(gfReceivedFileName("dir/"), "");
    EXPECT_EQ(gfReceivedFileName("\x01\x02"), "");
    EXPECT_EQ(gfSentFileName("/home/u/a:b.txt"), "a:b.txt");
    EXPECT_EQ(gfSentFileName("plain"), "plain");
}

TEST(Newlines, LoneLfBecomesCrLfAndDoubledCrIsDropped) {
    EXPECT_EQ(gfConvertNewlines("a\nb\r\nc\r\r\nd\re"), "a\r\nb\r\nc\r\nd\re");
    EXPECT_EQ(gfConvertNewlines("\n\n"), "\r\n\r\n");
}

TEST(Crc, KnownCheckValues) {
    const auto* s = reinterpret_cast<const uint8_t*>("123456789");
    EXPECT_EQ(gfCrc16(0, s, 9), 0x31C3);
    EXPECT_EQ(~gfCrc32(0xFFFFFFFF, s, 9), 0xCBF43926u);
    // Eight bytes at a time gives what one at a time gives, from any start and for any tail.
    const std::string data = xfertest::randomData(1000, 9);
    const auto* d = reinterpret_cast<const uint8_t*>(data.data());
    for (size_t n : {0, 1, 7, 8, 9, 15, 16, 1000}) {
        uint16_t byByte = 0x1234;
        uint32_t byByte32 = 0x89ABCDEF;
        for (size_t i = 0; i < n; ++i) {
            byByte = gfCrc16(byByte, d[i]);
            byByte32 = gfCrc32(byByte32, d[i]);
        }
        EXPECT_EQ(gfCrc16(0x1234, d, n), byByte) << n;
        EXPECT_EQ(gfCrc32(0x89ABCDEF, d, n), byByte32) << n;
    }
}

TEST(Prompt, DiskSpaceTextGroupsThousands) {
    EXPECT_EQ(GFGroupedNumber(1234567), "1,234,567");
    EXPECT_EQ(GFGroupedNumber(999), "999");
    EXPECT_NE(GFDiskSpaceText("/data", 12345).find("(12,345 바이트 사용 가능)"), std::string::npos);
}

TEST(WriteChar, OfflineLinkFailsWithCarrierLost) {
    StubbornLink link;
    link.online = false;
    GFMonitor monitor;
    TestEngine engine(&link, &monitor);
    EXPECT_EQ(engine.WriteChar('x'), GF_CARRIER_LOST_WRITING);
    EXPECT_EQ(monitor.GetLastError(), GF_CARRIER_LOST_WRITING);
    EXPECT_TRUE(link.Output().empty());
}

TEST(WriteChar, FailedWriteEndsAtOnce) {
    StubbornLink link;
    link.answer = -1;
    FakeClock clock;
    GFMonitor monitor;
    TestEngine engine(&link, &monitor);
    engine.SetClock(clock);
    const int64_t start = clock.nowMs();
    EXPECT_EQ(engine.WriteChar('x'), GF_CARRIER_LOST_WRITING);
    EXPECT_EQ(clock.nowMs(), start);
    EXPECT_EQ(engine.WriteBuffer(reinterpret_cast<const unsigned char*>("ab"), 2),
              GF_CARRIER_LOST_WRITING);
}

// A link that keeps answering "full"; each wait for room moves the clock a second on.
struct FullLink : StubbornLink {
    explicit FullLink(FakeClock& c) : clock(c) { answer = GF_OUTPUT_FULL; }
    int WaitReady(int, int) override {
        clock.advance(1000);
        return 0;
    }
    FakeClock& clock;
};

TEST(WriteChar, FullQueueIsRetriedUntilTheDeadline) {
    FakeClock clock;
    FullLink link(clock);
    GFMonitor charMonitor, bufferMonitor;
    TestEngine charEngine(&link, &charMonitor);
    charEngine.SetClock(clock);
    EXPECT_EQ(charEngine.WriteChar('x'), GF_OUTPUT_FULL);
    EXPECT_EQ(charMonitor.GetLastError(), GF_WRITE_CHAR_TIMEOUT);
    TestEngine bufferEngine(&link, &bufferMonitor);
    bufferEngine.SetClock(clock);
    const unsigned char data[3] = {1, 2, 3};
    EXPECT_EQ(bufferEngine.WriteBuffer(data, 3), GF_WRITE_BUFFER_TIMEOUT);
}

TEST(WriteChar, UserAbortWhileWaitingIsRecorded) {
    StubbornLink link;
    link.answer = GF_OUTPUT_FULL;
    FakeClock clock;
    AbortingMonitor monitor;
    monitor.abort = true;
    TestEngine engine(&link, &monitor, GF_TYPE_KERMIT);
    engine.SetClock(clock);
    EXPECT_EQ(engine.WriteChar('x'), GF_USER_ABORT);
    EXPECT_EQ(monitor.GetLastError(), GF_USER_ABORT);
}

TEST(WriteString, AbortStringGoesOutOnADirectCable) {
    // A direct cable reports no carrier; the engine was told not to check it.
    StubbornLink link;
    link.online = false;
    FakeClock clock;
    GFMonitor monitor;
    TestEngine engine(&link, &monitor);
    engine.SetClock(clock);
    engine.carrierCheck_ = false;
    EXPECT_TRUE(engine.WriteString("\x18\x18\x18"));
    EXPECT_EQ(link.Output(), "\x18\x18\x18");
    engine.carrierCheck_ = true;
    EXPECT_FALSE(engine.WriteString("x"));
}

TEST(AbortCheck, UserAbortSendsTheAbortString) {
    MemoryLink link;
    FakeClock clock;
    AbortingMonitor monitor;
    TestEngine engine(&link, &monitor);
    engine.SetClock(clock);
    EXPECT_FALSE(engine.AbortCheck(1));
    monitor.abort = true;
    EXPECT_TRUE(engine.AbortCheck(1));
    EXPECT_EQ(monitor.GetLastError(), GF_USER_ABORT);
    EXPECT_EQ(link.Output(), std::string(10, '\x18') + std::string(10, '\b'));
    EXPECT_TRUE(engine.AbortCheck(2));  // the first cause stays, the string goes once
    EXPECT_EQ(monitor.GetLastError(), GF_USER_ABORT);
    EXPECT_EQ(link.Output().size(), 20u);
}

TEST(Messages, LongLinesAreCut) {
    MemoryLink link;
    AbortingMonitor monitor;
    TestEngine engine(&link, &monitor);
    engine.message("Opening file %s", std::string(200, 'x').c_str());
    EXPECT_EQ(monitor.lastMessage.size(), 83u);
}

}  // namespace
