// "사용자 로그인 설정" without widgets: rows from the store, add, edit, delete, the default ID,
// the service switch with its save question, the patterns of the advanced dialog and OK, over
// scripted questions.
#include "auto/LoginSettingsPage.h"
#include "auto/PasswordScrambler.h"
#include "auto/Services.h"
#include "platform/ScriptedPrompt.h"
#include "tests/auto/TempProfile.h"

namespace {

class LoginSettingsPageTest : public TempProfile {
protected:
    LoginSettingsPageTest() {
        for (const char* name : {"하나", "둘"}) {
            Record service = NewServiceDefaults(*registry, "");
            service["Title"] = cp(name);
            EXPECT_FALSE(AddService(*registry, service));
        }
        CRecordStore store(*registry);
        EXPECT_TRUE(store.SelectKind(RecordKind::Service));
        one = *store.FindRecord(cp("하나"));
        EXPECT_TRUE(store.SaveIdList(one, {id("a", "pa"), id("b", "pb"), id("c", "")}));
    }
    static Record id(const std::string& title, const std::string& password) {
        return {{"Title", title}, {"Password", password}};
    }
    std::vector<Record> stored() {
        std::vector<Record> ids;
        CRecordStore(*registry).LoadIdList(one, ids);
        return ids;
    }
    static std::vector<std::string> titles(const std::vector<Record>& rows) {
        std::vector<std::string> out;
        for (const Record& row : rows)
            out.push_back(row.at("Title") + ":" + row.at("Password"));
        return out;
    }
    static LoginSettingsPage::RecordDialog dialog(const std::string& title, bool ok = true) {
        return [title, ok](Record& record) {
            record["Title"] = title;
            record["Password"] = "new";
            return ok;
        };
    }

    ScriptedPrompt prompt;
    RegKey one;
};

TEST_F(LoginSettingsPageTest, MakingTheThirdTheDefaultStoresItFirst) {
    LoginSettingsPage page(*registry, prompt, cp("하나"));
    EXPECT_EQ(page.Patterns(), (LoginPatterns{"login: ", "Password: "}));
    EXPECT_EQ(LoginSettingsPage::PasswordStars(page.Rows()[0]), "**");
    page.MakeDefault(0);
    page.MakeDefault(std::nullopt);
    EXPECT_FALSE(page.Modified());
    page.MakeDefault(2);
    EXPECT_EQ(titles(page.Rows()), (std::vector<std::string>{"c:", "a:pa", "b:pb"}));
    ASSERT_TRUE(page.Save());
    EXPECT_EQ(titles(stored()), (std::vector<std::string>{"c:", "a:pa", "b:pb"}));
    std::optional<RegKey> first = registry->openKey(one, "ID\\001");
    EXPECT_EQ(registry->value(*first, "Password"), ScramblePassword("pa"));
}

TEST_F(LoginSettingsPageTest, AddEditDeleteAndTheServiceSwitch) {
    LoginSettingsPage page(*registry, prompt, cp("하나"));
    page.DoubleClick({}, dialog("d"));
    page.DoubleClick({1}, dialog("B"));
    page.Edit(0, dialog("x", false));
    page.Delete({});
    EXPECT_EQ(prompt.beeps, 1);
    page.Delete({2, 2});
    EXPECT_EQ(titles(page.Rows()), (std::vector<std::string>{"a:pa", "B:new", "d:new"}));
    prompt.expect(PromptAnswer::Yes);
    page.SelectService(cp("둘"));
    EXPECT_EQ(prompt.asked.back().text,
              "하나 자동 로긴 정보가 변경되었습니다.\n\n저장하시겠습니까?");
    EXPECT_TRUE(page.Rows().empty());
    EXPECT_EQ(titles(stored()), (std::vector<std::string>{"a:pa", "B:new", "d:new"}));
    page.SelectService(cp("없음"));
    EXPECT_FALSE(page.CanEditPatterns());
}

TEST_F(LoginSettingsPageTest, AdvancedPatternsAskBeforeEmptyingPasswords) {
    LoginSettingsPage page(*registry, prompt, cp("하나"));
    EXPECT_TRUE(page.CanEditPatterns());
    // Missing patterns keep the dialog open; OK with nothing changed changes nothing.
    EXPECT_FALSE(page.TakePatterns({"", "Password: "}));
    EXPECT_EQ(prompt.asked.back().text, "아이디을(를) 입력하십시오.");
    EXPECT_TRUE(page.TakePatterns({"login: ", "Password: "}));
    EXPECT_FALSE(page.Modified());
    // No keeps the dialog and the passwords; Yes takes the patterns and empties them.
    prompt.expect(PromptAnswer::No);
    prompt.expect(PromptAnswer::Yes);
    EXPECT_FALSE(page.TakePatterns({"ID: ", "Password: "}));
    EXPECT_EQ(page.Rows()[0].at("Password"), "pa");
    EXPECT_TRUE(page.TakePatterns({"ID: ", "Password: "}));
    EXPECT_EQ(prompt.asked.back().icon, PromptIcon::Warning);
    EXPECT_EQ(titles(page.Rows()), (std::vector<std::string>{"a:", "b:", "c:"}));
    ASSERT_TRUE(page.Save());
    LoginSettingsPage again(*registry, prompt, cp("하나"));
    EXPECT_EQ(again.Patterns(), (LoginPatterns{"ID: ", "Password: "}));
    EXPECT_EQ(titles(again.Rows()), (std::vector<std::string>{"a:", "b:", "c:"}));
}

TEST_F(LoginSettingsPageTest, RecordCaptionsAndChecks) {
    EXPECT_EQ(LoginSettingsPage::RecordCaption({}, true), "아이디 추가");
    EXPECT_EQ(LoginSettingsPage::RecordCaption({}, false), "새 아이디 등록 정보");
    EXPECT_EQ(LoginSettingsPage::RecordCaption({{"Title", cp("김")}}, false),
              "김 아이디 등록 정보");
    EXPECT_EQ(LoginSettingsPage::CheckRecord(id("ok", "pw")), std::nullopt);
    EXPECT_TRUE(LoginSettingsPage::CheckRecord(id("", "pw")));
    EXPECT_EQ(LoginSettingsPage::CheckRecord(id("ok", std::string(131, 'x'))),
              "비밀번호는 130자 이내의 영문, 숫자, 기호로 입력하십시오.");
}

}  // namespace
