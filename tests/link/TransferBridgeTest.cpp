// The transfer bridge without a real host: names both ways, the monitor's placing of files and
// its media start, the progress figures, and the bridge's dialogs and refusals on a fake link.
#include "auto/FileRecords.h"
#include "auto/Folders.h"
#include "link/TransferNames.h"
#include "tests/link/TransferSupport.h"
#include "tests/xfer/XferTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

// --- names ------------------------------------------------------------------------------------

TEST(TransferNames, HostNamesBecomeSafeUtf8Names) {
    const std::string hangul = utf8ToCp949("한글 파일.txt").value();
    const struct {
        std::string host;
        std::string local;
    } cases[] = {
        {hangul, "한글 파일.txt"},
        {"a/b", "a_b"},
        {"..", ""},
        {".", ""},
        {"\x01na\x7fme\x1b", "name"},
        {"\xff\xfe.bin", "__.bin"},  // no CP949 lead bytes
        {"ab\xb0", "ab_"},           // a lead byte without its trail
        {"\x81\x20x", "_ x"},        // a pair CP949 does not define
        {"plain.zip", "plain.zip"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(localFileName(c.host), c.local) << c.host;
}

TEST(TransferNames, AnnouncedNamesAreCp949WhenItHoldsThem) {
    EXPECT_EQ(hostFileName("/tmp/dir/가"), utf8ToCp949("가").value());
    EXPECT_EQ(hostFileName("dir/b"), "b");
    EXPECT_EQ(hostFileName("/x/\xF0\x9F\x98\x80.txt"), "\xF0\x9F\x98\x80.txt");
}

// --- monitor ----------------------------------------------------------------------------------

struct MediaCase {
    std::string name;
    bool sending;
    bool playMedia;
    unsigned long firstOpenAt;  // 0: never opened
};

TEST(TransferMonitor, MediaFilesOpenOnceWhenEnoughHasArrived) {
    const MediaCase cases[] = {
        {"song.mp3", false, true, 11264}, {"talk.RA", false, true, 11264},
        {"clip.vmi", false, true, 8192},  {"song.mp3", false, false, 0},
        {"song.mp3", true, true, 0},      {"notes.txt", false, true, 0},
    };
    for (const MediaCase& c : cases) {
        std::vector<std::string> opened;
        TransferMonitorSetup setup;
        setup.sending = c.sending;
        setup.downloadFolder = "/down";
        setup.playMedia = c.playMedia;
        setup.openMedia = [&](const std::string& path) { opened.push_back(path); };
        TransferMonitor monitor(setup);
        monitor.SetFileName(c.name.c_str());
        unsigned long openedAt = 0;
        for (unsigned long pos = 0; pos <= 30000; pos += 1024) {
            monitor.SetPos(pos);
            if (!opened.empty() && openedAt == 0) openedAt = pos;
        }
        EXPECT_EQ(opened.size(), c.firstOpenAt ? 1u : 0u) << c.name;
        if (c.firstOpenAt) {
            EXPECT_EQ(openedAt, c.firstOpenAt) << c.name;
            EXPECT_EQ(opened[0], "/down/" + c.name);
        }
    }
}

TEST(TransferMonitor, ReceivedFilesGoToTheDownloadFolderAChosenPathStays) {
    TransferMonitorSetup setup;
    setup.downloadFolder = "/down";
    TransferMonitor monitor(setup);
    monitor.SetFileName(utf8ToCp949("자료.zip").value().c_str());
    EXPECT_EQ(monitor.GetFileName(), "/down/자료.zip");
    EXPECT_EQ(monitor.Snapshot().fileName, "/down/자료.zip");
    monitor.SetFileName("/chosen/x.bin");
    EXPECT_EQ(monitor.GetFileName(), "/chosen/x.bin");
    monitor.SetFileName("\x01");
    EXPECT_EQ(monitor.GetFileName(), "/down/_");

    setup.sending = true;
    TransferMonitor sender(setup);
    sender.SetFileName("local/file.txt");
    EXPECT_EQ(sender.GetFileName(), "local/file.txt");
}

TEST(TransferMonitor, AbortIsReportedFromTheNextCheckOn) {
    TransferMonitor monitor(TransferMonitorSetup{});
    EXPECT_EQ(monitor.TransferAbort(), 0);
    monitor.Abort();
    EXPECT_EQ(monitor.TransferAbort(), TransferMonitor::kAbortCode);
    EXPECT_EQ(monitor.TransferAbort(), TransferMonitor::kAbortCode);
}

// --- progress figures -------------------------------------------------------------------------

TEST(TransferProgress, FiguresNeverDivideByZeroOrGoNegative) {
    const struct {
        const char* what;
        uint64_t position, length, recovered, totalBytes;
        int64_t atMs;
        uint64_t averageCps;
        int64_t remaining;
        int percent;
    } cases[] = {
        {"elapsed 0", 5000, 10000, 0, 0, 0, 0, 0, 50},
        {"steady", 10000, 50000, 0, 0, 1000, 8000, 5, 20},
        {"full resume", 50000, 50000, 50000, 0, 1000, 0, 0, 100},
        {"done past total", 60000, 50000, 0, 0, 2000, 24000, 0, 100},
        {"four-gigabyte file", 1ull << 32, 1ull << 33, 0, 0, 1000, (4ull << 32) / 5, 1, 50},
    };
    for (const auto& c : cases) {
        TransferProgress progress(1000);
        TransferSnapshot s;
        s.fileName = "/d/f";
        s.position = c.position;
        s.length = c.length;
        s.recovered = c.recovered;
        s.totalBytes = c.totalBytes;
        const TransferFigures f = progress.Update(s, 1000 + c.atMs);
        EXPECT_EQ(f.averageCps, c.averageCps) << c.what;
        EXPECT_EQ(f.remainingSeconds, c.remaining) << c.what;
        EXPECT_EQ(f.totalSeconds, c.remaining + c.atMs / 1000) << c.what;
        EXPECT_EQ(f.percent, c.percent) << c.what;
    }
}

TEST(TransferProgress, ClockAndMinimisedCaption) {
    EXPECT_EQ(clockText(0), "00:00:00");
    EXPECT_EQ(clockText(3 * 3600 + 25 * 60 + 7), "03:25:07");
    EXPECT_EQ(clockText(-5), "00:00:00");
    TransferFigures f;
    f.now.fileName = "/down/자료.zip";
    f.percent = 37;
    EXPECT_EQ(minimisedCaption(f), "37%/자료.zip");
}

// --- the bridge on a fake link ----------------------------------------------------------------

class TransferBridgeTest : public SessionTest {
protected:
    TransferBridgeTest() {
        start({"bbs.example"}, Clock::steady(), nullptr, &bridgeHooks);
        setOnline(true);
        bridgeHooks.bridge.Attach({*doc, loop, prompt, *registry, sound, frame});
        bridgeHooks.bridge.SetView(&progress);
    }
    ~TransferBridgeTest() override {
        bridgeHooks.bridge.Detach();
        doc.reset();
    }
    TransferBridge& bridge() { return bridgeHooks.bridge; }

    BridgeHooks bridgeHooks;
    RecordingTransferView progress;
};

TEST_F(TransferBridgeTest, ACancelledZmodemUploadPurgesThenSendsTenCanAndTenBs) {
    links.last->Feed("left over");
    bridge().OnZmodemRequest(kTWZmodemSend);
    ASSERT_EQ(prompt.filesAsked.size(), 1u);
    EXPECT_TRUE(prompt.filesAsked[0].choiceLocked);
    EXPECT_EQ(links.last->InputCount(), 0);
    EXPECT_EQ(sent(), std::string(10, '\x18') + std::string(10, '\x08'));
    EXPECT_FALSE(doc->TransferActive());

    // Another protocol's cancel sends nothing.
    bridge().StartTransfer("KERMIT", true, false);
    EXPECT_EQ(prompt.filesAsked[1].choice, 2);  // ZMODEM preselected
    EXPECT_FALSE(prompt.filesAsked[1].choiceLocked);
    EXPECT_EQ(sent().size(), 20u);
}

TEST_F(TransferBridgeTest, TheSendBoxGoesWithTheDialogsExtraButton) {
    bridge().StartTransfer("ZMODEM", true, false);
    EXPECT_EQ(prompt.filesAsked.back().extraButton, "");  // an empty send box offers nothing

    const std::string waiting = dir + "/waiting.txt";
    xfertest::writeFile(waiting, "queued");
    addToSendBox(*registry, {waiting});
    FileReply reply;
    reply.answer = FileAnswer::Extra;
    reply.choice = 0;  // XMODEM
    prompt.expectFile(reply);
    bridge().StartTransfer("ZMODEM", true, false);
    EXPECT_EQ(prompt.filesAsked.back().extraButton, TransferBridge::kSendBoxButton);
    EXPECT_TRUE(doc->TransferActive());
    bridge().Abort();
    ASSERT_TRUE(runUntil([&] { return !bridge().Running(); }, 30000));
}

TEST_F(TransferBridgeTest, AutomaticRequestsFollowTheirSettings) {
    setComm("AutoZmodemSend", "0");
    bridge().OnZmodemRequest(kTWZmodemSend);
    EXPECT_TRUE(prompt.filesAsked.empty());
    EXPECT_EQ(sent(), "");
}

TEST_F(TransferBridgeTest, HostImagesRefusedWithFiveCanWhenHitelImageIsOff) {
    setComm("HitelImage", "0");
    links.last->Feed("image bytes");
    bridge().OnHostImageTransfer();
    EXPECT_EQ(sent(), std::string(5, '\x18'));
    EXPECT_EQ(links.last->InputCount(), 0);
    EXPECT_FALSE(doc->TransferActive());
}

TEST_F(TransferBridgeTest, XmodemAndAsciiAskForTheirFileYmodemDoesNot) {
    for (const char* protocol : {"XMODEM", "ASCII"}) {
        bridge().StartTransfer(protocol, false, false);
        ASSERT_FALSE(prompt.filesAsked.empty());
        EXPECT_EQ(prompt.filesAsked.back().caption, std::string(protocol) + " 받을 파일명 지정");
        EXPECT_EQ(prompt.filesAsked.back().kind, FileDialogKind::Save);
        EXPECT_EQ(prompt.filesAsked.back().folder, GetFolder(*registry, FolderKind::Download));
        EXPECT_FALSE(doc->TransferActive());  // cancelled: nothing starts
    }
    const size_t asked = prompt.filesAsked.size();
    bridge().StartTransfer("YMODEM", false, false);
    EXPECT_EQ(prompt.filesAsked.size(), asked);
    EXPECT_TRUE(doc->TransferActive());
    EXPECT_EQ(progress.opened, std::vector<bool>{false});

    // One transfer at a time.
    bridge().StartTransfer("XMODEM", false, false);
    EXPECT_EQ(prompt.filesAsked.size(), asked);

    // An abort ends it without a failure message or the failure sound.
    bridge().Abort();
    ASSERT_TRUE(runUntil([&] { return !doc->TransferActive() && !bridge().Running(); }, 30000));
    EXPECT_EQ(doc->TransferResult(), TransferMonitor::kAbortCode);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(progress.closed, 1);
}

// The engines end with their own error codes; each failure not aborted is told by direction.
TEST_F(TransferBridgeTest, AnEngineErrorEndsWithTheFailureMessageOfItsDirection) {
    const std::string cancel = std::string(10, '\x18') + std::string(10, '\x08');
    const std::string unwritable = dir + "/missing/x.bin";
    const std::string file = dir + "/up.bin";
    xfertest::writeFile(file, std::string(300, 'u'));
    const struct {
        const char* what;
        const char* protocol;
        int choice;  // in the send dialog's protocol list
        bool send;
        std::string path;
        std::string host;
        int code;
    } cases[] = {
        {"XMODEM receive into a missing folder", "XMODEM", 0, false, unwritable, "",
         GF_OPEN_FAILED},
        {"XMODEM receive cancelled by the host", "XMODEM", 0, false, dir + "/x.bin", cancel,
         GF_REMOTE_CANCEL},
        {"ZMODEM receive cancelled by the host", "ZMODEM", 2, false, "", cancel, GF_REMOTE_CANCEL},
        {"XMODEM send cancelled by the host", "XMODEM", 0, true, file, cancel, GF_REMOTE_CANCEL},
        {"ZMODEM send cancelled by the host", "ZMODEM", 2, true, file, cancel, GF_REMOTE_CANCEL},
    };
    for (const auto& c : cases) {
        prompt.asked.clear();
        if (!c.path.empty()) {
            FileReply reply;
            reply.answer = FileAnswer::Accepted;
            reply.paths = {c.path};
            reply.choice = c.choice;
            prompt.expectFile(reply);
        }
        links.last->answer = c.host;
        bridge().StartTransfer(c.protocol, c.send, false);
        ASSERT_TRUE(doc->TransferActive()) << c.what;
        ASSERT_TRUE(runUntil([&] { return !bridge().Running(); }, 60000)) << c.what;
        EXPECT_EQ(doc->TransferResult(), c.code) << c.what;
        // The engine may have told its own reason first.
        ASSERT_FALSE(prompt.asked.empty()) << c.what;
        EXPECT_EQ(prompt.asked.back().text,
                  c.send ? "파일 보내기가 실패했습니다." : "파일 받기가 실패했습니다.")
            << c.what;
        EXPECT_EQ(prompt.asked.back().icon, PromptIcon::Warning) << c.what;
    }
}

TEST_F(TransferBridgeTest, AnEngineThatCannotBeMadeLeavesTheLinkUsable) {
    bridge().StartTransfer("NO SUCH", false, false);
    EXPECT_FALSE(doc->TransferActive());
    EXPECT_FALSE(bridge().Running());
    doc->SendLine("hi");
    EXPECT_EQ(sent(), "hi\r");
}

}  // namespace
