// Service commands, location recognition on single lines, the recent places and the bookmark
// store's one-record transactions.
#include "auto/Bookmarks.h"
#include "auto/LocationRecognition.h"
#include "auto/RecentPlaces.h"
#include "auto/ServiceCommands.h"
#include "tests/auto/TempProfile.h"

namespace {

std::string cp(const std::string& utf8) {
    return utf8ToCp949(utf8).value();
}

TEST(ServiceCommandTest, MovesArticlesAndTheSelectedItem) {
    const Record map = {
        {cp("초기 메뉴"), "top"}, {cp("상위 메뉴"), "/p"}, {cp("게시물 받기"), "dn"}};
    auto find = [](const char* value, ServiceCommand::Kind kind) {
        for (const ServiceCommand& c : ServiceCommands())
            if (c.kind == kind && std::string(c.value) == value) return c;
        ADD_FAILURE() << value;
        return ServiceCommands()[0];
    };
    const ServiceCommand top = find("초기 메뉴", ServiceCommand::Move);
    const ServiceCommand up = find("상위 메뉴", ServiceCommand::Move);
    const ServiceCommand next = find("다음 메시지", ServiceCommand::Move);
    const ServiceCommand download = find("게시물 받기", ServiceCommand::Article);
    const ServiceCommand read = find("", ServiceCommand::ReadItem);
    EXPECT_EQ(ServiceCommands().size(), 15u);
    EXPECT_EQ(ServiceCommandLine(top, map, "", false), "top");
    EXPECT_EQ(ServiceCommandLine(top, map, "", true), "/top");
    EXPECT_EQ(ServiceCommandLine(up, map, "", true), "/p");
    EXPECT_EQ(ServiceCommandLine(next, map, "", false), std::nullopt);
    EXPECT_EQ(ServiceCommandLine(download, map, "12", true), "dn 12");
    EXPECT_EQ(ServiceCommandLine(download, map, "", false), std::nullopt);
    EXPECT_EQ(ServiceCommandLine(read, map, "12", false), "12");
    EXPECT_EQ(ServiceCommandLine(read, map, "", false), std::nullopt);
    size_t names = 0;
    for (const ServiceCommandGroup& group : ServiceCommandGroups())
        names += group.names.size();
    EXPECT_EQ(ServiceCommandGroups().size(), 7u);
    EXPECT_EQ(names, 37u);
}

struct LineCase {
    int type;
    const char* line;  // UTF-8
    const char* title;
    const char* code;  // nullptr: no location
};

TEST(LocationRecognitionTest, EachTypesRuleOnOneLine) {
    const LineCase cases[] = {
        {1, "자유게시판 (FREE)", "자유게시판", "FREE"},
        {1, "  자유게시판   (FREE)     ", "자유게시판", "FREE"},
        {1, "가 (A1) 나 (B2)", "가 (A1) 나", "B2"},
        {1, "초기 화면 (TOP)", "초기 화면", "TOP"},
        {1, "하이텔 메인 메뉴", "하이텔 메인 메뉴", "TOP"},
        {1, "()", nullptr, nullptr},
        {1, "게시판 (1A)", nullptr, nullptr},
        {1, "게시판 (자유)", nullptr, nullptr},
        {1, "게시판 (FREE", nullptr, nullptr},
        {1, "게시판 (FR EE)", nullptr, nullptr},
        {1, "게시판 (go/x)", nullptr, nullptr},
        {2, "게시판 (go/x)", "게시판", "go"},
        {2, "천리안 주메뉴", "천리안TOP", "TOP"},
        {3, "나우누리 주메뉴 (MAIN)", "나우누리 주메뉴", "TOP"},
        {4, "[유니텔] 자료실 (PDS)", "자료실", "PDS"},
        {4, "(PDS)", nullptr, nullptr},
        {0, "자유게시판 (FREE)", nullptr, nullptr},
    };
    for (const LineCase& c : cases) {
        std::optional<Location> found = RecogniseLocation(c.type, [&](int line) {
            return line == 0 ? std::optional<std::string>(cp(c.line)) : std::nullopt;
        });
        if (c.type == 2) found = LocationOfLine(2, cp(c.line));
        if (!c.code) {
            EXPECT_EQ(found, std::nullopt) << c.line;
            continue;
        }
        ASSERT_TRUE(found) << c.line;
        EXPECT_EQ(found->title, cp(c.title)) << c.line;
        EXPECT_EQ(found->code, c.code) << c.line;
    }
}

TEST(LocationRecognitionTest, WhichLineEachTypeReads) {
    std::vector<std::optional<std::string>> screen = {cp("첫 줄"), cp("둘째 (TWO)"),
                                                      cp("셋째 (THREE)")};
    auto reader = [&](int line) {
        return line >= 0 && line < static_cast<int>(screen.size()) ? screen[line] : std::nullopt;
    };
    EXPECT_EQ(RecogniseLocation(1, reader)->code, "TWO");  // line 0 gives nothing
    EXPECT_EQ(RecogniseLocation(2, reader)->code, "TWO");
    screen[1] = std::string(80, ' ');
    EXPECT_EQ(RecogniseLocation(2, reader)->code, "THREE");  // line 1 blank
    EXPECT_EQ(RecogniseLocation(3, reader), std::nullopt);
    screen[0] = std::nullopt;  // outside the ring
    screen[1] = std::nullopt;
    EXPECT_EQ(RecogniseLocation(2, reader), std::nullopt);
    EXPECT_EQ(RecogniseLocation(1, reader), std::nullopt);
}

TEST(RecentPlacesTest, NewestFirstEqualOnesMoveUpOldestGo) {
    RecentPlaces places(3);
    for (const char* code : {"A", "B", "C", "D"})
        places.Add({"t", code});
    places.Add({"T", "b"});
    std::vector<std::string> codes;
    for (const Location& place : places.Places())
        codes.push_back(place.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"b", "D", "C"}));
    EXPECT_EQ(places.At(3), nullptr);
}

class BookmarkStoreTest : public TempProfile {
protected:
    BookmarkStoreTest() {
        CRecordStore store(*registry);
        EXPECT_TRUE(store.SelectKind(RecordKind::Service));
        std::optional<RegKey> key = store.AddRecord(store.Section());
        EXPECT_TRUE(key && store.WriteRecord(*key, {{"Title", service}}));
    }
    std::string service = cp("하이텔");
};

TEST_F(BookmarkStoreTest, VisitAndAppendTouchOnlyTheirRecordAndKeepOthersWork) {
    ASSERT_TRUE(CRecordStore(*registry).SaveList(
        service, RecordKind::Bookmark,
        {{{"Title", "a"}, {"Location", "A"}, {"Type", "3"}}, {{"Title", "b"}, {"Location", "B"}}}));
    std::unique_ptr<Registry> other = openStore();
    EXPECT_EQ(AppendBookmark(*other, service, {{"Title", "c"}, {"Location", "C"}}),
              AppendResult::Added);
    EXPECT_TRUE(StoreVisitTime(*registry, service, "b", 1234567890123));
    EXPECT_FALSE(StoreVisitTime(*registry, service, "none", 1));
    EXPECT_FALSE(StoreVisitTime(*registry, cp("없는 통신망"), "b", 1));
    EXPECT_EQ(AppendBookmark(*registry, service, {{"Title", "a"}}), AppendResult::TitleTaken);
    EXPECT_EQ(AppendBookmark(*registry, cp("없는 통신망"), {{"Title", "z"}}), AppendResult::Failed);
    const std::vector<Record> stored = LoadBookmarks(*other, service);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].at("Type"), "3");
    EXPECT_EQ(stored[1].at("VTime"), "1234567890123");
    EXPECT_EQ(stored[2].at("Location"), "C");
}

TEST(BookmarkFieldsTest, VisitTimesAndSendableLocations) {
    EXPECT_EQ(VisitTimeText({}), "(없음)");
    for (const char* bad : {"-1", "0", "abc", "12x", ""})
        EXPECT_EQ(VisitTimeText({{"VTime", bad}}), "(없음)") << bad;
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(VisitTimeText({{"VTime", "1000000000"}}), "2001-09-09 01:46");
    EXPECT_EQ(VisitTime({{"VTime", "4102444800"}}), 4102444800);  // beyond 32 bits
    EXPECT_TRUE(SendableLocation("FREE"));
    EXPECT_FALSE(SendableLocation(""));
    EXPECT_FALSE(SendableLocation("FR\rEE"));
    EXPECT_FALSE(SendableLocation("x\x1b[2J"));
}

}  // namespace
