// Hot keys and their texts, and one service's macros read from the store: names, order, keys.
#include "auto/MacroTable.h"
#include "auto/Services.h"
#include "tests/auto/TempProfile.h"

namespace {

TEST(HotKeyTest, KeyTextsParseToTheirCanonicalSpelling) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"F2", "F2"},
        {"Ctrl+F1", "Ctrl+F1"},
        {"Ctrl+Shift+Alt+prnt scrn", "Ctrl+Shift+Alt+Prnt Scrn"},
        {"Shift+page up", "Shift+Page Up"},
        {"Alt+l", "Alt+L"},
        {"Num del", "Num Del"},
        {"Num *", "Num *"},
        {"Ctrl+Num 7", "Ctrl+Num 7"},
        {"F24", "F24"},
        {"Shift+1", "Shift+1"},
        {"Ctrl+\\", "Ctrl+\\"},
        {"Alt+`", "Alt+`"},
        {"Enter", "Enter"},
        // Unparsable: never match.
        {"", ""},
        {"Ctrl+ F1", ""},
        {"Shift+Ctrl+F1", ""},  // prefixes only in their order
        {"Ctrl+Alt+Shift+F5", ""},
        {"ctrl+F1", ""},
        {"PgUp", ""},
        {"Ins", ""},
        {"F25", ""},
        {"Ctrl+", ""},
        {"Hangul", ""},
        {"Caps Lock", ""},
        {"\xc7\xd1", ""},
    };
    for (const auto& [text, canonical] : cases) {
        HotKey key = ParseKeyText(text);
        EXPECT_EQ(key.Valid(), !canonical.empty()) << text;
        EXPECT_EQ(KeyText(key), canonical) << text;
    }
    EXPECT_EQ(KeyText({true, true, false, KeyCodeOf("F5")}), "Ctrl+Shift+F5");
    EXPECT_EQ(KeyCodeOf("Num /"), 0);  // keypad "/" is named "/"
}

TEST(HotKeyTest, TypingKeysAreOneCharacterNamesWithoutCtrlOrAlt) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"A", true},       {"Shift+A", true}, {"1", true},
        {"Shift+1", true}, {"/", true},       {"F2", false},
        {"Ctrl+A", false}, {"Alt+L", false},  {"Ctrl+Shift+A", false},
        {"Space", false},  {"Num 1", false},  {"", false},
    };
    for (const auto& [text, typing] : cases)
        EXPECT_EQ(IsTypingKey(ParseKeyText(text)), typing) << text;
}

class MacroTableTest : public TempProfile {
protected:
    MacroTableTest() { EXPECT_FALSE(AddService(*registry, {{"Title", service}})); }
    void put(const std::vector<RegValue>& values) {
        RegKey record = *ServiceRecord(*registry, service);
        RegKey key = *registry->createKey(record, "Macro");
        for (const RegValue& value : values)
            ASSERT_TRUE(registry->setValue(key, value.name, value.data));
    }
    std::vector<MacroRow> load() {
        std::vector<MacroRow> rows;
        EXPECT_TRUE(LoadMacros(*registry, service, rows));
        return rows;
    }

    std::string service = cp("테스트");
};

TEST_F(MacroTableTest, RowsTakeTheirNamesAndSortByNameKeyAndContents) {
    put({{"Ctrl+F1", "ls -l<Enter>"},
         {"@Ctrl+F1", "b"},
         {"F2", "two"},
         {"@f2", "a"},  // names compare without case
         {"@Ctrl+F3", "orphan"},
         {"", "unnamed value"},
         {"Alt+X", "x"},  // no name: the key text is its name
         {"F5", cp("가")},
         {"@F5", cp("똠")},  // an extension syllable: after 또 in Unicode, before 가 in CP949
         {"F6", "6"},
         {"@F6", cp("또")},
         {"F7", "7"},
         {"@F7", "B"},
         {"Ctrl+ F1", "bad"},
         {"@Ctrl+ F1", "bad"}});
    const std::vector<MacroRow> expected = {
        {"a", "F2", "two"},         {"Alt+X", "Alt+X", "x"},    {"b", "Ctrl+F1", "ls -l<Enter>"},
        {"B", "F7", "7"},           {"bad", "Ctrl+ F1", "bad"}, {cp("또"), "F6", "6"},
        {cp("똠"), "F5", cp("가")},
    };
    EXPECT_EQ(load(), expected);

    MacroTable table;
    table.Load(*registry, service);
    EXPECT_EQ(table.Find(ParseKeyText("F2")), 0u);
    EXPECT_EQ(table.Find(ParseKeyText("Ctrl+F1")), 2u);
    EXPECT_EQ(table.Find(ParseKeyText("Ctrl+F3")), std::nullopt);
    EXPECT_EQ(table.Find(HotKey{}), std::nullopt);  // the unparsable row never matches
}

TEST_F(MacroTableTest, ARepeatedKeyKeepsItsFirstRowAndTabsStayInFields) {
    const std::vector<MacroRow> rows = {
        {"a\tb", "F2", "x\ty"}, {"c", "F2", "z"}, {"d", "Shift+F5", "w"}, {"e", "nonsense", "v"}};
    const auto keys = BuildMacroAccelerators(rows);
    EXPECT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys.at(ParseKeyText("F2")), 0u);
    EXPECT_EQ(keys.at(ParseKeyText("Shift+F5")), 2u);
}

TEST_F(MacroTableTest, ReadingNeverWritesAndAMissingServiceGivesNothing) {
    EXPECT_TRUE(load().empty());
    EXPECT_FALSE(registry->openKey(*ServiceRecord(*registry, service), "Macro"));
    std::vector<MacroRow> rows = {{"x", "F1", "y"}};
    EXPECT_FALSE(LoadMacros(*registry, cp("없음"), rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(LoadMacros(*registry, "", rows));
    MacroTable table;
    table.Load(*registry, cp("없음"));
    EXPECT_TRUE(table.Rows().empty());
}

TEST_F(MacroTableTest, FiveHundredMacros) {
    std::vector<RegValue> values;
    const char* prefixes[] = {"", "Alt+", "Ctrl+", "Ctrl+Alt+", "Shift+Alt+"};
    for (int i = 0; i < 500; ++i)
        values.push_back({prefixes[i / 100] + std::string(KeyName(1 + i % 100)), "m"});
    put(values);
    MacroTable table;
    table.Load(*registry, service);
    EXPECT_EQ(table.Rows().size(), 500u);
    std::optional<size_t> row = table.Find(ParseKeyText("Alt+F3"));
    ASSERT_TRUE(row);
    EXPECT_EQ(table.Rows()[*row].keyText, "Alt+F3");
}

}  // namespace
