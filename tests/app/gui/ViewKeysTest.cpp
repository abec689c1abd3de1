// Keys in the terminal window and the bytes they put on the link: function, cursor and keypad
// keys, control bytes from the key code, Delete, Tab, Esc, Alt, typed Korean text, VT220 mode
// over the menu shortcuts, the scroll-back keys and the keys other parts take first.
#include "auto/SoundEvents.h"
#include "platform/TextCodec.h"
#include "tests/app/gui/ViewTestSupport.h"

namespace {

const std::string ESC = "\x1b";

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;  // what the desktop gives as the key's text
    std::string bytes;
};

// Names the case in the test list instead of dumping its bytes.
void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class ViewKeys : public ViewTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ViewKeys, SendsExactBytes) {
    const KeyCase& c = GetParam();
    key(c.key, c.modifiers, QString::fromUtf8(c.text));
    EXPECT_EQ(sent(), c.bytes);
    EXPECT_TRUE(view().hasFocus());
}

const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier,
                            alt = Qt::AltModifier, shift = Qt::ShiftModifier,
                            keypad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, ViewKeys,
    ::testing::Values(KeyCase{"F1", Qt::Key_F1, none, "", ESC + "[11~"},
                      KeyCase{"AltF1", Qt::Key_F1, alt, "", ESC + "[23~"},
                      KeyCase{"CtrlF1", Qt::Key_F1, ctrl, "", ESC + "OP"},
                      KeyCase{"AltCtrlF5", Qt::Key_F5, alt | ctrl, "", ""},
                      KeyCase{"CtrlF9", Qt::Key_F9, ctrl, "", ""},
                      KeyCase{"CtrlF10", Qt::Key_F10, ctrl, "", ESC + "[6~"},
                      KeyCase{"F20", Qt::Key_F20, none, "", ESC + "[34~"},
                      KeyCase{"Up", Qt::Key_Up, none, "", ESC + "[A"},
                      KeyCase{"KeypadLeft", Qt::Key_Left, keypad, "", ESC + "[D"},
                      KeyCase{"Keypad5", Qt::Key_5, keypad, "5", "5"},
                      KeyCase{"KeypadMinus", Qt::Key_Minus, keypad, "-", "-"},
                      KeyCase{"Home", Qt::Key_Home, none, "", ""},
                      KeyCase{"CtrlA", Qt::Key_A, ctrl, "\x01", "\x01"},
                      KeyCase{"CtrlCWithoutText", Qt::Key_C, ctrl, "", "\x03"},
                      KeyCase{"CtrlZWithLetterText", Qt::Key_Z, ctrl, "z", "\x1a"},
                      KeyCase{"CtrlShiftA", Qt::Key_A, ctrl | shift, "", "\x01"},
                      KeyCase{"CtrlBracket", Qt::Key_BracketLeft, ctrl, "", ESC},
                      KeyCase{"CtrlSpace", Qt::Key_Space, ctrl, "", std::string(1, '\0')},
                      KeyCase{"CtrlBracketRight", Qt::Key_BracketRight, ctrl, "", "\x1d"},
                      KeyCase{"Delete", Qt::Key_Delete, none, "\x7f", "\x7f"},
                      KeyCase{"CtrlDelete", Qt::Key_Delete, ctrl, "", ""},
                      KeyCase{"Backspace", Qt::Key_Backspace, none, "\b", "\b"},
                      KeyCase{"Tab", Qt::Key_Tab, none, "\t", "\t"},
                      KeyCase{"ShiftTab", Qt::Key_Backtab, shift, "", "\t"},
                      KeyCase{"Esc", Qt::Key_Escape, none, "\x1b", ESC},
                      KeyCase{"Enter", Qt::Key_Return, none, "\r", "\r"},
                      KeyCase{"AltX", Qt::Key_X, alt, "x", ""},
                      KeyCase{"ShiftA", Qt::Key_A, shift, "A", "A"},
                      KeyCase{"Korean", Qt::Key_unknown, none, "한", "\xc7\xd1"},
                      KeyCase{"NotInCp949", Qt::Key_unknown, none, "😀", "?"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(ViewTest, KeypadApplicationModeSendsTheKeypadSequences) {
    receive(ESC + "=");
    for (Qt::Key k : {Qt::Key_0, Qt::Key_5, Qt::Key_9})
        key(k, Qt::KeypadModifier, "x");
    key(Qt::Key_Minus, Qt::KeypadModifier, "-");
    EXPECT_EQ(sent(), ESC + "Op" + ESC + "Ou" + ESC + "Oy" + ESC + "Om");
    key(Qt::Key_5, Qt::NoModifier, "5");  // the main keyboard's digit stays a character
    EXPECT_EQ(sent(), "5");
}

// The menus' F4, Alt+F4 and Ctrl+F8 run their commands unless VT220 mode gives them to the
// host.
TEST_F(ViewTest, VT220ModeTakesTheFunctionKeysFromTheMenus) {
    key(Qt::Key_F8, Qt::ControlModifier);  // the hang-up shortcut
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(links.hangUps, std::vector<int>{0});

    link().online = true;
    doc->OnIdle();
    EXPECT_TRUE(window->RunCommand(Cmd::VT220));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "VT220 펑션키 모드에서는 VT220의 펑션키인 F1~F20이\nVT220 전용으로 사용되므로 퀼론 "
              "98 메뉴 명령용\n단축키인 Alt+F4, Ctrl+F8, F4등이 제대로 작동되지 않습니다.");
    EXPECT_EQ(setting("VT220"), "1");
    key(Qt::Key_F8, Qt::ControlModifier);
    key(Qt::Key_F4, Qt::AltModifier);
    key(Qt::Key_F4);
    EXPECT_EQ(sent(), ESC + "[4~" + ESC + "[26~" + ESC + "[14~");
    EXPECT_EQ(links.hangUps, std::vector<int>{0});
    EXPECT_TRUE(window->isVisible());

    EXPECT_TRUE(window->RunCommand(Cmd::VT220));  // off: no second message
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(setting("VT220"), "0");
}

TEST_F(ViewTest, ScrollBackKeysMoveTheViewAndSendNothing) {
    for (int i = 0; i < 60; ++i)
        receive("line " + std::to_string(i) + "\r\n");
    view().ScrollBy(-1);
    ASSERT_TRUE(view().ScrolledBack());
    key(Qt::Key_Up);    // two lines back
    key(Qt::Key_Down);  // one
    EXPECT_TRUE(view().ScrolledBack());
    key(Qt::Key_Down);  // the live screen
    EXPECT_FALSE(view().ScrolledBack());
    EXPECT_EQ(sent(), "");

    view().ScrollBy(-10);
    key(Qt::Key_Escape);
    EXPECT_FALSE(view().ScrolledBack());
    EXPECT_EQ(sent(), "");

    view().ScrollBy(-3);
    key(Qt::Key_A, Qt::NoModifier, "a");  // a character returns first, then goes on
    EXPECT_FALSE(view().ScrolledBack());
    EXPECT_EQ(sent(), "a");
}

TEST_F(ViewTest, EscapeFirstOffersToCancelAPaste) {
    link().backlog = 1;  // the paste waits for the link
    doc->Paste(std::string(5000, 'x'));
    prompt.expect(PromptAnswer::No);
    key(Qt::Key_Escape);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "붙여넣기 중입니다. 붙여넣기를 취소할까요?");
    EXPECT_EQ(sent(), "");
    EXPECT_TRUE(doc->PasteRunning());
}

TEST_F(ViewTest, PanesAndMacroKeysComeFirstAndWinOverShortcuts) {
    std::vector<int> paneKeys, macroKeys;
    view().macroKeys = {[](const QKeyEvent& k) { return k.key() == Qt::Key_F8; },
                        [&](QKeyEvent& k) { macroKeys.push_back(k.key()); }};
    key(Qt::Key_F8, Qt::ControlModifier);
    EXPECT_EQ(macroKeys, std::vector<int>{Qt::Key_F8});
    EXPECT_TRUE(links.hangUps.empty());

    view().paneKeys = {[](const QKeyEvent&) { return true; },
                       [&](QKeyEvent& k) { paneKeys.push_back(k.key()); }};
    key(Qt::Key_A, Qt::NoModifier, "a");
    key(Qt::Key_F8);
    EXPECT_EQ(paneKeys, (std::vector<int>{Qt::Key_A, Qt::Key_F8}));
    EXPECT_EQ(macroKeys.size(), 1u);
    EXPECT_EQ(sent(), "");
}

TEST_F(ViewTest, JohabModeSendsAndShowsJohab) {
    EXPECT_TRUE(window->RunCommand(Cmd::Johab));
    EXPECT_TRUE(doc->UseJohab());
    EXPECT_TRUE(view().JohabDisplay());
    EXPECT_EQ(setting("UseJohab"), "1");
    key(Qt::Key_unknown, Qt::NoModifier, "한");
    EXPECT_EQ(sent(), "\xd0\x65");  // 한 in Johab
    receive("\xd0\x65");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(
                              view().CharRow(view().ScreenTop() + view().Cursor().y)) +
                              view().Cursor().x - 2,
                          2),
              "\xc7\xd1");
    EXPECT_TRUE(window->RunCommand(Cmd::Johab));
    EXPECT_FALSE(doc->UseJohab());
    EXPECT_EQ(setting("UseJohab"), "0");
}

// A string of the highlight list appearing on screen plays the highlight sound once.
TEST_F(ViewTest, AHighlightedStringPlaysItsSound) {
    ASSERT_TRUE(SetEventSoundFile(*registry, "문자열 찾기 성공", "/snd/found.wav"));
    view().SetHighlightText("gold");
    const size_t before = sound.played.size();
    receive("no match\r\n");
    EXPECT_EQ(sound.played.size(), before);
    receive("a gold coin\r\n");
    ASSERT_EQ(sound.played.size(), before + 1);
    EXPECT_EQ(sound.played.back(), (std::pair<std::string, bool>{"/snd/found.wav", false}));
}

}  // namespace
