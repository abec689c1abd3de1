// The line pipeline of the session over fake links: the current service and its values, the
// start prompt, auto macros firing once per line, their paced replies, reloads and the toggles;
// keyboard macros: hot keys posted and consumed, the table following the service and the
// page's notice, macros queued rather than interleaved.
#include "auto/CRecordStore.h"
#include "auto/MacroTable.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class AutoMacroSessionTest : public SessionTest {
protected:
    AutoMacroSessionTest() {
        service = cp("테스트");
        CRecordStore store(*registry);
        EXPECT_TRUE(store.SelectKind(RecordKind::Service));
        std::optional<RegKey> key = store.AddRecord(store.Section());
        EXPECT_TRUE(key && store.WriteRecord(*key, {{"Title", service},
                                                    {cp("시작 프롬프트"), "MENU>"},
                                                    {cp("시작 명령"), "go"}}));
        entry = {{"Title", "bbs"}, {"Type", "1"}, {"Host", service}, {"Server", "bbs.example"}};
    }

    void saveRules(const std::vector<Record>& rules) {
        ASSERT_TRUE(CRecordStore(*registry).SaveList(service, RecordKind::AutoMacro, rules));
    }
    void connect() {
        if (!doc) start();
        ASSERT_TRUE(doc->ConnectEntry(entry));
        setOnline(true);
    }
    // Bytes from the host, then the loop runs as the program runs it (so that a paced reply's
    // pauses are real waits, not nested ones).
    void receive(const std::string& bytes, int ms = 150) {
        links.last->Feed(bytes);
        runLoop(ms);
    }
    void runLoop(int ms) {
        loop.addTimer(ms, false, [this] { loop.quit(); });
        loop.kickIdle();
        loop.run();
    }

    std::string service;
    Record entry;
};

TEST_F(AutoMacroSessionTest, ServiceFollowsTheEntryAndFallsBackOnDisconnect) {
    start();
    EXPECT_EQ(doc->CurrentService(), cp("기본"));
    saveRules({{{"Title", "a"}, {"Pattern", "x"}}});
    connect();
    EXPECT_EQ(doc->CurrentService(), service);
    EXPECT_EQ(doc->ServiceMap().at(cp("시작 명령")), "go");
    EXPECT_EQ(doc->AutoMacros().Records().size(), 1u);
    setOnline(false);
    EXPECT_EQ(doc->CurrentService(), cp("기본"));
    EXPECT_TRUE(doc->AutoMacros().Records().empty());
    EXPECT_TRUE(doc->ServiceMap().empty());
    EXPECT_GE(frame.serviceChanges, 3);
}

TEST_F(AutoMacroSessionTest, FirstRuleOnFiresOncePerLineAndPartialLinesAreNotRepeated) {
    saveRules({{{"Title", "off"}, {"Pattern", "login"}, {"SendString", "no"}, {"Off", "1"}},
               {{"Title", "id"}, {"Pattern", "login:"}, {"SendString", "guest<Enter>"}},
               {{"Title", "also"}, {"Pattern", "log"}, {"SendString", "no"}},
               {{"Title", "echo"}, {"Pattern", "say %1"}, {"SendString", "[%1]"}}});
    connect();
    receive("login: ");
    EXPECT_EQ(sent(), "guest\r");
    receive("\r\n");  // the rest of the line that fired
    EXPECT_EQ(sent(), "guest\r");
    links.last->ClearOutput();
    receive("say hello world\r\nsay (x)\r\nab\r\n");
    EXPECT_EQ(sent(), "[hello][(x)]");  // the last capture may hold parentheses
    EXPECT_EQ(links.last->Groups().size(), 2u);
}

TEST_F(AutoMacroSessionTest, StartPromptOncePerConnectionAndAgainAfterReconnecting) {
    connect();
    receive("MENU>");
    receive("\r\nMENU>");
    EXPECT_EQ(sent(), "go\r");
    EXPECT_EQ(frame.bookmarksShown, 1);
    setOnline(false);
    ASSERT_TRUE(doc->ConnectEntry(entry));
    setOnline(true);
    receive("MENU>");
    EXPECT_EQ(sent(), "go\r");
    EXPECT_EQ(frame.bookmarksShown, 2);
}

TEST_F(AutoMacroSessionTest, UseAutoMacroOffStopsFiringAndIsStored) {
    saveRules({{{"Title", "a"}, {"Pattern", "ping"}, {"SendString", "pong"}}});
    connect();
    EXPECT_TRUE(doc->UseAutoMacro());
    EXPECT_FALSE(doc->ToggleUseAutoMacro());
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("UseAutoMacro", 1), 0);
    receive("ping\r\n");
    EXPECT_EQ(sent(), "");
    doc->ToggleUseAutoMacro();
    receive("ping\r\n");
    EXPECT_EQ(sent(), "pong");
}

TEST_F(AutoMacroSessionTest, SavedListsAreReloadedAndTogglesSavedOnlyWhileConnected) {
    start();
    saveRules({{{"Title", "a"}, {"Pattern", "ping"}, {"SendString", "pong"}}});
    ASSERT_TRUE(doc->ConnectEntry(entry));
    EXPECT_TRUE(doc->ToggleAutoMacro(0));  // not connected yet: memory only
    std::vector<Record> stored;
    CRecordStore(*registry).LoadList(service, RecordKind::AutoMacro, stored);
    EXPECT_EQ(stored[0].count("Off"), 0u);
    setOnline(true);
    EXPECT_EQ(doc->AutoMacros().Records().at(0).at("Off"), "1");
    EXPECT_TRUE(doc->ToggleAutoMacro(0));
    CRecordStore(*registry).LoadList(service, RecordKind::AutoMacro, stored);
    EXPECT_EQ(stored[0].at("Off"), "0");
    EXPECT_FALSE(doc->ToggleAutoMacro(5));

    saveRules({{{"Title", "b"}, {"Pattern", "ping"}, {"SendString", "other"}}});
    receive("ping\r\n");
    EXPECT_EQ(sent(), "other");

    // The service goes away while connected: toggling still works in memory.
    CRecordStore store(*registry);
    ASSERT_TRUE(store.SelectKind(RecordKind::Service));
    ASSERT_TRUE(store.DeleteRecord(store.Section(), 0));
    EXPECT_TRUE(doc->ToggleAutoMacro(0));
}

TEST_F(AutoMacroSessionTest, CommandRunsAfterThePipelineAndSoundPlays) {
    saveRules(
        {{{"Title", "a"}, {"Pattern", "bell"}, {"Cmd", "57600"}, {"PlaySound", "/no/such.wav"}},
         {{"Title", "b"}, {"Pattern", "junk"}, {"Cmd", "x1"}}});
    connect();
    links.last->Feed("bell\r\n");
    doc->Pump(100);
    EXPECT_TRUE(frame.commands.empty());  // posted, not yet run
    runLoop(50);
    EXPECT_EQ(frame.commands, (std::vector<int>{57600}));
    ASSERT_FALSE(sound.played.empty());
    EXPECT_EQ(sound.played.back(), (std::pair<std::string, bool>{"/no/such.wav", false}));
    receive("junk\r\n");
    EXPECT_EQ(frame.commands.size(), 1u);
}

// While a reply is paced the host's next line waits, and a list saved meanwhile does not touch
// the reply being sent.
TEST_F(AutoMacroSessionTest, PacedReplySurvivesAReloadAndHoldsTheNextLine) {
    saveRules({{{"Title", "a"}, {"Pattern", "menu"}, {"SendString", "1<Enter>2<Enter>3"}},
               {{"Title", "b"}, {"Pattern", "next"}, {"SendString", "N"}}});
    connect();
    std::string sentAtTimer;
    loop.addTimer(20, false, [&] {
        links.last->Feed("next\r\n");
        saveRules({{{"Title", "c"}, {"Pattern", "next"}, {"SendString", "M"}}});
        sentAtTimer = sent();
    });
    receive("menu\r\n", 300);
    EXPECT_EQ(sentAtTimer, "1\r");
    EXPECT_EQ(sent(), "1\r2\r3M");
}

TEST_F(AutoMacroSessionTest, PacedReplyStopsWhenItsLinkCloses) {
    saveRules({{{"Title", "a"}, {"Pattern", "menu"}, {"SendString", "1$,2"}}});
    connect();
    FakeLink* first = links.last;
    std::string sentAtClose;
    loop.addTimer(20, false, [&] {
        sentAtClose = first->Output();
        doc->CloseLink();
    });
    receive("menu\r\nmore text\r\n");
    EXPECT_EQ(sentAtClose, "1");
    EXPECT_FALSE(doc->LinkOpen());
}

TEST_F(AutoMacroSessionTest, AKeyCutsAPauseShortAndTheReplyGoesOn) {
    saveRules({{{"Title", "a"}, {"Pattern", "menu"}, {"SendString", "1$,2"}}});
    connect();
    loop.addTimer(20, false, [&] { loop.interruptWait(); });
    receive("menu\r\n", 200);  // well before the half second of "$,"
    EXPECT_EQ(sent(), "12");
}

TEST_F(AutoMacroSessionTest, LongKoreanLinesKeepWholeCharacters) {
    saveRules({{{"Title", "a"}, {"Pattern", cp("a가")}, {"SendString", "ok"}}});
    connect();
    std::string line = "a";
    for (int i = 0; i < 300; ++i)
        line += cp("가");
    receive(line + "\r\n");
    EXPECT_EQ(sent(), "ok");
}

class KeyMacroSessionTest : public AutoMacroSessionTest {
protected:
    void put(const std::string& name, const std::string& value) {
        RegKey key = *registry->createKey(*ServiceRecord(*registry, service), "Macro");
        ASSERT_TRUE(registry->setValue(key, name, value));
    }
};

TEST_F(KeyMacroSessionTest, AHotKeyIsConsumedAndItsMacroRunsFromTheLoop) {
    put("Ctrl+F1", "ls -l<Enter>");
    put("Shift+F5", "x\x01y");  // control bytes go as given
    connect();
    EXPECT_TRUE(doc->TranslateMacroKey(ParseKeyText("Ctrl+F1")));
    EXPECT_EQ(sent(), "");  // posted, not yet run
    runLoop(100);
    EXPECT_EQ(sent(), "ls -l\r");
    EXPECT_FALSE(doc->TranslateMacroKey(ParseKeyText("F1")));
    EXPECT_FALSE(doc->TranslateMacroKey(HotKey{}));
    EXPECT_TRUE(doc->TranslateMacroKey(ParseKeyText("Shift+F5")));
    doc->RunMacro(2);  // outside the table
    runLoop(50);
    EXPECT_EQ(sent(), "ls -l\rx\x01y");
}

TEST_F(KeyMacroSessionTest, TheTableFollowsTheServiceAndThePagesNotice) {
    put("F2", "top<Enter>");
    start();
    EXPECT_TRUE(doc->Macros().Rows().empty());  // "기본" while not connected through an entry
    ASSERT_TRUE(doc->ConnectEntry(entry));
    setOnline(true);
    ASSERT_EQ(doc->Macros().Rows().size(), 1u);
    put("F3", "more");
    EXPECT_EQ(doc->Macros().Rows().size(), 1u);
    registry->listChanges().notify(RecordKind::Macro);
    EXPECT_EQ(doc->Macros().Rows().size(), 2u);
    setOnline(false);
    EXPECT_TRUE(doc->Macros().Rows().empty());
}

// The second macro waits for the first one's pauses; a reload meanwhile changes neither.
TEST_F(KeyMacroSessionTest, AMacroStartedDuringAPauseWaitsItsTurn) {
    put("F2", "1$,2");
    put("F3", "3");
    connect();
    std::string sentAtTimer;
    loop.addTimer(50, false, [&] {
        doc->RunMacro(1);
        RegKey key = *registry->openKey(*ServiceRecord(*registry, service), "Macro");
        registry->deleteValue(key, "F2");
        registry->listChanges().notify(RecordKind::Macro);
        sentAtTimer = sent();
    });
    doc->RunMacro(0);
    EXPECT_EQ(sentAtTimer, "1");
    EXPECT_EQ(sent(), "123");
}

}  // namespace

namespace {

// The command shell's output: shown through the interpreter, never answered to the host and
// never seen by the line pipeline, between two halves of a host line.
TEST_F(AutoMacroSessionTest, LocalTextIsShownButNeitherAnsweredNorOfferedAsALine) {
    saveRules({{{"Title", "id"}, {"Pattern", "login:"}, {"SendString", "guest<Enter>"}}});
    connect();
    doc->SetUseJohab(true);  // the local text stays CP949 all the same
    receive("half ");
    const size_t offered = view.lines.size();
    doc->ShowLocalText(
        "\x1b[6n\x1b[c\x05"
        "login: " +
        cp("한글") + "\x1b[1mB\x1b[0m\r\nC:\\> ");
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(view.Text(0), "half login: " + cp("한글") + "B");
    EXPECT_EQ(view.Text(1), "C:\\>");
    EXPECT_EQ(view.PendingLine(), "half ");
    EXPECT_EQ(view.lines.size(), offered);
    receive("line\r\n");
    EXPECT_EQ(view.lines.back(), "half line");
    EXPECT_EQ(sent(), "");
    receive("login: ");  // the same words from the host do fire
    EXPECT_EQ(sent(), "guest\r");
}

// Offline the screen is left as it is, and local text still never reaches a link.
TEST_F(AutoMacroSessionTest, LocalTextWithoutALinkKeepsTheScreen) {
    start();
    view.PutText(reinterpret_cast<const uint8_t*>("kept"), 4);
    doc->ShowLocalText("\x1b[6n dos\r\n");
    EXPECT_EQ(view.Text(0), "kept dos");
    EXPECT_EQ(view.Cursor().y, 1);
}

}  // namespace
