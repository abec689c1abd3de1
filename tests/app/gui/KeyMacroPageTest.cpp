// The "일반" page of the macro settings: the record dialog's hot-key field and checks, the page
// adding, editing and deleting macros into the store, and the icon panel's macro buttons.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/gui/CMacroSheet.h"
#include "app/gui/CommandList.h"
#include "app/gui/HotKeyEdit.h"
#include "app/gui/MacroDialog.h"
#include "app/gui/MacroPanel.h"
#include "auto/Services.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

class KeyMacroPageTest : public DialogTest {
protected:
    KeyMacroPageTest() {
        EXPECT_FALSE(AddService(*registry, {{"Title", cp("하나")}}));
        RegKey key = *registry->createKey(*ServiceRecord(*registry, cp("하나")), "Macro");
        EXPECT_TRUE(registry->setValue(key, "F2", "top<Enter>"));
        EXPECT_TRUE(registry->setValue(key, "@F2", cp("처음")));
    }
    std::vector<std::string> stored() {
        std::vector<std::string> out;
        RegKey key = *registry->openKey(*ServiceRecord(*registry, cp("하나")), "Macro");
        for (const RegValue& value : registry->values(key))
            out.push_back(value.name + "=" + value.data);
        return out;
    }
    // Fills the record dialog that opens next: keys pressed in the hot-key field, then OK.
    static void fillNext(std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys,
                         const QString& name, const QString& contents) {
        whenShown<MacroDialog>([=](MacroDialog& d) {
            for (auto [key, modifiers] : keys)
                QTest::keyClick(control<HotKeyEdit>(d, "hotKey"), key, modifiers);
            control<QLineEdit>(d, "name")->setText(name);
            control<QPlainTextEdit>(d, "contents")->setPlainText(contents);
            d.accept();
            if (d.isVisible()) d.reject();  // refused: give up
        });
    }
};

TEST_F(KeyMacroPageTest, TheHotKeyFieldRecordsOneKeyAsItsKeyText) {
    MacroDialog dialog({}, prompt);
    EXPECT_EQ(dialog.windowTitle(), "새 매크로 등록 정보");
    auto* field = control<HotKeyEdit>(dialog, "hotKey");
    QTest::keyClick(field, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field->KeyText(), "Ctrl+Shift+F5");
    QTest::keyClick(field, Qt::Key_Control, Qt::ControlModifier);  // a modifier alone
    EXPECT_EQ(field->KeyText(), "Ctrl+Shift+F5");
    QTest::keyClick(field, Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(field->KeyText(), "Shift+1");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->KeyText(), "");
    QTest::keyClick(field, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(field->KeyText(), "Ctrl+Esc");
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->KeyText(), "");

    MacroDialog named({cp("목록"), "Ctrl+ F1", "a\r\nb"}, prompt);
    EXPECT_EQ(named.windowTitle(), "목록 매크로 등록 정보");
    EXPECT_EQ(control<HotKeyEdit>(named, "hotKey")->KeyText(), "Ctrl+ F1");  // re-keyable
    EXPECT_EQ(control<QPlainTextEdit>(named, "contents")->toPlainText(), "a\nb");
    named.accept();
    EXPECT_EQ(prompt.asked.back().text, "단축키를 입력하십시오.");
    EXPECT_EQ(named.result(), QDialog::Rejected);
}

TEST_F(KeyMacroPageTest, ThePageIsFirstAndAddsEditsAndDeletesIntoTheStore) {
    CMacroSheet sheet(*registry, prompt, cp("하나"));
    EXPECT_EQ(sheet.Tabs()->tabText(0), "일반");
    EXPECT_EQ(control<QComboBox>(sheet, "keyService")->currentText(), "하나");
    auto* list = control<CommandList>(sheet, "keyMacros");
    EXPECT_EQ(list->headerItem()->text(0), "   이름");
    EXPECT_EQ(list->headerItem()->text(1), "단축키");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "F2");
    EXPECT_FALSE(control<QPushButton>(sheet, "keyEdit")->isEnabled());
    EXPECT_FALSE(control<QPushButton>(sheet, "keyDelete")->isEnabled());

    fillNext({{Qt::Key_A, Qt::NoModifier}}, "a", "x");  // refused: a typing key
    control<QPushButton>(sheet, "keyAdd")->click();
    EXPECT_EQ(prompt.asked.back().text, "일반 키는 단축키로 지정할 수 없습니다.");
    EXPECT_EQ(list->topLevelItemCount(), 1);

    fillNext({{Qt::Key_F1, Qt::ControlModifier}}, "ls", "ls -l<Enter>");
    control<QPushButton>(sheet, "keyAdd")->click();
    prompt.expect(PromptAnswer::Yes);  // Alt+L is the capture's shortcut
    fillNext({{Qt::Key_L, Qt::AltModifier}}, "갈무리", "a\nb");
    list->doubleClicked({});
    ASSERT_EQ(list->topLevelItemCount(), 3);

    list->topLevelItem(0)->setSelected(true);  // F2, edited: it goes to the end
    EXPECT_TRUE(control<QPushButton>(sheet, "keyEdit")->isEnabled());
    fillNext({{Qt::Key_F3, Qt::NoModifier}}, "top", "top<Enter>");
    control<QPushButton>(sheet, "keyEdit")->click();
    EXPECT_EQ(list->topLevelItem(2)->text(1), "F3");
    list->clearSelection();
    list->topLevelItem(1)->setSelected(true);
    control<QPushButton>(sheet, "keyDelete")->click();  // Alt+L, without asking
    ASSERT_EQ(list->topLevelItemCount(), 2);

    sheet.accept();
    EXPECT_EQ(stored(), (std::vector<std::string>{"@Ctrl+F1=ls", "@F3=top", "Ctrl+F1=ls -l<Enter>",
                                                  "F3=top<Enter>"}));
}

class MacroPanelTest : public FrameTest {};

TEST_F(MacroPanelTest, TheIconPanelRunsTheServicesMacros) {
    EXPECT_FALSE(AddService(*registry, {{"Title", cp("하나")}}));
    RegKey key = *registry->createKey(*ServiceRecord(*registry, cp("하나")), "Macro");
    ASSERT_TRUE(registry->setValue(key, "F2", "go<Enter>"));
    ASSERT_TRUE(registry->setValue(key, "@F2", cp("처음")));
    makeFrame();
    CQuillonDoc& session = startSession({"127.0.0.1"});
    links.last->online = true;
    session.OnIdle();
    auto* panel = dynamic_cast<MacroPanel*>(frame->findChild<QWidget*>("macros"));
    ASSERT_TRUE(panel);
    auto buttons = [&] { return panel->findChildren<QToolButton*>(); };
    EXPECT_TRUE(buttons().isEmpty());

    session.SetCurrentService(cp("하나"));
    ASSERT_EQ(buttons().size(), 1);
    EXPECT_EQ(buttons()[0]->text(), "처음");
    EXPECT_EQ(buttons()[0]->toolTip(), "처음 매크로를 실행합니다.");
    buttons()[0]->click();
    EXPECT_EQ(links.last->Output(), "go\r");
}

}  // namespace
