// The log-in chooser "사용자 로그인": its list and fields, a row copied into the fields, the ID
// check on confirm, and the check box given back.
#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>

#include "app/gui/LoginChooserDialog.h"
#include "tests/app/gui/DialogTestSupport.h"

namespace {

class LoginChooserTest : public DialogTest {
protected:
    std::vector<Record> ids{{{"Title", "guest"}, {"Password", "pw"}},
                            {{"Title", cp("김씨")}, {"Password", ""}}};
};

TEST_F(LoginChooserTest, RowsFillTheFieldsAndAnEmptyIdIsRefused) {
    LoginChooserDialog dialog(nullptr, prompt, ids, {"guest", "pw", false});
    EXPECT_EQ(dialog.windowTitle(), "사용자 로그인");
    auto* list = dialog.findChild<QTreeWidget*>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->headerItem()->text(0), "   아이디");
    EXPECT_EQ(list->headerItem()->text(1), "비밀번호");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0), "김씨");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "***");

    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(dialog.Choice().id, cp("김씨"));
    EXPECT_EQ(dialog.Choice().password, "");
    QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields[1]->echoMode(), QLineEdit::Password);

    fields[0]->clear();
    dialog.accept();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "아이디을(를) 입력하십시오.");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Warning);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open

    fields[0]->setText("kim");
    fields[1]->setText("typed");
    dialog.findChild<QCheckBox*>()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Choice().id, "kim");
    EXPECT_EQ(dialog.Choice().password, "typed");
    EXPECT_TRUE(dialog.Choice().autoSelect);
}

TEST_F(LoginChooserTest, DoubleClickConfirmsTheRowAndCancelKeepsTheChoice) {
    whenShown<LoginChooserDialog>([](LoginChooserDialog& d) {
        auto* list = d.findChild<QTreeWidget*>();
        list->setCurrentItem(list->topLevelItem(0));
        emit list->itemDoubleClicked(list->topLevelItem(0), 0);
    });
    LoginChoice choice{"", "", true};
    ASSERT_TRUE(ChooseLoginInDialog(nullptr, prompt, ids, choice));
    EXPECT_EQ(choice.id, "guest");
    EXPECT_EQ(choice.password, "pw");
    EXPECT_TRUE(choice.autoSelect);

    whenShown<LoginChooserDialog>([](LoginChooserDialog& d) { d.reject(); });
    LoginChoice kept{"x", "y", false};
    EXPECT_FALSE(ChooseLoginInDialog(nullptr, prompt, ids, kept));
    EXPECT_EQ(kept.id, "x");
}

}  // namespace
