#include "InjectFailure.h"
#include "TempProfile.h"
#include "auto/CRecordStore.h"
#include "auto/PasswordScrambler.h"
#include "auto/ProfileLayout.h"

namespace {

class RecordStoreTest : public TempProfile {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.SelectKind(RecordKind::Service));
        service = *store.AddRecord(store.Section());
        ASSERT_TRUE(store.WriteRecord(service, {{"Title", hitel}}));
    }

    std::vector<std::string> childNames(RegKey key) {
        std::vector<std::string> result;
        for (const RegChild& child : registry->subkeys(key))
            result.push_back(child.name);
        return result;
    }

    static std::vector<Record> bookmarks(int n, const std::string& tag) {
        std::vector<Record> list;
        for (int i = 0; i < n; ++i)
            list.push_back(
                {{"Title", tag + std::to_string(i)}, {"Location", "L" + std::to_string(i)}});
        return list;
    }

    CRecordStore store{*registry};
    RegKey service;
    const std::string hitel = cp("하이텔");
};

TEST_F(RecordStoreTest, SavingTwoOverFiveDeletesTheRestWithTheirSubkeys) {
    ASSERT_TRUE(store.SaveList(hitel, RecordKind::Bookmark, bookmarks(5, "old")));
    RegKey list = *registry->openKey(service, "Bookmark");
    ASSERT_TRUE(registry->createKey(list, "003\\Nested"));
    ASSERT_TRUE(store.SaveList(hitel, RecordKind::Bookmark, bookmarks(2, "new")));
    EXPECT_EQ(childNames(list), (std::vector<std::string>{"000", "001"}));

    std::vector<Record> loaded;
    ASSERT_TRUE(store.LoadList(hitel, RecordKind::Bookmark, loaded));
    EXPECT_EQ(loaded, bookmarks(2, "new"));
}

TEST_F(RecordStoreTest, ReplacingAListLeavesNoFieldsOrChildrenOfTheOldOne) {
    RegKey list = *registry->createKey(service, "AutoMacro");
    ASSERT_TRUE(store.WriteRecord(*registry->createKey(list, "000"),
                                  {{"Title", "a"}, {"Pattern", "p"}, {"Off", "1"}}));
    ASSERT_TRUE(registry->createKey(list, cp("제목으로 된 키")));
    ASSERT_TRUE(store.SaveList(hitel, RecordKind::AutoMacro, {{{"Title", "b"}, {"Pattern", "q"}}}));
    EXPECT_EQ(childNames(list), (std::vector<std::string>{"000"}));
    std::vector<Record> loaded;
    ASSERT_TRUE(store.LoadList(hitel, RecordKind::AutoMacro, loaded));
    EXPECT_EQ(loaded, (std::vector<Record>{{{"Title", "b"}, {"Pattern", "q"}}}));
}

TEST_F(RecordStoreTest, MoreThanAThousandRecordsKeepTheirOrder) {
    ASSERT_TRUE(store.SaveList(hitel, RecordKind::Bookmark, bookmarks(1205, "b")));
    std::vector<Record> loaded;
    ASSERT_TRUE(store.LoadList(hitel, RecordKind::Bookmark, loaded));
    EXPECT_EQ(loaded, bookmarks(1205, "b"));
    RegKey list = *registry->openKey(service, "Bookmark");
    EXPECT_EQ(registry->keyName(*store.RecordAt(list, 1000)), "1000");
}

TEST_F(RecordStoreTest, TitlesFallBackToKeyNamesAndMatchExactly) {
    RegKey entry = *registry->createKey(store.Section(), "Plain Name");
    Record record;
    ASSERT_TRUE(store.ReadRecord(entry, record));
    EXPECT_EQ(record["Title"], "Plain Name");
    EXPECT_EQ(store.FindRecord("Plain Name"), entry);
    EXPECT_FALSE(store.FindRecord("plain name"));
    EXPECT_EQ(store.FindRecord(hitel), service);
}

// Children by name (created only when asked, names without case) or the first one.
TEST_F(RecordStoreTest, OpenChildFindsCreatesOrTakesTheFirst) {
    EXPECT_EQ(store.OpenChild(std::nullopt, std::nullopt, false), service);
    EXPECT_FALSE(store.OpenChild(service, std::string("Macro"), false));
    std::optional<RegKey> macro = store.OpenChild(service, std::string("Macro"), true);
    ASSERT_TRUE(macro);
    EXPECT_EQ(store.OpenChild(service, std::string("MACRO"), false), macro);
    EXPECT_EQ(store.OpenChild(service, std::nullopt, false), macro);
    EXPECT_FALSE(store.OpenChild(*macro, std::nullopt, false)) << "no children";
}

TEST_F(RecordStoreTest, WriteRecordKeepsAbsentFieldsAndReadFollowsTheKind) {
    ASSERT_TRUE(store.WriteRecord(service, {{"LoginString", "login: "}, {cp("초기 메뉴"), "top"}}));
    ASSERT_TRUE(store.WriteRecord(service, {{"IconIndex", "2"}}));

    Record plain;
    ASSERT_TRUE(store.ReadRecord(service, plain));
    EXPECT_EQ(plain, (Record{{"Title", hitel}, {"IconIndex", "2"}}));

    ASSERT_TRUE(store.SelectKind(RecordKind::ServiceValues));
    Record all;
    store.ReadRecord(service, all);
    EXPECT_EQ(all,
              (Record{{"IconIndex", "2"}, {"LoginString", "login: "}, {cp("초기 메뉴"), "top"}}));

    ASSERT_TRUE(store.SelectKind(RecordKind::ServiceCommands));
    Record commands;
    store.ReadRecord(service, commands);
    EXPECT_EQ(commands, (Record{{cp("초기 메뉴"), "top"}}));

    ASSERT_TRUE(store.DeleteValues(service, {{"LoginString", ""}}));
    EXPECT_FALSE(registry->value(service, "LoginString"));
}

TEST_F(RecordStoreTest, ResizeAddAndDeleteWorkByPosition) {
    ASSERT_TRUE(store.SelectKind(RecordKind::ReceivedFile));
    RegKey list = store.Section();
    ASSERT_TRUE(store.Resize(list, 3));
    EXPECT_EQ(childNames(list), (std::vector<std::string>{"000", "001", "002"}));
    ASSERT_TRUE(store.DeleteRecord(list, 1));
    ASSERT_TRUE(store.AddRecord(list));
    EXPECT_EQ(childNames(list), (std::vector<std::string>{"000", "002", "003"}));
    ASSERT_TRUE(store.Resize(list, 1));
    EXPECT_EQ(store.Count(list), 1);
    EXPECT_FALSE(store.RecordAt(list, 1));

    ASSERT_TRUE(store.ReplaceList(list, {{{"FilePath", "/a"}, {"RSize", "5"}}}));
    EXPECT_EQ(store.ReadList(list), (std::vector<Record>{{{"FilePath", "/a"}, {"RSize", "5"}}}));
}

TEST_F(RecordStoreTest, MissingServicesAndEmptyListsReportFalse) {
    std::vector<Record> loaded = bookmarks(1, "x");
    EXPECT_FALSE(store.LoadList(cp("천리안"), RecordKind::Bookmark, loaded));
    EXPECT_TRUE(loaded.empty());
    EXPECT_FALSE(store.SaveList(cp("천리안"), RecordKind::Bookmark, bookmarks(1, "x")));
    EXPECT_FALSE(store.LoadList(hitel, RecordKind::Bookmark, loaded));
}

TEST_F(RecordStoreTest, IdListsStorePasswordsScrambledAndSavesAreAnnounced) {
    std::vector<int> changed;
    int id = registry->listChanges().subscribe([&](int kind) { changed.push_back(kind); });
    ASSERT_TRUE(
        store.SaveIdList(service, {{{"Title", "guest"}, {"Password", "pw"}},
                                   {{"Title", "long"}, {"Password", std::string(131, 'x')}}}));
    ASSERT_TRUE(store.SaveList(hitel, RecordKind::Bookmark, bookmarks(1, "b")));
    registry->listChanges().unsubscribe(id);
    EXPECT_EQ(changed, (std::vector<int>{RecordKind::IdList, RecordKind::Bookmark}));

    RegKey first = *registry->openKey(service, "ID\\000");
    EXPECT_EQ(registry->value(first, "Password"), ScramblePassword("pw"));
    EXPECT_EQ(registry->value(*registry->openKey(service, "ID\\001"), "Password"), "");
    std::vector<Record> ids;
    ASSERT_TRUE(store.LoadIdList(service, ids));
    EXPECT_EQ(ids[0], (Record{{"Title", "guest"}, {"Password", "pw"}}));

    // Damaged stored forms read as empty passwords; a record without a title keeps its name.
    ASSERT_TRUE(registry->deleteValue(first, ""));
    for (const std::string& stored :
         {std::string("ABC"), ScramblePassword("\x01\x02"), ScramblePassword("\xB0\xA1")}) {
        ASSERT_TRUE(registry->setValue(first, "Password", stored));
        ASSERT_TRUE(store.LoadIdList(service, ids));
        EXPECT_EQ(ids[0], (Record{{"Title", "000"}, {"Password", ""}})) << stored;
    }
}

TEST_F(RecordStoreTest, AFailedAddGivesNoKeyAndLeavesTheListAsItWas) {
    RegKey list = *registry->createKey(service, "AutoMacro");
    ASSERT_TRUE(store.AddRecord(list));
    injectFailure(dbPath, "BEFORE INSERT ON keys");
    EXPECT_FALSE(store.AddRecord(list));
    EXPECT_FALSE(store.AddRecord(list, "named"));
    EXPECT_EQ(childNames(list), (std::vector<std::string>{"000"}));
}

TEST_F(RecordStoreTest, AFailedListSaveKeepsTheOldListAndSaysSo) {
    ASSERT_TRUE(store.SaveList(hitel, RecordKind::Bookmark, bookmarks(3, "old")));
    // The second new record cannot be written: the whole save must come to nothing.
    injectFailure(dbPath, "BEFORE INSERT ON vals WHEN CAST(NEW.data AS TEXT) = 'new1'");
    EXPECT_FALSE(store.SaveList(hitel, RecordKind::Bookmark, bookmarks(2, "new")));
    EXPECT_NE(store.lastError().find("injected"), std::string::npos) << store.lastError();
    std::vector<Record> loaded;
    ASSERT_TRUE(store.LoadList(hitel, RecordKind::Bookmark, loaded));
    EXPECT_EQ(loaded, bookmarks(3, "old"));
}

}  // namespace
