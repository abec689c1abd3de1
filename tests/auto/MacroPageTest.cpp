// The "일반" page without widgets: the record checks in order, duplicates reopening the dialog,
// edits appended, deletes, the service switch, and saving beside another copy of the program.
#include "auto/MacroPage.h"
#include "auto/RecordKinds.h"
#include "auto/Services.h"
#include "platform/ScriptedPrompt.h"
#include "tests/auto/TempProfile.h"

namespace {

class MacroPageTest : public TempProfile {
protected:
    MacroPageTest() {
        for (const char* name : {"하나", "둘"})
            EXPECT_FALSE(AddService(*registry, {{"Title", cp(name)}}));
        RegKey key = *registry->createKey(*ServiceRecord(*registry, cp("하나")), "Macro");
        for (auto [name, data] : std::vector<std::pair<const char*, const char*>>{
                 {"F2", "top<Enter>"}, {"@F2", "top"}, {"Ctrl+F1", "ls"}, {"@Ctrl+F1", "list"}})
            EXPECT_TRUE(registry->setValue(key, name, data));
        registry->listChanges().subscribe([this](int kind) { changes.push_back(kind); });
    }
    // A record dialog that enters the row each time it opens and records what it was shown.
    MacroPage::RecordDialog dialog(MacroRow entered, bool ok = true) {
        return [this, entered, ok](MacroRow& row) {
            shown.push_back(row);
            row = entered;
            return ok;
        };
    }
    std::vector<std::string> values(const std::string& service) {
        std::vector<std::string> out;
        RegKey key = *registry->openKey(*ServiceRecord(*registry, service), "Macro");
        for (const RegValue& value : registry->values(key))
            out.push_back(value.name + "=" + value.data);
        return out;
    }
    std::vector<std::string> keys(const MacroPage& page) {
        std::vector<std::string> out;
        for (const MacroRow& row : page.Rows())
            out.push_back(row.keyText);
        return out;
    }

    ScriptedPrompt prompt;
    std::vector<MacroRow> shown;
    std::vector<int> changes;
};

TEST(MacroRecordCheckTest, RulesInOrderWithTheirMessages) {
    struct Case {
        MacroRow row;
        std::vector<PromptAnswer> answers;
        bool accepted;
        std::vector<std::string> told;
    };
    const std::string menu =
        "Alt+L는 퀼론 98 메뉴에서 사용하는 단축키이므로\n해당하는 메뉴의 단축기능을 사용할 수 "
        "없습니다.\n\n그래도 사용하시겠습니까?";
    const std::vector<Case> cases = {
        {{"n", "F2", "c"}, {}, true, {}},
        {{"n", "", "c"}, {}, false, {"단축키를 입력하십시오."}},
        {{"", "Ctrl+ F1", ""}, {}, false, {"단축키를 입력하십시오."}},
        {{"n", "A", "c"}, {}, false, {"일반 키는 단축키로 지정할 수 없습니다."}},
        {{"n", "Shift+A", "c"}, {}, false, {"일반 키는 단축키로 지정할 수 없습니다."}},
        {{"n", "Ctrl+A", "c"}, {}, true, {}},
        {{"n", "Alt+L", "c"}, {PromptAnswer::No}, false, {menu}},
        {{"n", "Alt+L", "c"}, {PromptAnswer::Yes}, true, {menu}},
        {{"", "Alt+L", "c"}, {PromptAnswer::Yes}, false, {menu, "이름을(를) 입력하십시오."}},
        {{"n", "F3", ""}, {}, false, {"내용을(를) 입력하십시오."}},
        {{"", "F3", ""}, {}, false, {"이름을(를) 입력하십시오."}},
    };
    const std::vector<HotKey> menuKeys = {ParseKeyText("Alt+L"), ParseKeyText("Ctrl+F8")};
    for (const Case& c : cases) {
        ScriptedPrompt prompt;
        for (PromptAnswer answer : c.answers)
            prompt.expect(answer);
        EXPECT_EQ(MacroPage::CheckRecord(c.row, menuKeys, prompt), c.accepted) << c.row.keyText;
        std::vector<std::string> told;
        for (const PromptRequest& request : prompt.asked) {
            told.push_back(request.text);
            EXPECT_EQ(request.icon, PromptIcon::Warning);
        }
        EXPECT_EQ(told, c.told) << c.row.keyText;
    }
}

TEST_F(MacroPageTest, DuplicatesReopenTheDialogAndEditsGoToTheEnd) {
    MacroPage page(*registry, prompt, cp("하나"));
    EXPECT_EQ(keys(page), (std::vector<std::string>{"Ctrl+F1", "F2"}));  // "list" < "top"

    int opened = 0;
    page.Add([&](MacroRow& row) {
        shown.push_back(row);
        row = ++opened == 1 ? MacroRow{"dup", "F2", "x"} : MacroRow{"new", "F9", "y"};
        return true;
    });
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "F2 매크로가 이미 존재합니다.");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], (MacroRow{"dup", "F2", "x"}));  // opened again with what was entered

    page.Edit(0, dialog({"list", "Ctrl+F1", "ls -l"}));  // its own key is no duplicate
    EXPECT_EQ(shown.back(), (MacroRow{"list", "Ctrl+F1", "ls"}));
    EXPECT_EQ(keys(page), (std::vector<std::string>{"F2", "F9", "Ctrl+F1"}));
    page.DoubleClick({0, 1}, dialog({"never", "F10", "x"}));
    page.Add(dialog({"never", "F10", "x"}, false));
    page.Edit(7, dialog({"never", "F10", "x"}));
    page.Delete({});
    EXPECT_EQ(prompt.beeps, 1);
    page.Delete({1, 0});
    EXPECT_EQ(keys(page), (std::vector<std::string>{"Ctrl+F1"}));
    EXPECT_TRUE(page.Modified());
}

// What another copy of the program added meanwhile stays; what this page deleted goes with its
// name; the session hears of it once.
TEST_F(MacroPageTest, SavingKeepsOtherWritersAndDeletesNamesOfDeletedMacros) {
    MacroPage page(*registry, prompt, cp("하나"));
    RegKey key = *registry->openKey(*ServiceRecord(*registry, cp("하나")), "Macro");
    ASSERT_TRUE(registry->setValue(key, "F12", "other"));
    page.Delete({1});  // F2
    page.Add(dialog({cp("새것"), "Alt+L", "a<Enter>b"}));
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(values(cp("하나")),
              (std::vector<std::string>{"@Alt+L=" + cp("새것"), "@Ctrl+F1=list", "Alt+L=a<Enter>b",
                                        "Ctrl+F1=ls", "F12=other"}));
    EXPECT_EQ(changes, (std::vector<int>{RecordKind::Macro}));
    EXPECT_FALSE(page.Modified());
    EXPECT_EQ(keys(page), (std::vector<std::string>{"F12", "Ctrl+F1", "Alt+L"}));
}

TEST_F(MacroPageTest, SwitchingServiceAsksToSaveAndNoServiceSavesNothing) {
    MacroPage page(*registry, prompt, cp("하나"));
    page.Delete({0});
    prompt.expect(PromptAnswer::No);
    page.SelectService(cp("둘"));
    EXPECT_EQ(prompt.asked.back().text, "하나 매크로가 변경되었습니다.\n\n저장하시겠습니까?");
    EXPECT_TRUE(page.Rows().empty());
    EXPECT_FALSE(registry->openKey(*ServiceRecord(*registry, cp("둘")), "Macro"));
    page.Add(dialog({"x", "F2", "y"}));
    prompt.expect(PromptAnswer::Yes);
    page.SelectService(cp("하나"));
    EXPECT_EQ(values(cp("둘")), (std::vector<std::string>{"@F2=x", "F2=y"}));
    EXPECT_EQ(keys(page), (std::vector<std::string>{"Ctrl+F1", "F2"}));  // nothing was saved

    MacroPage none(*registry, prompt, "");
    EXPECT_TRUE(none.Rows().empty());
    none.Add(dialog({"x", "F2", "y"}));
    EXPECT_FALSE(none.Apply());
    EXPECT_EQ(changes, (std::vector<int>{RecordKind::Macro}));
}

}  // namespace
