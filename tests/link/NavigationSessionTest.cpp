// The session's service commands and bookmarks over fake links with the shipped profile: the
// stored command words of the four recognised services, chat rooms, places read from screens
// fed through the interpreter, bookmarks gone to and added, and two running copies sharing
// one profile file.
#include "auto/Bookmarks.h"
#include "auto/RegImport.h"
#include "auto/ServiceCommands.h"
#include "auto/Services.h"
#include "tests/link/SessionTestSupport.h"

namespace {

size_t commandIndex(const char* value, ServiceCommand::Kind kind) {
    for (size_t i = 0; i < ServiceCommands().size(); ++i)
        if (ServiceCommands()[i].kind == kind && std::string(ServiceCommands()[i].value) == value)
            return i;
    ADD_FAILURE() << value;
    return 0;
}

class NavigationSessionTest : public SessionTest {
protected:
    NavigationSessionTest() {
        EXPECT_TRUE(importRegFile(*registry, QUILITE_SOURCE_DIR "/data/regorg.bak").ok());
    }
    void connect(const std::string& serviceUtf8) {
        if (!doc) start();
        Record entry = {
            {"Title", "bbs"}, {"Type", "1"}, {"Host", cp(serviceUtf8)}, {"Server", "bbs.example"}};
        ASSERT_TRUE(doc->ConnectEntry(entry));
        setOnline(true);
        links.last->ClearOutput();
    }
    void receive(const std::string& utf8) {
        links.last->Feed(cp(utf8));
        settle();
    }
    void saveBookmarks(const std::vector<Record>& bookmarks) {
        ASSERT_TRUE(
            CRecordStore(*registry).SaveList(cp("하이텔"), RecordKind::Bookmark, bookmarks));
    }
};

TEST_F(NavigationSessionTest, StoredWordsOfTheFourServicesAndChatRooms) {
    const size_t top = commandIndex("초기 메뉴", ServiceCommand::Move);
    const size_t up = commandIndex("상위 메뉴", ServiceCommand::Move);
    const size_t back = commandIndex("이전 페이지", ServiceCommand::Move);
    const size_t download = commandIndex("게시물 받기", ServiceCommand::Article);
    const size_t read = commandIndex("", ServiceCommand::ReadItem);
    start();
    EXPECT_FALSE(doc->ServiceCommandEnabled(top));  // offline
    doc->RunServiceCommand(top);
    for (const char* service : {"하이텔", "천리안", "나우누리", "유니텔"}) {
        connect(service);
        doc->SetSelectedItem("  12 ");
        EXPECT_EQ(doc->SelectedItem(), "12");
        for (size_t command : {top, up, back, download, read})
            doc->RunServiceCommand(command);
        EXPECT_EQ(sent(), "top\rp\rbp\rdn 12\r12\r") << service;
        links.last->ClearOutput();
        doc->SetInChatRoom(true);
        doc->RunServiceCommand(top);
        doc->SetInChatRoom(false);
        EXPECT_EQ(sent(), "/top\r");
        doc->SetSelectedItem("");
        EXPECT_FALSE(doc->ServiceCommandEnabled(download));
        doc->RunServiceCommand(download);
        EXPECT_EQ(sent(), "/top\r");
        setOnline(false);
    }
}

TEST_F(NavigationSessionTest, PlacesReadFromScreensOncePerScreen) {
    connect("하이텔");
    receive("\x1b[2J\x1b[H자유게시판 (FREE)\r\n 1. 첫 글\r\n");
    ASSERT_FALSE(frame.locations.empty());
    EXPECT_EQ(frame.locations.back(), (std::pair<std::string, std::string>{"자유게시판", "FREE"}));
    std::string title, code;
    EXPECT_TRUE(doc->RecogniseLocation(title, code));
    EXPECT_EQ(code, "FREE");
    // A long list scrolls the title off the screen: it is still the page's first line.
    std::string list = "\x1b[2J\x1b[H자료실 (FILES)\r\n";
    for (int i = 0; i < 60; ++i)
        list += " " + std::to_string(i) + ". 자료\r\n";
    receive(list);
    EXPECT_TRUE(doc->RecogniseLocation(title, code));
    EXPECT_EQ(code, "FILES");
    EXPECT_EQ(title, cp("자료실"));
    receive("\x1b[2J\x1b[H초기 화면 (TOP)\r\n");
    receive("\x1b[2J\x1b[H자유게시판 (FREE)\r\n");
    receive("\x1b[2J\x1b[H알림 (1A)\r\n");
    EXPECT_FALSE(doc->RecogniseLocation(title, code));
    EXPECT_EQ(frame.locations.back(), (std::pair<std::string, std::string>{"", ""}));
    std::vector<std::string> menus;
    for (const Location& place : doc->RecentMenus().Places())
        menus.push_back(place.code);
    EXPECT_EQ(menus, (std::vector<std::string>{"FREE", "TOP", "FILES"}));
    // Another service type reads its second line.
    setOnline(false);
    connect("천리안");
    receive("\x1b[2J\x1b[H천리안\r\n\r\n 동호회 (GO/CLUB)\r\n");
    EXPECT_TRUE(doc->RecogniseLocation(title, code));
    EXPECT_EQ(code, "GO");
}

TEST_F(NavigationSessionTest, GoBookmarkSendsRecordsTheVisitAndRefusesBadRecords) {
    saveBookmarks({{{"Title", "free"}, {"Location", "FREE"}},
                   {{"Title", "empty"}, {"Location", ""}},
                   {{"Title", "ctl"}, {"Location", "A\rB"}},
                   {{"Title", "old"}, {"Location", "OLD"}, {"VTime", "-1"}}});
    start();
    doc->GoBookmark(0);  // offline
    connect("하이텔");
    ASSERT_EQ(doc->Bookmarks().size(), 4u);
    doc->GoBookmark(0);
    doc->GoBookmark(1);
    doc->GoBookmark(2);
    doc->GoBookmark(9);
    EXPECT_EQ(sent(), "go FREE\r");
    EXPECT_EQ(frame.statuses.back(), kNoBookmarkLocation);
    doc->SetInChatRoom(true);
    doc->GoBookmark(3);
    doc->GoRecentLocation(1);
    doc->GoRecentLocation(5);
    EXPECT_EQ(sent(), "go FREE\r/go OLD\r/go FREE\r");
    doc->SetLinkBusy(1);
    doc->GoBookmark(0);
    doc->GoRecentLocation(0);
    doc->SetLinkBusy(0);
    EXPECT_EQ(sent(), "go FREE\r/go OLD\r/go FREE\r");
    const std::vector<Record> stored = LoadBookmarks(*registry, cp("하이텔"));
    EXPECT_GT(VisitTime(stored[0]), 1700000000);
    EXPECT_EQ(VisitTime(stored[1]), -1);
    EXPECT_EQ(VisitTime(stored[2]), -1);
    EXPECT_GT(VisitTime(stored[3]), 1700000000);
    ASSERT_EQ(doc->RecentLocations().Places().size(), 2u);
    EXPECT_EQ(doc->RecentLocations().Places()[0].code, "OLD");
}

TEST_F(NavigationSessionTest, WithoutAGoValueTheWordIsGO) {
    CRecordStore store(*registry);
    ASSERT_TRUE(store.SelectKind(RecordKind::Service));
    std::optional<RegKey> key = store.AddRecord(store.Section());
    ASSERT_TRUE(key && store.WriteRecord(*key, {{"Title", "plain"}}));
    ASSERT_TRUE(
        store.SaveList("plain", RecordKind::Bookmark, {{{"Title", "x"}, {"Location", "X"}}}));
    start();
    Record entry = {{"Title", "bbs"}, {"Type", "1"}, {"Host", "plain"}, {"Server", "h"}};
    ASSERT_TRUE(doc->ConnectEntry(entry));
    setOnline(true);
    doc->GoBookmark(0);
    EXPECT_EQ(sent(), "GO X\r");
    EXPECT_TRUE(doc->RecentLocations().Places().empty());  // not a recognised service
}

// The videotex gateway: its bookmark "미니텔" switches the session to that service without a
// new connection, where a bookmark's second code is used unless the cursor's row shows the
// gateway's own menu.
TEST_F(NavigationSessionTest, TheGatewayServicesSwitchAndUseTheirSecondCodes) {
    for (const char* service : {"인포샵", "미니텔"})
        ASSERT_FALSE(AddService(*registry, {{"Title", cp(service)}}));
    CRecordStore store(*registry);
    ASSERT_TRUE(store.SaveList(cp("인포샵"), RecordKind::Bookmark,
                               {{{"Title", cp("미니텔")}, {"Location", "MT"}}}));
    ASSERT_TRUE(store.SaveList(cp("미니텔"), RecordKind::Bookmark,
                               {{{"Title", "x"}, {"Location", "L"}, {"InfoCode", "3615"}}}));
    connect("인포샵");
    doc->GoBookmark(0);
    EXPECT_EQ(sent(), "GO MT\r");
    EXPECT_EQ(doc->CurrentService(), cp("미니텔"));
    EXPECT_TRUE(doc->Online());
    ASSERT_EQ(doc->Bookmarks().size(), 1u);
    links.last->ClearOutput();
    receive("\x1b[2J\x1b[H안내\r\n");
    doc->GoBookmark(0);
    receive("\x1b[2J\x1b[H 미니텔 메뉴");
    doc->GoBookmark(0);
    EXPECT_EQ(sent(), "GO 3615\rGO L\r");
}

TEST_F(NavigationSessionTest, AddCurrentLocationAsksAgainForATakenTitle) {
    saveBookmarks({{{"Title", cp("자유게시판")}, {"Location", "OLD"}, {"ReadOnly", "1"}}});
    connect("하이텔");
    receive("\x1b[2J\x1b[H자유게시판 (FREE)\r\n");
    prompt.asked.clear();
    frame.bookmarkDialog = [this](Record& bookmark) {
        if (frame.bookmarkDialogs.size() == 2) bookmark["Title"] = cp("자유 2");
        return frame.bookmarkDialogs.size() <= 2;
    };
    doc->AddCurrentLocation();
    ASSERT_EQ(frame.bookmarkDialogs.size(), 2u);
    EXPECT_EQ(frame.bookmarkDialogs[0].at("Title"), cp("자유게시판"));
    EXPECT_EQ(frame.bookmarkDialogs[0].at("Location"), "FREE");
    EXPECT_GT(VisitTime(frame.bookmarkDialogs[0]), 1700000000);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, kDuplicateBookmark);
    ASSERT_EQ(doc->Bookmarks().size(), 2u);
    EXPECT_EQ(doc->Bookmarks()[1].at("Title"), cp("자유 2"));
    EXPECT_EQ(doc->Bookmarks()[1].at("Location"), "FREE");
    // Nothing recognised: the dialog opens empty; cancelled, nothing is stored.
    receive("\x1b[2J\x1b[H그냥 글\r\n");
    frame.bookmarkDialogs.clear();
    frame.bookmarkDialog = nullptr;
    doc->AddCurrentLocation();
    ASSERT_EQ(frame.bookmarkDialogs.size(), 1u);
    EXPECT_EQ(frame.bookmarkDialogs[0].at("Title"), "");
    EXPECT_EQ(frame.bookmarkDialogs[0].at("Location"), "");
    EXPECT_EQ(LoadBookmarks(*registry, cp("하이텔")).size(), 2u);
}

// Two running copies on one profile file: one adds bookmarks while the other goes to one of
// the list it loaded before; every bookmark stays and the visit is stored.
TEST_F(NavigationSessionTest, TwoCopiesShareTheBookmarksWithoutLosingAny) {
    saveBookmarks({{{"Title", "a"}, {"Location", "A"}}});
    connect("하이텔");
    std::unique_ptr<Registry> otherStore = openStore();
    FakeLinks otherLinks;
    FakeFrame otherFrame;
    SessionView otherView;
    ScriptedPrompt otherPrompt;
    CQuillonDoc other(SessionContext{loop, otherPrompt, *otherStore, sound, otherView, otherLinks,
                                     otherFrame, &hooks});
    other.Start({});
    Record entry = {{"Title", "bbs"}, {"Type", "1"}, {"Host", cp("하이텔")}, {"Server", "h"}};
    ASSERT_TRUE(other.ConnectEntry(entry));
    otherLinks.last->online = true;
    other.OnIdle();
    ASSERT_EQ(other.Bookmarks().size(), 1u);
    int added = 0;
    frame.bookmarkDialog = [&](Record& bookmark) {
        bookmark["Title"] = "new" + std::to_string(added);
        bookmark["Location"] = "N";
        return true;
    };
    for (; added < 3; ++added) {
        doc->AddCurrentLocation();
        other.GoBookmark(0);
    }
    EXPECT_EQ(otherLinks.last->Output(), "go A\rgo A\rgo A\r");
    const std::vector<Record> stored = LoadBookmarks(*otherStore, cp("하이텔"));
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_GT(VisitTime(stored[0]), 1700000000);
    EXPECT_EQ(stored[3].at("Title"), "new2");
    EXPECT_EQ(doc->Bookmarks().size(), 4u);
}

}  // namespace
