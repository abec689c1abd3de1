// Connection entries and what they hold: phone lists with malformed records, the area table,
// the editors' field checks, stored telnet and modem entries, the phone book's groups and the
// entry icons.
#include <filesystem>
#include <set>

#include "link/AreaCodes.h"
#include "link/ConnectionEntries.h"
#include "link/EntryChecks.h"
#include "link/EntryIcons.h"
#include "link/PhoneBook.h"
#include "link/PhoneRecords.h"
#include "tests/link/SessionTestSupport.h"

namespace {

TEST(PhoneList, RecordsRoundTripAndWhatCannotBeReadIsKeptUnchanged) {
    struct Case {
        std::string phone;
        std::vector<PhoneRecord> records;
        std::vector<std::string> unreadable;
        std::string written;
    };
    const Case cases[] = {
        {"", {}, {}, ""},
        {"02:3420-1410:33600:1,:01410::0,0:01411:28800",
         {{"02", "3420-1410", "33600", true},
          {"", "01410", "", false},
          {"0", "01411", "28800", true}},
         {},
         "02:3420-1410:33600:1,:01410::0,0:01411:28800:1"},
        // Under three fields, a stray "," or ":", and empty pieces.
        {"02:123,bad,032:555:2400:1:x,,:01410:,064:1:2:7",
         {{"", "01410", "", true}, {"064", "1", "2", true}},
         {"02:123", "bad", "032:555:2400:1:x"},
         ":01410::1,064:1:2:1,02:123,bad,032:555:2400:1:x"},
        {"02:1\r\nATH:2400:1", {{"02", "1\r\nATH", "2400", true}}, {}, "02:1\r\nATH:2400:1"},
    };
    for (const Case& c : cases) {
        const PhoneList list = ParsePhoneList(c.phone);
        EXPECT_EQ(list.records, c.records) << c.phone;
        EXPECT_EQ(list.unreadable, c.unreadable) << c.phone;
        const std::string written = JoinPhoneList(list.records, list.unreadable);
        EXPECT_EQ(written, c.written);
        const PhoneList again = ParsePhoneList(written);
        EXPECT_EQ(again.records, list.records);
        EXPECT_EQ(again.unreadable, list.unreadable);
    }
    EXPECT_EQ(SpeedText("V.34,28800:LAPM"), "V.34 28800 LAPM");
}

TEST(AreaCodes, FortyTwoRowsWithNationwideFirstAndUnknownCodesShowNoRegion) {
    const std::vector<AreaCode>& table = AreaCodeTable();
    ASSERT_EQ(table.size(), 42u);
    EXPECT_EQ(std::string(table[0].code) + table[0].region, "0전국");
    std::set<std::string> codes;
    for (const AreaCode& row : table) {
        EXPECT_LE(std::string(row.code).size(), 4u);
        EXPECT_TRUE(codes.insert(row.code).second) << row.code;
        EXPECT_EQ(AreaCodeOf(row.region), row.code == std::string("0") ? "" : row.code);
    }
    EXPECT_EQ(RegionName("02"), "서울");
    EXPECT_EQ(RegionName("0593"), "삼천포");
    EXPECT_EQ(RegionName(""), "전국");
    EXPECT_EQ(RegionName("0"), "전국");
    EXPECT_EQ(RegionName("0799"), "");
    EXPECT_EQ(AreaCodeOf("전국"), "");
    EXPECT_EQ(AreaCodeOf("평양"), std::nullopt);
}

TEST(EntryChecks, EachCheckGivesItsMessage) {
    const std::string host = "호스트 이름에는 \\/:*?\"<>의 값과 공백을 입력할 수 없습니다.";
    const std::string number = "전화번호에는 0123456789-*#!@$?;의 값만 입력할 수 있습니다.";
    const std::string port = "포트 번호는 0부터 65535까지입니다.";
    const std::pair<std::optional<std::string>, std::optional<std::string>> cases[] = {
        {CheckRequired("", "연결명"), "연결명을(를) 입력하십시오."},
        {CheckRequired("x", "연결명"), std::nullopt},
        {CheckHostName("bbs.example.com"), std::nullopt},
        {CheckHostName("bbs example"), host},
        {CheckHostName("bbs:23"), host},
        {CheckHostName("a\\b"), host},
        {CheckHostName("a/b"), host},
        {CheckHostName("a*"), host},
        {CheckHostName("a?"), host},
        {CheckHostName("\"a\""), host},
        {CheckHostName("<a>"), host},
        {CheckDialText("9*#!@$?;-0123456789", "전화번호"), std::nullopt},
        {CheckDialText("02-12a4", "전화번호"), number},
        {CheckDialText("1,2", "전화번호"), number},
        {CheckDialText("1:2", "전화번호"), number},
        {CheckDialText("1\r2", "전화번호"), number},
        {CheckDialText("0a", "지역번호"),
         "지역번호에는 0123456789-*#!@$?;의 값만 입력할 수 있습니다."},
        {CheckPortText("0"), std::nullopt},
        {CheckPortText("65535"), std::nullopt},
        {CheckPortText("65536"), port},
        {CheckPortText("-1"), port},
        {CheckPortText(""), port},
        {CheckPortText("23a"), port},
        {CheckPortText(" 23"), port},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
    EXPECT_EQ(ParsePortText("2323"), 2323);
}

TEST(EntryChecks, ANumberWithoutAreaCodeAsksWhetherItIsNationwide) {
    using Field = PhoneFieldProblem::Field;
    ScriptedPrompt prompt;
    prompt.expect(PromptAnswer::Yes);
    EXPECT_FALSE(CheckPhoneFields("", "01410", prompt));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "지역번호를 입력하십시오.\n\n전국 전화번호입니까?");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::YesNo);

    prompt.expect(PromptAnswer::No);
    std::optional<PhoneFieldProblem> problem = CheckPhoneFields("", "01410", prompt);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, Field::Area);
    EXPECT_EQ(problem->message, "지역번호을(를) 입력하십시오.");

    problem = CheckPhoneFields("02", "", prompt);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, Field::Number);
    EXPECT_EQ(problem->message, "전화번호을(를) 입력하십시오.");
    problem = CheckPhoneFields("02", "123\n4", prompt);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, Field::Number);
    problem = CheckPhoneFields("0,2", "1234", prompt);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, Field::Area);
    EXPECT_FALSE(CheckPhoneFields("02", "3420-1410", prompt));
    EXPECT_EQ(prompt.asked.size(), 2u);  // a number with its area code asks nothing
}

class EntryStoreTest : public SessionTest {};

TEST_F(EntryStoreTest, TelnetServerCarriesThePortOnlyWhenItIsNot23) {
    EntryStore store(*registry);
    for (int port : {23, 2323, 0}) {
        const std::string title = "bbs " + std::to_string(port);
        ASSERT_TRUE(
            store.Save(EntryKind::Telnet, {{"Title", title},
                                           {"Type", "1"},
                                           {"Host", cp("하이텔")},
                                           {"Server", TelnetServerValue("bbs.example", port)}}));
        const std::optional<Record> entry = store.Find(EntryKind::Telnet, title);
        ASSERT_TRUE(entry);
        const TelnetAddress address = TelnetEntryAddress(*entry);
        EXPECT_EQ(address.host, "bbs.example");
        if (port == 0) {
            EXPECT_EQ(entry->at("Server"), "bbs.example:0");
            EXPECT_FALSE(address.valid);
        } else {
            EXPECT_EQ(entry->at("Server"), port == 23 ? "bbs.example" : "bbs.example:2323");
            EXPECT_EQ(address.port, port);
        }
    }

    // Connecting: 2323 is the port asked for, 0 is refused.
    start();
    EXPECT_TRUE(doc->ConnectEntry(*store.Find(EntryKind::Telnet, "bbs 2323")));
    EXPECT_EQ(links.telnetCalls.back(), (std::pair<std::string, int>{"bbs.example", 2323}));
    EXPECT_EQ(doc->CurrentEntry(), "bbs 2323");
    EXPECT_FALSE(doc->ConnectEntry(*store.Find(EntryKind::Telnet, "bbs 0")));
    EXPECT_EQ(prompt.asked.back().text, "포트 번호가 올바르지 않습니다: 0");
    EXPECT_EQ(links.telnetCalls.size(), 1u);
}

TEST_F(EntryStoreTest, EntriesAreSavedRenamedAndDeletedButReadOnlyOnesStay) {
    EntryStore store(*registry);
    addEntry(RecordKind::TelnetEntry, {{"Title", "old"}, {"Server", "a.example"}, {"Port", "23"}});
    addEntry(RecordKind::TelnetEntry, {{"Title", "fixed"}, {"Server", "b"}, {"ReadOnly", "1"}});
    std::vector<Record> entries = store.List(EntryKind::Telnet);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].at("Type"), "1");  // filled in where missing

    // Renamed, with a new host: the stored "Port" stays as it was.
    ASSERT_TRUE(
        store.Save(EntryKind::Telnet, {{"Title", "new"}, {"Server", "c.example:2323"}}, "old"));
    entries = store.List(EntryKind::Telnet);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].at("Title"), "new");
    EXPECT_EQ(entries[0].at("Server"), "c.example:2323");
    EXPECT_EQ(entries[0].at("Port"), "23");

    EXPECT_FALSE(store.Save(EntryKind::Telnet, {{"Title", "fixed"}, {"Server", "x"}}, "fixed"));
    EXPECT_FALSE(store.Delete(EntryKind::Telnet, "fixed"));
    EXPECT_FALSE(store.Delete(EntryKind::Telnet, "missing"));
    EXPECT_TRUE(store.Delete(EntryKind::Telnet, "new"));
    entries = store.List(EntryKind::Telnet);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].at("Server"), "b");

    // The dialler's write-back changes the phone list alone.
    addEntry(RecordKind::ModemEntry,
             {{"Title", cp("하이텔")}, {"Phone", ":01410::1"}, {"Dialer", ""}});
    EXPECT_TRUE(store.WritePhone(cp("하이텔"), "02:1:2:0"));
    EXPECT_FALSE(store.WritePhone("missing", "02:1:2:0"));
    const Record modem = *store.Find(EntryKind::Modem, cp("하이텔"));
    EXPECT_EQ(
        modem,
        (Record{{"Title", cp("하이텔")}, {"Type", "0"}, {"Phone", "02:1:2:0"}, {"Dialer", ""}}));
}

TEST(PhoneBook, NumbersGoUnderTheSixGroupsByAreaCode) {
    const IniFile hosts = IniFile::Parse(
        "[BBS\\PhoneBook]\nSize=12\n"
        "0=02:3420-1410:33600\n1=01410:28800\n2=0:01411:9600\n3=:01412:2400\n"
        "4=0331:230-1420:28800\n5=042:620-1410:14400\n6=051:860-1410:33600\n"
        "7=064:750-1420:14400\n8=0799:555:2400\n9=02:12,34:2400\n10=02:1234:V.34,28800\n"
        "11=1:2:3:4\n12=past the size\n");
    const std::vector<PhoneBookGroup> groups = PhoneBookGroups(hosts, "BBS");
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> texts;
    for (const PhoneBookGroup& group : groups) {
        titles.push_back(group.title);
        texts.emplace_back();
        for (const PhoneBookItem& item : group.items)
            texts.back().push_back(item.text);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"전국(014)", "서울시(02)", "경기강원(03)",
                                                "충청도(04)", "경상도(05)", "전라제주(06)"}));
    EXPECT_EQ(texts[0], (std::vector<std::string>{"전국 01410 (28800)", "전국 01411 (9600)",
                                                  "전국 01412 (2400)", " 555 (2400)"}));
    EXPECT_EQ(texts[1],
              (std::vector<std::string>{"서울 3420-1410 (33600)", "서울 1234 (V.34 28800)"}));
    EXPECT_EQ(texts[2], std::vector<std::string>{"수원 230-1420 (28800)"});
    EXPECT_EQ(texts[3], std::vector<std::string>{"대전 620-1410 (14400)"});
    EXPECT_EQ(texts[4], std::vector<std::string>{"부산 860-1410 (33600)"});
    EXPECT_EQ(texts[5], std::vector<std::string>{"제주 750-1420 (14400)"});

    // Chosen, an item is a checked record; a nationwide one has no area code.
    EXPECT_EQ(groups[1].items[0].record, (PhoneRecord{"02", "3420-1410", "33600", true}));
    EXPECT_EQ(groups[0].items[0].record, (PhoneRecord{"", "01410", "28800", true}));
    EXPECT_EQ(groups[0].items[1].record.area, "0");

    for (const PhoneBookGroup& group : PhoneBookGroups(IniFile(), "BBS"))
        EXPECT_TRUE(group.items.empty());
}

TEST(EntryIcons, TheIndexChoosesAShippedIconAndAnImportedFileShowsTheFirst) {
    setenv("QUILITE_DATA_DIR", QUILITE_SOURCE_DIR "/data", 1);
    for (int i = 0; i < kEntryIconCount; ++i)
        EXPECT_TRUE(std::filesystem::is_regular_file(EntryIconPath(i))) << EntryIconPath(i);
    EXPECT_EQ(EntryIconPath(Record{{"IconIndex", "3"}}), EntryIconPath(3));
    EXPECT_EQ(EntryIconPath(Record{{"IconIndex", "99"}}), EntryIconPath(0));
    EXPECT_EQ(EntryIconPath(Record{}), EntryIconPath(0));
    EXPECT_EQ(EntryIconPath(Record{{"IconIndex", "3"}, {"IconFile", "C:\\QUILITE\\HITEL.ICO"}}),
              EntryIconPath(0));
    unsetenv("QUILITE_DATA_DIR");
}

}  // namespace
