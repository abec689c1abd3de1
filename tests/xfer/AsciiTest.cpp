// The ASCII engine: lines of at most 82 bytes ending after CR, a 100 ms pause after each,
// echoes to AsciiPrinter, several files in turn; capture until the line goes quiet.
#include <gtest/gtest.h>

#include <memory>

#include "link/MemoryLink.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"
#include "xfer/GFTransfer.h"

namespace {

// Notes the clock time of every byte written.
class TimedLink : public MemoryLink {
public:
    explicit TimedLink(FakeClock& clock) : clock_(clock) {}
    int WriteByte(int c) override {
        times.push_back(clock_.nowMs());
        return MemoryLink::WriteByte(c);
    }
    // The bytes written, cut into the groups written at one time.
    std::vector<std::string> bursts() const {
        std::vector<std::string> out;
        for (size_t i = 0; i < times.size(); ++i) {
            if (i == 0 || times[i] != times[i - 1]) out.emplace_back();
            out.back() += Output()[i];
        }
        return out;
    }
    std::vector<int64_t> times;

private:
    FakeClock& clock_;
};

class EchoMonitor : public RecordingMonitor {
public:
    using RecordingMonitor::RecordingMonitor;
    void AsciiPrinter(char c) override { shown += c; }
    std::string shown;
};

class Ascii : public ::testing::Test {
protected:
    Ascii() : link(clock), monitor(dir.path()) {}

    std::unique_ptr<GFTransfer> engine() {
        std::unique_ptr<GFTransfer> e(GFTransfer::CreateObject("ASCII", &link, &monitor));
        e->SetClock(clock);
        return e;
    }
    std::string add(const std::string& name, const std::string& data) {
        xfertest::writeFile(dir / name, data);
        return dir / name;
    }

    xfertest::TempFolder dir;
    FakeClock clock;
    TimedLink link;
    EchoMonitor monitor;
};

TEST_F(Ascii, LongLineGoesInPiecesWithAPauseAfterEach) {
    const int64_t start = clock.nowMs();
    EXPECT_EQ(engine()->SendFile(add("line", std::string(200, 'x')).c_str()), 0);
    const auto bursts = link.bursts();
    ASSERT_EQ(bursts.size(), 3u);
    EXPECT_EQ(bursts[0].size(), 82u);
    EXPECT_EQ(bursts[1].size(), 82u);
    EXPECT_EQ(bursts[2].size(), 36u);
    EXPECT_EQ(link.times.front(), start);
    EXPECT_EQ(link.times[82], start + 100);
    EXPECT_EQ(link.times[164], start + 200);
    EXPECT_EQ(clock.nowMs(), start + 300);
    EXPECT_EQ(monitor.GetPos(), 200u);
}

TEST_F(Ascii, LinesEndAfterCrAndFilesFollowEachOther) {
    const std::string a = add("a", "ab\r\ncd\r\n"), b = add("b", "last");
    EXPECT_EQ(engine()->SendFile((a + "\t" + b).c_str()), 0);
    EXPECT_EQ(link.bursts(), (std::vector<std::string>{"ab\r", "\ncd\r", "\n", "last"}));
    EXPECT_EQ(monitor.GetFileCount(), 2);
    EXPECT_EQ(monitor.GetCheck(), 0);  // left as it was
}

TEST_F(Ascii, EchoesGoToThePrinterAndEmptyFileSendsNothing) {
    link.Feed("echo\r\n");
    EXPECT_EQ(engine()->SendFile(add("one", "x").c_str()), 0);
    EXPECT_EQ(monitor.shown, "echo\r\n");
    link.ClearOutput();
    EXPECT_EQ(engine()->SendFile(add("empty", "").c_str()), 0);
    EXPECT_TRUE(link.Output().empty());
    EXPECT_EQ(engine()->SendFile((dir / "missing").c_str()), GF_NOTHING_TO_SEND);
}

TEST_F(Ascii, SendStopsWhenTheUserAborts) {
    monitor.abortAfter(100);
    EXPECT_EQ(engine()->SendFile(add("long", std::string(1000, 'y')).c_str()), GF_USER_ABORT);
    EXPECT_LT(link.Output().size(), 200u);
    EXPECT_EQ(link.Output().find('\x18'), std::string::npos);  // no abort string
}

TEST_F(Ascii, CaptureEndsWhenTheLineGoesQuiet) {
    const std::string data = xfertest::randomData(3000, 5);
    link.Feed(data);
    const int64_t start = clock.nowMs();
    EXPECT_EQ(engine()->ReceiveFile("capture"), 0);
    EXPECT_TRUE(xfertest::sameBytes(xfertest::readFile(dir / "capture"), data));
    EXPECT_TRUE(xfertest::sameBytes(monitor.shown, data));
    EXPECT_GE(clock.nowMs() - start, 10000);
    EXPECT_LT(clock.nowMs() - start, 10200);
}

TEST_F(Ascii, NothingReceivedIsATimeOutAndAbortIsTheUsers) {
    EXPECT_EQ(engine()->ReceiveFile("nothing"), GF_NO_ANSWER);
    EXPECT_TRUE(xfertest::exists(dir / "nothing"));
    link.Feed("some");
    monitor.abort = true;
    EXPECT_EQ(engine()->ReceiveFile("stopped"), GF_USER_ABORT);
}

}  // namespace
