// The macro settings sheet: the record dialog (caption, CR LF line breaks, the command list,
// the refusals), the "자동" page adding, editing, deleting and switching rules through its
// buttons, boxes and right-click menu into the stored list, and the icon panel's rule buttons
// following the session's list.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/CommandTable.h"
#include "app/gui/AutoMacroDialog.h"
#include "app/gui/AutoMacroPanel.h"
#include "app/gui/CMacroSheet.h"
#include "app/gui/CommandList.h"
#include "auto/Services.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

class MacroSheetTest : public DialogTest {
protected:
    MacroSheetTest() {
        EXPECT_FALSE(AddService(*registry, {{"Title", cp("하나")}}));
        EXPECT_TRUE(CRecordStore(*registry).SaveList(
            cp("하나"), RecordKind::AutoMacro,
            {{{"Title", "a"}, {"Pattern", "p1"}, {"SendString", "s1"}},
             {{"Title", "b"}, {"Pattern", "p2"}, {"Off", "1"}}}));
    }
    std::vector<Record> stored() {
        std::vector<Record> rules;
        CRecordStore(*registry).LoadList(cp("하나"), RecordKind::AutoMacro, rules);
        return rules;
    }
    // Fills the record dialog that opens next and presses OK.
    static void fillNext(const QString& title, const QString& pattern, const QString& reply) {
        whenShown<AutoMacroDialog>([=](AutoMacroDialog& d) {
            control<QLineEdit>(d, "title")->setText(title);
            control<QPlainTextEdit>(d, "pattern")->setPlainText(pattern);
            control<QPlainTextEdit>(d, "sendString")->setPlainText(reply);
            d.accept();
        });
    }
    static QStringList texts(const QMenu& menu) {
        QStringList out;
        for (const QAction* action : menu.actions())
            out << action->text() + (action->isEnabled() ? "" : "-");
        return out;
    }
};

TEST_F(MacroSheetTest, TheRecordDialogStoresLineBreaksAsCrLfAndACommandById) {
    AutoMacroDialog dialog({}, prompt);
    EXPECT_EQ(dialog.windowTitle(), "새 자동 매크로 등록 정보");
    auto* commands = control<QComboBox>(dialog, "command");
    EXPECT_EQ(commands->itemText(0), "(없음)");
    EXPECT_EQ(commands->count(), static_cast<int>(commandTable().size()) + 1);
    const int macroSettings = commands->findData(Cmd::MacroSettings);
    EXPECT_EQ(commands->itemText(macroSettings), "매크로를 설정합니다.");
    commands->setCurrentIndex(macroSettings);

    // Enter in the reply is a line break, not the dialog's OK.
    auto* reply = control<QPlainTextEdit>(dialog, "sendString");
    dialog.show();
    reply->setFocus();
    QTest::keyClicks(reply, "id");
    QTest::keyClick(reply, Qt::Key_Return);
    QTest::keyClicks(reply, "pw$,x");
    EXPECT_TRUE(dialog.isVisible());

    // No name, then no pattern: refused with the field's label, the dialog stays.
    dialog.accept();
    control<QLineEdit>(dialog, "title")->setText("로그인");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "이름을(를) 입력하십시오.");
    EXPECT_EQ(prompt.asked[1].text, "찾을 문자열 패턴을(를) 입력하십시오.");
    EXPECT_EQ(prompt.asked[1].icon, PromptIcon::Warning);

    control<QPlainTextEdit>(dialog, "pattern")->setPlainText("ID:");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const Record& result = dialog.Result();
    EXPECT_EQ(result.at("Title"), cp("로그인"));
    EXPECT_EQ(result.at("Pattern"), "ID:");
    EXPECT_EQ(result.at("SendString"), "id\r\npw$,x");
    EXPECT_EQ(result.at("Cmd"), std::to_string(Cmd::MacroSettings));

    // A stored reply shows its CR LF as one line break; an id the table lacks stays.
    AutoMacroDialog again(result, prompt);
    EXPECT_EQ(again.windowTitle(), "로그인 자동 매크로 등록 정보");
    EXPECT_EQ(control<QPlainTextEdit>(again, "sendString")->toPlainText(), "id\npw$,x");
    AutoMacroDialog unknown({{"Title", "t"}, {"Pattern", "p"}, {"Cmd", "99999"}}, prompt);
    unknown.accept();
    EXPECT_EQ(unknown.Result().at("Cmd"), "99999");
}

TEST_F(MacroSheetTest, ThePageEditsTheStoredListThroughItsButtonsBoxesAndMenu) {
    CMacroSheet sheet(*registry, prompt, cp("하나"));
    EXPECT_EQ(sheet.windowTitle(), "매크로 설정");
    EXPECT_TRUE(sheet.isModal());
    EXPECT_FALSE(sheet.windowFlags() & Qt::WindowContextHelpButtonHint);
    ASSERT_EQ(sheet.Tabs()->count(), 2);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "일반");
    EXPECT_EQ(sheet.Tabs()->tabText(1), "자동");
    EXPECT_EQ(control<QComboBox>(sheet, "service")->currentText(), "하나");
    auto* list = control<CommandList>(sheet, "macros");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(1), "찾을 문자 패턴");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "s1");
    EXPECT_TRUE(list->Checked(0));
    EXPECT_FALSE(list->Checked(1));

    // Nothing selected: delete beeps, edit is unavailable in the menu as on its button.
    control<QPushButton>(sheet, "delete")->click();
    EXPECT_EQ(prompt.beeps, 1);
    EXPECT_EQ(texts(*list->ContextMenuAt(QPoint(-1, -1))),
              QStringList({"등록 정보(&R)-", "등록(&N)", "삭제(&D)"}));

    fillNext("c", "p3", "x\ny");
    control<QPushButton>(sheet, "add")->click();
    ASSERT_EQ(list->topLevelItemCount(), 3);

    // A right-click selects the row under it; its menu entries click the buttons.
    fillNext("a", "p1", "s1 edited");
    auto menu = list->ContextMenuAt(list->visualItemRect(list->topLevelItem(0)).center());
    EXPECT_EQ(list->SelectedRows(), std::vector<size_t>{0});
    EXPECT_EQ(texts(*menu), QStringList({"등록 정보(&R)", "등록(&N)", "삭제(&D)"}));
    menu->actions()[0]->trigger();
    EXPECT_EQ(list->topLevelItem(0)->text(2), "s1 edited");

    list->topLevelItem(1)->setCheckState(0, Qt::Checked);    // b on
    list->topLevelItem(2)->setCheckState(0, Qt::Unchecked);  // c off
    list->clearSelection();
    list->topLevelItem(0)->setSelected(true);
    list->ContextMenuAt(list->visualItemRect(list->topLevelItem(0)).center())
        ->actions()[2]
        ->trigger();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_TRUE(stored().size() == 2 && stored()[0].at("Title") == "a");  // not yet applied

    sheet.accept();
    const std::vector<Record> rules = stored();
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].at("Title"), "b");
    EXPECT_EQ(rules[0].at("Off"), "0");
    EXPECT_EQ(rules[1].at("Title"), "c");
    EXPECT_EQ(rules[1].at("SendString"), "x\r\ny");
    EXPECT_EQ(rules[1].at("Off"), "1");
}

class AutoMacroPanelTest : public FrameTest {};

TEST_F(AutoMacroPanelTest, TheIconPanelShowsTheServicesRulesAndSwitchesThem) {
    EXPECT_EQ(findCommand(Cmd::MacroSettings)->status, "매크로를 설정합니다.");
    EXPECT_FALSE(AddService(*registry, {{"Title", cp("하나")}}));
    ASSERT_TRUE(
        CRecordStore(*registry).SaveList(cp("하나"), RecordKind::AutoMacro,
                                         {{{"Title", cp("첫째")}, {"Pattern", "p1"}},
                                          {{"Title", "b"}, {"Pattern", "p2"}, {"Off", "1"}}}));
    makeFrame();
    CQuillonDoc& session = startSession();
    EXPECT_TRUE(frame->Action(Cmd::MacroSettings)->isEnabled());
    auto* panel = dynamic_cast<AutoMacroPanel*>(frame->findChild<QWidget*>("autoMacros"));
    ASSERT_TRUE(panel);
    auto buttons = [&] { return panel->findChildren<QToolButton*>(); };

    session.SetCurrentService(cp("하나"));
    ASSERT_EQ(buttons().size(), 2);
    EXPECT_EQ(buttons()[0]->text(), "첫째");
    EXPECT_EQ(buttons()[0]->toolTip(), "\"첫째\" 자동 매크로를 끄거나 켭니다.");
    EXPECT_TRUE(buttons()[0]->isChecked());
    EXPECT_FALSE(buttons()[1]->isChecked());

    buttons()[1]->click();
    EXPECT_FALSE(session.AutoMacros().IsOff(1));
    EXPECT_TRUE(buttons()[1]->isChecked());
    buttons()[0]->click();
    EXPECT_TRUE(session.AutoMacros().IsOff(0));
    EXPECT_FALSE(buttons()[0]->isChecked());

    session.SetCurrentService("");
    EXPECT_TRUE(buttons().isEmpty());
}

}  // namespace
