// "사용자 로그인 설정" in the window: the list as the model shows it, making the third ID the
// default and OK storing it, the right-click menu with its hidden commands, the record dialog
// keeping a refused ID, and the advanced dialog.
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "app/gui/CommandList.h"
#include "app/gui/LoginSettingsDialog.h"
#include "auto/Services.h"
#include "tests/app/gui/DialogTestSupport.h"

namespace {

class LoginSettingsDialogTest : public DialogTest {
protected:
    LoginSettingsDialogTest() {
        Record service = NewServiceDefaults(*registry, "");
        service["Title"] = cp("하나");
        EXPECT_FALSE(AddService(*registry, service));
        CRecordStore store(*registry);
        EXPECT_TRUE(store.SelectKind(RecordKind::Service));
        key = *store.FindRecord(cp("하나"));
        EXPECT_TRUE(store.SaveIdList(key, {{{"Title", "a"}, {"Password", "pa"}},
                                           {{"Title", "b"}, {"Name", cp("둘째")}},
                                           {{"Title", "c"}, {"Password", "pc"}}}));
    }
    std::vector<std::string> storedIds() {
        std::vector<Record> ids;
        CRecordStore(*registry).LoadIdList(key, ids);
        std::vector<std::string> titles;
        for (const Record& id : ids)
            titles.push_back(id.at("Title"));
        return titles;
    }
    RegKey key;
};

TEST_F(LoginSettingsDialogTest, TheThirdMadeDefaultIsStoredFirstOnOk) {
    LoginSettingsDialog dialog(*registry, prompt, cp("하나"));
    EXPECT_EQ(dialog.windowTitle(), "사용자 로그인 설정");
    CommandList* list = dialog.List();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->headerItem()->text(1), "이름");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "둘째");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "**");
    list->topLevelItem(2)->setSelected(true);
    dialog.MakeSelectedDefault();
    EXPECT_EQ(list->topLevelItem(0)->text(0), "c");
    dialog.accept();
    EXPECT_EQ(storedIds(), (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(LoginSettingsDialogTest, TheRightClickMenuOffersTheCommandsWithoutButtons) {
    LoginSettingsDialog dialog(*registry, prompt, cp("하나"));
    dialog.show();
    for (const char* name : {"add", "delete", "edit"})
        EXPECT_TRUE(control<QPushButton>(dialog, name)->isVisible()) << name;
    for (const char* name : {"makeDefault", "advanced"})
        EXPECT_FALSE(control<QPushButton>(dialog, name)->isVisible()) << name;

    CommandList* list = dialog.List();
    auto menu = list->ContextMenuAt(list->visualItemRect(list->topLevelItem(2)).center());
    EXPECT_EQ(list->SelectedRows(), std::vector<size_t>{2});
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text() + (action->isEnabled() ? "" : "-");
    EXPECT_EQ(texts, QStringList({"등록 정보(&R)", "등록(&N)", "삭제(&E)", "디폴트 아이디로(&D)",
                                  "고급 설정(&I)..."}));
    menu->actions()[3]->trigger();
    EXPECT_EQ(list->topLevelItem(0)->text(0), "c");
    EXPECT_TRUE(dialog.Page().Modified());

    whenShown<QDialog>([](QDialog& advanced) {
        EXPECT_EQ(advanced.windowTitle(), "사용자 로그인 고급 설정");
        advanced.reject();
    });
    list->ContextMenuAt(QPoint(-1, -1))->actions()[4]->trigger();
    EXPECT_EQ(dialog.Page().Patterns().login, "login: ");

    // Without a stored service there are no patterns to edit.
    LoginSettingsDialog none(*registry, prompt, cp("없음"));
    EXPECT_FALSE(none.List()->ContextMenuAt(QPoint(-1, -1))->actions()[4]->isEnabled());
}

TEST_F(LoginSettingsDialogTest, TheRecordDialogKeepsARefusedIdAndAddsTheMended) {
    LoginSettingsDialog dialog(*registry, prompt, cp("하나"));
    whenShown<QDialog>([this](QDialog& record) {
        EXPECT_EQ(record.windowTitle(), "아이디 추가");
        QList<QLineEdit*> fields = record.findChildren<QLineEdit*>();
        fields[0]->setText("_bad");
        record.accept();
        EXPECT_TRUE(record.isVisible());
        EXPECT_EQ(prompt.asked.back().text,
                  "아이디의 첫자는 한글이나 영문, 숫자로 시작해야 합니다.");
        fields[0]->setText("d");
        fields[2]->setText("pd");
        record.accept();
    });
    dialog.AddRow();
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 4);
    EXPECT_EQ(dialog.List()->topLevelItem(3)->text(0), "d");
    EXPECT_TRUE(dialog.Page().Modified());
}

TEST_F(LoginSettingsDialogTest, TheAdvancedDialogEmptiesPasswordsOnlyAfterYes) {
    LoginSettingsDialog dialog(*registry, prompt, cp("하나"));
    prompt.expect(PromptAnswer::Yes);
    whenShown<QDialog>([](QDialog& advanced) {
        EXPECT_EQ(advanced.windowTitle(), "사용자 로그인 고급 설정");
        advanced.findChildren<QLineEdit*>()[0]->setText("ID: ");
        advanced.accept();
    });
    dialog.EditPatterns();
    EXPECT_EQ(dialog.Page().Patterns().login, "ID: ");
    EXPECT_EQ(dialog.List()->topLevelItem(0)->text(2), "");
}

}  // namespace
