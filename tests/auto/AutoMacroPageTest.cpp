// The "자동" page without widgets: rows from the store, add, edit, delete, the boxes, unique
// names, the service switch with its save question and Apply, over scripted questions.
#include "auto/AutoMacroPage.h"
#include "auto/Services.h"
#include "platform/ScriptedPrompt.h"
#include "tests/auto/TempProfile.h"

namespace {

class AutoMacroPageTest : public TempProfile {
protected:
    AutoMacroPageTest() {
        for (const char* name : {"하나", "둘"})
            EXPECT_FALSE(AddService(*registry, {{"Title", cp(name)}}));
        save(cp("하나"), {{{"Title", "a"}, {"Pattern", "p1"}, {"SendString", "s1"}},
                          {{"Title", "b"}, {"Pattern", "p2"}, {"Off", "1"}}});
        registry->listChanges().subscribe([this](int kind) { changes.push_back(kind); });
    }
    void save(const std::string& service, const std::vector<Record>& rules) {
        ASSERT_TRUE(CRecordStore(*registry).SaveList(service, RecordKind::AutoMacro, rules));
    }
    std::vector<Record> stored(const std::string& service) {
        std::vector<Record> rules;
        CRecordStore(*registry).LoadList(service, RecordKind::AutoMacro, rules);
        return rules;
    }
    // A record dialog that sets the title and pattern, or is cancelled.
    static AutoMacroPage::RecordDialog dialog(const std::string& title, bool ok = true) {
        return [title, ok](Record& record) {
            record["Title"] = title;
            record["Pattern"] = "x";
            return ok;
        };
    }
    std::vector<std::string> titles(const AutoMacroPage& page) {
        std::vector<std::string> out;
        for (const auto& row : page.Rows())
            out.push_back(row.record.at("Title") + (row.on ? "" : "-"));
        return out;
    }

    ScriptedPrompt prompt;
    std::vector<int> changes;
};

TEST_F(AutoMacroPageTest, RowsAreAddedEditedAndDeletedWithUniqueNames) {
    AutoMacroPage page(*registry, prompt, cp("하나"));
    EXPECT_EQ(titles(page), (std::vector<std::string>{"a", "b-"}));
    EXPECT_FALSE(page.Modified());

    page.Add(dialog("x", false));
    EXPECT_FALSE(page.Modified());
    page.Add(dialog("A"));
    page.DoubleClick({}, dialog("a"));
    page.Edit(0, dialog("a"));  // its own name stays
    page.DoubleClick({1}, dialog("b"));
    page.DoubleClick({0, 1}, dialog("never"));
    page.Edit(9, dialog("never"));
    EXPECT_EQ(titles(page), (std::vector<std::string>{"a", "b-", "A (2)", "a (3)"}));
    EXPECT_TRUE(page.Modified());

    page.Delete({});
    EXPECT_EQ(prompt.beeps, 1);
    page.Delete({3, 0, 3, 7});
    EXPECT_EQ(titles(page), (std::vector<std::string>{"b-", "A (2)"}));
    EXPECT_TRUE(prompt.asked.empty());  // deleting never asks
}

TEST_F(AutoMacroPageTest, ApplyStoresTheBoxesInDisplayOrderAndTellsTheSession) {
    AutoMacroPage page(*registry, prompt, cp("하나"));
    page.SetOn(0, false);
    page.SetOn(1, true);
    page.Delete({0});
    page.Add(dialog("c"));
    changes.clear();
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(changes, std::vector<int>{RecordKind::AutoMacro});
    const std::vector<Record> rules = stored(cp("하나"));
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0], (Record{{"Title", "b"}, {"Pattern", "p2"}, {"Off", "0"}}));
    EXPECT_EQ(rules[1], (Record{{"Title", "c"}, {"Pattern", "x"}, {"Off", "0"}}));
    EXPECT_FALSE(page.Modified());
}

TEST_F(AutoMacroPageTest, SwitchingServicesOffersToSaveChanges) {
    AutoMacroPage page(*registry, prompt, cp("하나"));
    EXPECT_EQ(page.Services(), ServiceNames(*registry));
    page.SelectService(cp("둘"));  // nothing changed: no question
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(page.Rows().empty());

    page.Add(dialog("new"));
    prompt.expect(PromptAnswer::No);
    page.SelectService(cp("하나"));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "둘 자동 매크로가 변경되었습니다.\n\n저장하시겠습니까?");
    EXPECT_TRUE(stored(cp("둘")).empty());
    EXPECT_EQ(titles(page), (std::vector<std::string>{"a", "b-"}));

    page.SetOn(1, true);
    prompt.expect(PromptAnswer::Yes);
    page.SelectService(cp("둘"));
    EXPECT_EQ(stored(cp("하나"))[1].at("Off"), "0");
}

TEST_F(AutoMacroPageTest, RecordDialogCaptionAndChecks) {
    EXPECT_EQ(AutoMacroPage::RecordCaption({}), "새 자동 매크로 등록 정보");
    EXPECT_EQ(AutoMacroPage::RecordCaption({{"Title", cp("로그인")}}),
              "로그인 자동 매크로 등록 정보");
    EXPECT_EQ(AutoMacroPage::CheckRecord({{"Pattern", "p"}}), "이름을(를) 입력하십시오.");
    EXPECT_EQ(AutoMacroPage::CheckRecord({{"Title", "t"}}), "찾을 문자열 패턴을(를) 입력하십시오.");
    EXPECT_EQ(AutoMacroPage::CheckRecord({{"Title", "t"}, {"Pattern", "p"}}), std::nullopt);
}

}  // namespace
