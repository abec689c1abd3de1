// Macro hot keys in the view: the hot key of each kind of Qt key press, and a bound key running
// its macro before the menu shortcuts and the terminal, back on the live screen.
#include <QCoreApplication>

#include "app/gui/QtHotKey.h"
#include "auto/MacroTable.h"
#include "auto/RecordKinds.h"
#include "auto/Services.h"
#include "tests/app/gui/ViewTestSupport.h"

namespace {

TEST(QtHotKeyTest, KeyCodesAndModifiersGiveTheKeyTexts) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::string text;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                ctrl = Qt::ControlModifier, alt = Qt::AltModifier,
                                pad = Qt::KeypadModifier;
    const std::vector<Case> cases = {
        {Qt::Key_F2, none, "F2"},
        {Qt::Key_F1, ctrl, "Ctrl+F1"},
        {Qt::Key_F5, ctrl | alt | shift, "Ctrl+Shift+Alt+F5"},
        {Qt::Key_F24, none, "F24"},
        {Qt::Key_A, none, "A"},
        {Qt::Key_A, shift, "Shift+A"},
        {Qt::Key_L, alt, "Alt+L"},
        {Qt::Key_Exclam, shift, "Shift+1"},  // Shift+1 arrives as '!'
        {Qt::Key_1, shift, "Shift+1"},
        {Qt::Key_QuoteDbl, shift, "Shift+'"},
        {Qt::Key_Question, ctrl | shift, "Ctrl+Shift+/"},
        {Qt::Key_BracketRight, ctrl, "Ctrl+]"},
        {Qt::Key_Space, none, "Space"},
        {Qt::Key_Backtab, shift, "Shift+Tab"},
        {Qt::Key_Tab, ctrl, "Ctrl+Tab"},
        {Qt::Key_7, pad, "Num 7"},
        {Qt::Key_Asterisk, pad, "Num *"},
        {Qt::Key_Plus, pad, "Num +"},
        {Qt::Key_Minus, pad | ctrl, "Ctrl+Num -"},
        {Qt::Key_Period, pad, "Num Del"},
        {Qt::Key_Slash, pad, "/"},
        {Qt::Key_Enter, pad, "Enter"},
        {Qt::Key_Home, pad, "Home"},  // NumLock off: the key it acts as
        {Qt::Key_Return, none, "Enter"},
        {Qt::Key_PageUp, shift, "Shift+Page Up"},
        {Qt::Key_Insert, ctrl, "Ctrl+Insert"},
        {Qt::Key_Print, none, "Prnt Scrn"},
        {Qt::Key_Pause, none, "Pause"},
        {Qt::Key_Escape, none, "Esc"},
        // Never hot keys.
        {Qt::Key_Control, ctrl, ""},
        {Qt::Key_Shift, shift, ""},
        {Qt::Key_Hangul, none, ""},
        {Qt::Key_Hangul_Hanja, none, ""},
        {Qt::Key_CapsLock, none, ""},
        {Qt::Key_NumLock, none, ""},
        {Qt::Key_Agrave, none, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyText(QtHotKey(c.key, c.modifiers)), c.text) << std::hex << c.key;
}

class ViewMacroKeysTest : public ViewTest {
protected:
    // Macros of the session's service "기본", reloaded as the settings page would have them.
    void bind(const std::vector<std::pair<std::string, std::string>>& macros) {
        if (!ServiceRecord(*registry, cp("기본"))) AddService(*registry, {{"Title", cp("기본")}});
        RegKey record = *ServiceRecord(*registry, cp("기본"));
        registry->deleteKey(record, "Macro");
        RegKey key = *registry->createKey(record, "Macro");
        for (const auto& [keyText, contents] : macros)
            registry->setValue(key, keyText, contents);
        registry->listChanges().notify(RecordKind::Macro);
    }
    std::string sentAfterLoop() {
        QCoreApplication::processEvents();
        return sent();
    }
};

TEST_F(ViewMacroKeysTest, BoundKeysRunTheirMacrosBeforeShortcutsAndTheTerminal) {
    bind({{"Alt+L", "cap"},
          {"Shift+1", "bang"},
          {"Num 7", "n7"},
          {"Shift+Tab", "bt"},
          {"Ctrl+F8", "hang<Enter>"}});
    key(Qt::Key_L, Qt::AltModifier);  // the capture's shortcut
    EXPECT_EQ(sentAfterLoop(), "cap");
    EXPECT_TRUE(prompt.filesAsked.empty());
    key(Qt::Key_Exclam, Qt::ShiftModifier, "!");
    EXPECT_EQ(sentAfterLoop(), "bang");
    key(Qt::Key_7, Qt::KeypadModifier, "7");
    EXPECT_EQ(sentAfterLoop(), "n7");
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(sentAfterLoop(), "bt");
    key(Qt::Key_F8, Qt::ControlModifier);  // the hang-up shortcut
    EXPECT_EQ(sentAfterLoop(), "hang\r");
    EXPECT_TRUE(links.hangUps.empty());

    for (int i = 0; i < 60; ++i)
        receive("line " + std::to_string(i) + "\r\n");
    view().ScrollBy(-5);
    key(Qt::Key_L, Qt::AltModifier);
    EXPECT_FALSE(view().ScrolledBack());
    EXPECT_EQ(sentAfterLoop(), "cap");

    // Unbound keys do what they always did.
    key(Qt::Key_F2);
    key(Qt::Key_1, Qt::NoModifier, "1");
    EXPECT_EQ(sentAfterLoop(), "\x1b[12~1");
    bind({});
    key(Qt::Key_F8, Qt::ControlModifier);
    EXPECT_EQ(links.hangUps, std::vector<int>{0});
}

}  // namespace
