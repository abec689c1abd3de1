// The session document over fake links with scripted answers: start modes, connections, the
// pump and its reactions, sending, the paste job, answer mode and the closing questions.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "auto/CRecordStore.h"
#include "auto/ProfileLayout.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/link/SessionTestSupport.h"
#include "xfer/GFErrors.h"

void ThreadTransfer::run(FakeLink& link, const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    while ((ignoreCancel_ || !cancelled_) && !link.closed) {
        file << "block\n" << std::flush;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    finished_ = true;
}

namespace {

bool fileHasData(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) > 0 && !error;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Start and connections

TEST_F(SessionTest, TelnetStartOpensNoPortAndModemStartInitialisesTheModem) {
    addModem();
    start();
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kTelnetMode);
    EXPECT_TRUE(links.modemsOpened.empty());
    EXPECT_FALSE(doc->LinkOpen());
    doc.reset();

    setComm("InitMode", "0");
    start();
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kModemMode);
    ASSERT_EQ(links.modemsOpened.size(), 1u);
    EXPECT_EQ(links.modemsOpened[0].name, "Modem");
    EXPECT_FALSE(links.modemsOpened[0].directCable);
    EXPECT_EQ(frame.linkMode, 1);
    EXPECT_EQ(frame.modemDevice, "Modem");
    EXPECT_EQ(view.Text(0), cp("모뎀을 초기화합니다..."));
    EXPECT_EQ(sent(), "ATZ\r");
    EXPECT_EQ(links.last->flushes, (std::vector<int>{1, 0}));  // output flushed, input purged
}

// The longer pause some modems need after opening ends early when the user types.
TEST_F(SessionTest, ModemInitDelayPausesUntilAKeyEndsItEarly) {
    addModem();
    setComm("InitMode", "0");
    setComm("ModemInitDelay", "1");
    std::string sentBeforeKey = "unset";
    loop.addTimer(1000, false, [&] {
        sentBeforeKey = sent();
        loop.interruptWait();  // what a typed key does
    });
    const int64_t before = Clock::steady().nowMs();
    start();
    const int64_t took = Clock::steady().nowMs() - before;
    EXPECT_EQ(sentBeforeKey, "");  // still pausing after a second
    EXPECT_EQ(sent(), "ATZ\r");
    EXPECT_GE(took, 1000);
    EXPECT_LT(took, 1900);  // not the whole two seconds
}

TEST_F(SessionTest, DirectCableSendsALoneCrAndRefusesToDial) {
    useDirectCable();
    setComm("InitMode", "0");
    start();
    ASSERT_EQ(links.modemsOpened.size(), 1u);
    EXPECT_TRUE(links.modemsOpened[0].directCable);
    EXPECT_EQ(view.Text(0), cp("널 모뎀을 초기화합니다..."));
    EXPECT_EQ(sent(), "\r");
    EXPECT_FALSE(doc->ToggleAnswerMode());

    EXPECT_FALSE(doc->ConnectEntry({{"Title", "BBS"}, {"Type", "0"}}));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "널 모뎀에서는 전화를 걸 수 없습니다. 모뎀 설정을 확인해 보십시오.");
    EXPECT_TRUE(hooks.dialled.empty());
}

TEST_F(SessionTest, NoModemIsToldAndAFailedOpenOffersTheSettings) {
    setComm("InitMode", "0");
    start();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "설정된 모뎀이 없습니다.");
    EXPECT_FALSE(doc->LinkOpen());

    addModem();
    links.failModem = true;
    prompt.expect(PromptAnswer::Yes);
    EXPECT_FALSE(doc->ConnectEntry({{"Title", "BBS"}, {"Type", "0"}}));
    EXPECT_EQ(prompt.asked.back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(frame.settingsOpened, 1);
}

TEST_F(SessionTest, TelnetConnectTakesTheAddressFormsAndTheLineOptions) {
    setSetting("Terminal", "Recv LF2CRLF", "1");
    start({"telnet://bbs.example.org/"});
    ASSERT_EQ(links.telnetCalls.size(), 1u);
    EXPECT_EQ(links.telnetCalls[0], (std::pair<std::string, int>{"bbs.example.org", 23}));
    EXPECT_EQ(frame.title, "bbs.example.org");
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kTelnetMode);
    EXPECT_TRUE(doc->LinkOpen());

    // The interpreter was given "Recv LF2CRLF": a bare LF starts the next line at column 0.
    links.last->Feed("ab\ncd");
    settle();
    EXPECT_EQ(view.Text(0), "ab");
    EXPECT_EQ(view.Text(1), "cd");

    EXPECT_TRUE(doc->Connect("host.example:2323"));
    EXPECT_EQ(links.telnetCalls.back(), (std::pair<std::string, int>{"host.example", 2323}));
    EXPECT_EQ(frame.title, "host.example:2323");

    doc->OpenCommandLine({"10.0.0.1", "2000"});
    EXPECT_EQ(links.telnetCalls.back(), (std::pair<std::string, int>{"10.0.0.1", 2000}));
    EXPECT_EQ(frame.title, "10.0.0.1:2000");

    links.failTelnet = true;
    EXPECT_FALSE(doc->Connect("gone.example"));
    EXPECT_FALSE(doc->LinkOpen());
}

TEST_F(SessionTest, RecvCr2CrlfStartsANewLineAfterEachCr) {
    setSetting("Terminal", "Recv CR2CRLF", "1");
    start({"bbs.example"});
    links.last->Feed("ab\rcd\r\nef");
    settle();
    EXPECT_EQ(view.Text(0), "ab");
    EXPECT_EQ(view.Text(1), "cd");
    EXPECT_EQ(view.Text(2), "");  // CR LF from the host: the added LF and its own
    EXPECT_EQ(view.Text(3), "ef");
}

TEST_F(SessionTest, UseJohabShowsAndSendsJohabAndSilentIsTakenFromTheSettings) {
    start({"bbs.example"});
    EXPECT_FALSE(doc->UseJohab());
    EXPECT_FALSE(doc->Silent());
    EXPECT_FALSE(view.JohabDisplay());
    doc->SendText(cp("가"));
    EXPECT_EQ(sent(), cp("가"));
    doc.reset();

    setSetting("Settings", "UseJohab", "1");
    setSetting("Settings", "Silent", "1");
    start({"bbs.example"});
    EXPECT_TRUE(doc->UseJohab());
    EXPECT_TRUE(doc->Silent());
    EXPECT_TRUE(view.JohabDisplay());
    // KS C 5601 "가" (B0 A1) goes out as Johab 88 61; Johab from the host is shown as KS.
    doc->SendText(cp("가") + "a");
    const std::string johabGa = "\x88\x61";
    EXPECT_EQ(sent(), johabGa + "a");
    links.last->Feed(johabGa + "b");
    settle();
    EXPECT_EQ(view.Text(0), cp("가") + "b");
}

TEST_F(SessionTest, BadCommandLinesAreRefusedInKorean) {
    start({"/t"});
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "/t 다음에 텔넷 연결 이름을 입력하십시오.");
    EXPECT_TRUE(links.telnetCalls.empty());

    EXPECT_FALSE(doc->Connect("host:abc"));
    EXPECT_EQ(prompt.asked.back().text, "포트 번호가 올바르지 않습니다: abc");
    EXPECT_FALSE(doc->OpenCommandLine({"/t", "없는", "연결"}));
    EXPECT_EQ(prompt.asked.back().text, "\"없는 연결\" 연결을 찾을 수 없습니다.");
    EXPECT_TRUE(links.telnetCalls.empty());
}

TEST_F(SessionTest, StoredEntriesConnectAndAModemEntryWaitsForTheFirstIdlePass) {
    addModem();
    addEntry(RecordKind::TelnetEntry,
             {{"Title", cp("예제 텔넷 BBS")}, {"Type", "1"}, {"Server", "bbs.example:2323"}});
    addEntry(RecordKind::ModemEntry,
             {{"Title", cp("하이텔")}, {"Type", "0"}, {"Phone", ":01410::1"}});
    start({"/t", "예제", "텔넷", "BBS"});
    EXPECT_EQ(links.telnetCalls.back(), (std::pair<std::string, int>{"bbs.example", 2323}));
    EXPECT_EQ(doc->CurrentEntry(), cp("예제 텔넷 BBS"));
    doc.reset();

    start({"/m", "하이텔"});
    EXPECT_EQ(doc->StartMode(), CQuillonDoc::kModemMode);
    EXPECT_TRUE(doc->PendingDial());  // not while the modem was being initialised
    EXPECT_TRUE(hooks.dialled.empty());
    EXPECT_EQ(sent(), "ATZ\r");
    doc->OnIdle();
    EXPECT_TRUE(doc->PendingDial());  // nor before the modem answered it
    doc->ProcessLine("ATZ", false);
    doc->ProcessLine("OK", true);
    doc->OnIdle();
    EXPECT_TRUE(doc->PendingDial());
    doc->ProcessLine("OK", false);
    doc->OnIdle();
    EXPECT_FALSE(doc->PendingDial());
    ASSERT_EQ(hooks.dialled.size(), 1u);
    EXPECT_EQ(hooks.dialled[0].at("Phone"), ":01410::1");
    EXPECT_EQ(doc->CurrentEntry(), cp("하이텔"));
    doc.reset();
    hooks.dialled.clear();

    // A modem that does not answer its initialisation is dialled after a while all the same.
    start({"/m", "하이텔"});
    EXPECT_TRUE(runUntil([&] { return !hooks.dialled.empty(); }));
    EXPECT_FALSE(doc->PendingDial());

    // "Ruzedaz" entries go to the internet connection instead of the dialler.
    doc->ConnectEntry({{"Title", "PPP"}, {"Type", "0"}, {"Dialer", "Ruzedaz"}});
    ASSERT_EQ(hooks.internet.size(), 1u);
    EXPECT_EQ(hooks.internet[0].second, "Ruzedaz");
    EXPECT_EQ(hooks.dialled.size(), 1u);
}

TEST_F(SessionTest, ABusySessionHandsConnectionsToANewCopyAsSeparateWords) {
    start({"bbs.example"});
    setOnline(true);
    EXPECT_TRUE(doc->ConnectEntry({{"Title", cp("하이텔 접속")}, {"Type", "0"}}));
    EXPECT_TRUE(doc->ConnectEntry({{"Title", "a; rm -rf ~"}, {"Type", "1"}}));
    EXPECT_TRUE(doc->OpenCommandLine({"other.example", "2323"}));
    ASSERT_EQ(frame.handOffs.size(), 3u);
    EXPECT_EQ(frame.handOffs[0], (std::vector<std::string>{"/m", "하이텔 접속"}));
    EXPECT_EQ(frame.handOffs[1], (std::vector<std::string>{"/t", "a; rm -rf ~"}));
    EXPECT_EQ(frame.handOffs[2], (std::vector<std::string>{"other.example", "2323"}));
    // The first session is untouched.
    EXPECT_EQ(links.telnetCalls.size(), 1u);
    EXPECT_TRUE(doc->Online());
    EXPECT_EQ(frame.title, "bbs.example");
}

TEST_F(SessionTest, ModeSwitchesOpenAndDropTheModem) {
    addModem();
    start();
    doc->SwitchToModemMode();
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kModemMode);
    EXPECT_EQ(links.modemsOpened.size(), 1u);
    EXPECT_TRUE(doc->LinkOpen());
    doc->SwitchToTelnetMode();
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kTelnetMode);
    EXPECT_FALSE(doc->LinkOpen());
    EXPECT_EQ(frame.clears, 1);
    EXPECT_EQ(frame.linkMode, 2);

    // Not while online.
    doc->Connect("bbs.example");
    setOnline(true);
    doc->SwitchToModemMode();
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kTelnetMode);
    EXPECT_EQ(links.modemsOpened.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// The pump

TEST_F(SessionTest, PumpReturnsAtOnceWithoutDataAndStopsAtItsTimeLimit) {
    start();
    EXPECT_EQ(doc->Pump(90), kTWNoData);  // no link
    doc->Connect("bbs.example");
    const int64_t before = Clock::steady().nowMs();
    EXPECT_EQ(doc->Pump(90), kTWNoData);
    EXPECT_LT(Clock::steady().nowMs() - before, 50);
    EXPECT_FALSE(doc->MoreData());

    // A clock that jumps a second per reading ends the pass after one batch of text.
    class JumpingClock : public Clock {
    public:
        int64_t nowMs() const override { return now_ += 1000; }
        void sleepMs(int) override {}

    private:
        mutable int64_t now_ = 0;
    } jumping;
    doc.reset();
    start({"bbs.example"}, jumping);
    links.last->Feed(std::string(5000, 'x'));
    EXPECT_GE(doc->Pump(90), 0);
    EXPECT_TRUE(doc->MoreData());
    EXPECT_GT(links.last->InputCount(), 4000);

    doc->SetPumpSuspended(true);
    EXPECT_EQ(doc->Pump(90), kTWNoData);
    frame.scrolledBack = true;
    doc->SetPumpSuspended(false);
    doc->OnIdle();  // scrolled back: the bytes wait in the link
    EXPECT_GT(links.last->InputCount(), 4000);
}

TEST_F(SessionTest, OnlineChangesRunConnectAndDisconnectOnce) {
    start({"bbs.example"});
    EXPECT_EQ(frame.title, "bbs.example");
    setOnline(true);
    EXPECT_TRUE(doc->Online());
    EXPECT_EQ(frame.onlineChanges, (std::vector<bool>{true}));
    EXPECT_EQ(hooks.connectionChanges, (std::vector<bool>{true}));
    doc->OnIdle();
    EXPECT_EQ(frame.onlineChanges.size(), 1u);

    doc->Paste(std::string(100000, 'p'));
    setOnline(false);
    EXPECT_EQ(frame.onlineChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(frame.title, "");
    EXPECT_EQ(doc->CurrentEntry(), cp("기본"));
    EXPECT_FALSE(doc->PasteRunning());
}

TEST_F(SessionTest, StatusCodesReachTheirReactionsAndAColumnResetSendsCr) {
    start({"bbs.example"});
    links.last->Feed(
        "**\x18"
        "B00");
    settle();
    links.last->Feed(
        "**\x18"
        "B01");
    settle();
    links.last->Feed("\x1b[?3l");
    settle();
    EXPECT_EQ(hooks.events, (std::vector<int>{-806, -807}));
    EXPECT_EQ(sent(), "\r");

    // Videotex (its page ended at once), a picture's start and end, and a picture sent by the
    // host.
    hooks.events.clear();
    const std::vector<std::string> codes = {"\x1b%A\x1b%@", "\x1b%B4", "\x1b&C",
                                            std::string("\x18\n**\x18") + "B00"};
    for (const std::string& code : codes) {
        links.last->Feed(code);
        settle();
    }
    EXPECT_EQ(hooks.events, (std::vector<int>{-808, -815, -811, -817}));
}

TEST_F(SessionTest, SettledInputIsReportedOnlyOnlineWithNothingQueued) {
    start({"bbs.example"});
    links.last->Feed("login: ");
    doc->OnIdle();
    EXPECT_EQ(hooks.settled, 0);  // offline

    links.last->Feed("password: ");
    setOnline(true);
    EXPECT_EQ(hooks.settled, 1);
    EXPECT_EQ(view.Text(0), "login: password:");

    links.last->drained = false;  // the link still holds bytes on its way
    doc->OnIdle();
    EXPECT_EQ(hooks.settled, 1);
    links.last->drained = true;
    doc->OnIdle();
    EXPECT_EQ(hooks.settled, 2);
}

TEST_F(SessionTest, ConnectingAndDisconnectingPlayTheirSounds) {
    for (const auto& [event, file] : {std::pair<std::string, std::string>{"연결", "/snd/on.wav"},
                                      {"연결 끊김", "/snd/off.wav"}}) {
        auto key = registry->createPath(soundEventsPath() + "\\" + cp(event) + "\\.current");
        ASSERT_TRUE(key);
        ASSERT_TRUE(registry->setValue(*key, "", file));
    }
    start({"bbs.example"});
    EXPECT_TRUE(sound.played.empty());
    setOnline(true);
    doc->OnIdle();
    setOnline(false);
    using Played = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(sound.played, (Played{{"/snd/on.wav", false}, {"/snd/off.wav", false}}));

    setSetting("Settings", "UseSound", "0");
    setOnline(true);
    EXPECT_EQ(sound.played.size(), 2u);
}

TEST_F(SessionTest, APartialLineIsOfferedOncePerPause) {
    start({"bbs.example"});
    links.last->Feed("login: ");
    settle();
    doc->OnIdle();
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0], "login: ");
    EXPECT_TRUE(view.partials[0]);

    links.last->Feed("guest\r\n");
    settle();
    ASSERT_EQ(view.lines.size(), 2u);
    EXPECT_EQ(view.lines[1], "login: guest");
    EXPECT_FALSE(view.partials[1]);
}

// ---------------------------------------------------------------------------------------------
// Sending

TEST_F(SessionTest, SendLineDropsLineFeedsAndEndsWithOneCrInOneGroup) {
    start({"bbs.example"});
    doc->SendLine("ab\ncd");
    doc->SendLine("");
    doc->SendText("x\ny");
    EXPECT_EQ(sent(), "abcd\r\rxy");
    const auto& groups = links.last->Groups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0], (std::pair<size_t, size_t>{0, 5}));

    EXPECT_TRUE(doc->SendRawByte(0xFF));
    EXPECT_TRUE(doc->SendKey(TWKey::F1, 0));
    EXPECT_EQ(sent().substr(8), "\xFF\x1b[11~");
}

TEST_F(SessionTest, ATransferOwnsTheLinkUntilItEnds) {
    start({"bbs.example"});
    setOnline(true);
    doc->BeginTransfer(std::make_unique<ThreadTransfer>(*links.last, dir + "/busy", false));
    links.last->Feed("hello");
    EXPECT_TRUE(doc->SendByte('a'));
    EXPECT_FALSE(doc->SendKey(TWKey::Up, 0));
    doc->SendLine("text");
    EXPECT_EQ(doc->Pump(90), kTWNoData);
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(links.last->InputCount(), 5);

    doc->EndTransfer(GF_OK);
    EXPECT_FALSE(doc->TransferActive());
    settle();
    EXPECT_EQ(view.Text(0), "hello");
}

// ---------------------------------------------------------------------------------------------
// Paste

TEST_F(SessionTest, PasteGoesOutInBoundedPiecesWithoutLineFeeds) {
    start({"bbs.example"});
    doc->Paste("ignored while offline");
    EXPECT_FALSE(doc->PasteRunning());
    setOnline(true);

    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    doc->Paste(text);
    doc->OnIdle();
    EXPECT_EQ(sent().size(), PasteJob::kBytesPerPass);
    settle();
    std::string expected;
    for (char c : text)
        if (c != '\n') expected += c;
    EXPECT_EQ(sent(), expected);
    EXPECT_FALSE(doc->PasteRunning());
}

TEST_F(SessionTest, PasteWaitsForOutputRoomWithoutSpinning) {
    start({"bbs.example"});
    setOnline(true);
    links.last->backlog = 1;
    doc->Paste(std::string(500, 'q'));
    settle();
    EXPECT_EQ(sent(), "");
    EXPECT_TRUE(doc->PasteRunning());

    links.last->backlog = 0;
    loop.runFor(50);  // the retry timer looks again
    EXPECT_EQ(sent(), std::string(500, 'q'));
    EXPECT_FALSE(doc->PasteRunning());
    // Each piece went out as one group.
    EXPECT_EQ(links.last->Groups().front(), (std::pair<size_t, size_t>{0, PasteJob::kPiece}));
}

TEST_F(SessionTest, EscAsksBeforeCancellingAPaste) {
    start({"bbs.example"});
    EXPECT_FALSE(doc->OnEscape());
    setOnline(true);
    links.last->backlog = 1;
    doc->Paste("text");
    prompt.expect(PromptAnswer::No);
    EXPECT_TRUE(doc->OnEscape());
    EXPECT_TRUE(doc->PasteRunning());
    prompt.expect(PromptAnswer::Yes);
    EXPECT_TRUE(doc->OnEscape());
    EXPECT_EQ(prompt.asked.back().text, "붙여넣기 중입니다. 붙여넣기를 취소할까요?");
    EXPECT_FALSE(doc->PasteRunning());
}

// ---------------------------------------------------------------------------------------------
// Answer mode

TEST_F(SessionTest, AnswerModeWaitsOfflineAndOnlyEchoesOnline) {
    addModem();
    setComm("InitMode", "0");
    start();
    links.last->ClearOutput();
    EXPECT_TRUE(doc->ToggleAnswerMode());
    EXPECT_TRUE(doc->AnswerMode());
    EXPECT_EQ(sent(), "ATS0=2\r");
    EXPECT_EQ(view.Text(2), cp("접속을 기다립니다..."));
    EXPECT_TRUE(doc->ToggleAnswerMode());
    EXPECT_EQ(sent(), "ATS0=2\rATS0=0\r");

    setOnline(true);
    links.last->ClearOutput();
    doc->SetAnswerMode(true);
    EXPECT_EQ(sent(), "");
    links.last->Feed("hi\r");
    settle();
    EXPECT_EQ(sent(), "hi\r\n");  // answer echo

    // Answer mode goes with the modem: a telnet connection afterwards does not echo.
    setOnline(false);
    EXPECT_TRUE(doc->ToggleAnswerMode());
    doc->SwitchToTelnetMode();
    EXPECT_FALSE(doc->AnswerMode());
    EXPECT_FALSE(doc->ToggleAnswerMode());
    doc->Connect("bbs.example");
    setOnline(true);
    links.last->Feed("hi\r");
    settle();
    EXPECT_EQ(sent(), "");
}

// ---------------------------------------------------------------------------------------------
// Hanging up and closing

TEST_F(SessionTest, ClosingATelnetSessionAsksOkOrCancel) {
    EXPECT_TRUE(start().QueryClose());
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(loop.closeRequested());
}

TEST_F(SessionTest, ClosingWhileConnectedByTelnetAsksAndHangsUpOnOk) {
    start({"bbs.example"});
    setOnline(true);
    prompt.expect(PromptAnswer::Cancel);
    EXPECT_FALSE(doc->QueryClose());
    EXPECT_EQ(prompt.asked[0].text, "bbs.example에 연결중입니다.\n\n연결을 끊습니다.");
    EXPECT_TRUE(doc->LinkOpen());
    prompt.expect(PromptAnswer::Ok);
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_TRUE(doc->Closing());
    EXPECT_FALSE(doc->LinkOpen());
}

TEST_F(SessionTest, ClosingWhileConnectedByModemHangsUpOrExplains) {
    addModem();
    setComm("InitMode", "0");
    start();
    doc->ConnectEntry({{"Title", cp("하이텔")}, {"Type", "0"}});
    setOnline(true);
    // No, with the port dropping the line on closing: the explanation, and the program stays.
    prompt.expect(PromptAnswer::No);
    EXPECT_FALSE(doc->QueryClose());
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_TRUE(prompt.asked[1].text.starts_with("전화를 안 끊고 끝내려면 통신설정 대화상자의"));
    EXPECT_EQ(prompt.asked[1].buttons, PromptButtons::Ok);

    prompt.expect(PromptAnswer::Cancel);
    EXPECT_FALSE(doc->QueryClose());
    EXPECT_TRUE(links.hangUps.empty());

    prompt.expect(PromptAnswer::Yes);
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_EQ(links.hangUps, std::vector<int>{1});
}

TEST_F(SessionTest, ModemDtrOffClosesWithoutHangingUp) {
    addModem();
    setComm("InitMode", "0");
    setComm("ModemDtrOff", "1");
    start();
    setOnline(true);
    prompt.expect(PromptAnswer::No);
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_TRUE(links.hangUps.empty());
}

TEST_F(SessionTest, HangUpClosesTelnetWithAMessage) {
    start({"bbs.example"});
    setOnline(true);
    doc->HangUp(false);
    EXPECT_EQ(links.hangUps, std::vector<int>{0});
    doc->OnIdle();
    EXPECT_FALSE(doc->Online());
    bool shown = false;
    for (int y = 0; y < view.Rows(); ++y)
        shown |= view.Text(y) == "Connection closed.";
    EXPECT_TRUE(shown);
}

TEST_F(SessionTest, ClosingDuringATransferNoKeepsItRunningYesWaitsForItsThread) {
    start({"bbs.example"});
    setOnline(true);
    const std::string partial = dir + "/partial.bin";
    doc->BeginTransfer(std::make_unique<ThreadTransfer>(*links.last, partial, false));
    ASSERT_TRUE(runUntil([&] { return fileHasData(partial); }));
    prompt.expect(PromptAnswer::No);
    EXPECT_FALSE(doc->QueryClose());
    EXPECT_TRUE(doc->TransferActive());
    EXPECT_EQ(prompt.asked.back().text, "파일 전송 중입니다. 파일 전송을 취소할까요?.");

    prompt.expect(PromptAnswer::Yes);
    prompt.expect(PromptAnswer::Ok);  // the telnet question after it
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_FALSE(doc->TransferActive());
    EXPECT_EQ(doc->TransferResult(), GF_USER_ABORT);
    EXPECT_EQ(frame.statuses.back(), "파일 전송을 취소하고 있습니다...");
    EXPECT_TRUE(fileHasData(partial));  // the partial file stays
}

TEST_F(SessionTest, AStuckTransferIsCutOffByShuttingTheLinkDown) {
    ScaledClock fast(200);  // the ten seconds of grace pass in 50 ms
    start({"bbs.example"}, fast);
    setOnline(true);
    FakeLink* link = links.last;
    doc->BeginTransfer(std::make_unique<ThreadTransfer>(*link, dir + "/stuck", true));
    prompt.expect(PromptAnswer::Yes);
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_FALSE(doc->TransferActive());
    EXPECT_FALSE(doc->LinkOpen());
}

TEST_F(SessionTest, ClosingAsksAboutTheDialUpConnectionAndEndsItOnYes) {
    hooks.internetName = "하이텔 PPP";
    start();
    prompt.expect(PromptAnswer::No);
    EXPECT_TRUE(doc->QueryClose());  // No keeps the connection up; the program still closes
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "\"하이텔 PPP\"을(를) 통해 인터넷에 연결 중입니다. 연결을 끊습니다.");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(hooks.internetHangUps, 0);
    doc.reset();

    start();
    prompt.expect(PromptAnswer::Yes);
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_EQ(hooks.internetHangUps, 1);
}

// A signal or a lost terminal: nothing is asked, the transfer is stopped and waited for, and
// what it wrote stays.
TEST_F(SessionTest, ClosingWithoutQuestionsStopsATransferAndKeepsItsFile) {
    start({"bbs.example"});
    setOnline(true);
    const std::string partial = dir + "/partial.bin";
    doc->BeginTransfer(std::make_unique<ThreadTransfer>(*links.last, partial, false));
    ASSERT_TRUE(runUntil([&] { return fileHasData(partial); }));
    doc->CloseWithoutQuestions();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(doc->TransferActive());
    EXPECT_EQ(doc->TransferResult(), GF_USER_ABORT);
    EXPECT_TRUE(doc->Closing());
    EXPECT_FALSE(doc->LinkOpen());
    EXPECT_TRUE(loop.closeRequested());
    std::error_code error;
    const auto size = std::filesystem::file_size(partial, error);
    EXPECT_FALSE(error);
    EXPECT_GT(size, 0u);
    EXPECT_EQ(size % 6, 0u);  // whole "block\n" records: the thread finished before the close
}

TEST_F(SessionTest, ClosingWithoutQuestionsDuringAPasteStopsIt) {
    start({"bbs.example"});
    setOnline(true);
    const std::string text(20000, 'p');
    doc->Paste(text);
    doc->OnIdle();
    const std::string before = sent();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(doc->PasteRunning());
    doc->CloseWithoutQuestions();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(doc->PasteRunning());
    EXPECT_FALSE(doc->LinkOpen());
    EXPECT_TRUE(doc->Closing());
    EXPECT_FALSE(doc->OnIdle());  // nothing left to send with
}
