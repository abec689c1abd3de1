// Key bytes of host terminals turned into key events: cursor, function, keypad and editing keys
// in their ESC O and CSI forms with modifiers, Backspace, a lone Esc after its time-out, Alt
// with a key, control bytes one by one, the command key, typed UTF-8 cut anywhere, and
// bracketed paste; and the macro hot keys of those events.
#include <gtest/gtest.h>

#include "app/tty/TtyHotKey.h"
#include "app/tty/TtyKeys.h"
#include "tests/app/TtyKeyEvents.h"

namespace {

using Kind = TtyKey::Kind;

std::vector<TtyKey> decode(const std::string& bytes) {
    TtyKeys keys;
    std::vector<TtyKey> out;
    keys.Feed(bytes, out);
    keys.Flush(out);
    return out;
}

TEST(TtyKeysTest, CursorAndFunctionKeysInEitherForm) {
    EXPECT_EQ(decode("\x1b[A\x1bOB\x1b[C\x1bOD"),
              (std::vector<TtyKey>{key(TWKey::Up), key(TWKey::Down), key(TWKey::Right),
                                   key(TWKey::Left)}));
    EXPECT_EQ(decode("\x1bOP\x1b[12~\x1b[1;5R\x1b[15~\x1b[24~"),
              (std::vector<TtyKey>{key(TWKey::F1), key(TWKey::F2), key(TWKey::F3, kTWCtrl),
                                   key(TWKey::F5), key(TWKey::F12)}));
    // xterm's modifier parameter; Shift with F1..F10 stays as pressed until it is sent as
    // F11..F20.
    EXPECT_EQ(decode("\x1b[15;7~\x1b[1;3A\x1b[1;2P\x1b[21;2~"),
              (std::vector<TtyKey>{key(TWKey::F5, kTWCtrl | kTWAlt), key(TWKey::Up, kTWAlt),
                                   key(TWKey::F1, kTWShift), key(TWKey::F10, kTWShift)}));
    EXPECT_EQ(TtyKeys::FoldShiftedFunctionKey(key(TWKey::F1, kTWShift | kTWCtrl)),
              key(TWKey::F11, kTWCtrl));
    EXPECT_EQ(TtyKeys::FoldShiftedFunctionKey(key(TWKey::F11, kTWShift)),
              key(TWKey::F11, kTWShift));
    EXPECT_EQ(TtyKeys::FoldShiftedFunctionKey(key(TWKey::Up, kTWShift)), key(TWKey::Up, kTWShift));
}

TEST(TtyKeysTest, EditingKeysKeypadAndCommandKey) {
    EXPECT_EQ(
        decode("\x7f\x08\x1b[3~\x1d\x1b[5~\x1b[6~"),
        (std::vector<TtyKey>{plain(Kind::Backspace), plain(Kind::Backspace), plain(Kind::Delete),
                             plain(Kind::Command), plain(Kind::PageUp), plain(Kind::PageDown)}));
    const std::vector<TtyKey> pad = decode("\x1bOp\x1bOy\x1bOm\x1bOk\x1bOM");
    ASSERT_EQ(pad.size(), 5u);
    EXPECT_EQ(pad[0], (TtyKey{Kind::Keypad, "0", TWKey::Keypad0, 0}));
    EXPECT_EQ(pad[1], (TtyKey{Kind::Keypad, "9", TWKey::Keypad9, 0}));
    EXPECT_EQ(pad[2], (TtyKey{Kind::Keypad, "-", TWKey::KeypadMinus, 0}));
    EXPECT_EQ(pad[3], text("+"));
    EXPECT_EQ(pad[4], text("\r"));
    EXPECT_EQ(decode("\x1b[H\x1b[1;5F\x1bOH\x1b[2~\x1b[4~\x1b[3;2~\x1b[?1;2cx"),
              (std::vector<TtyKey>{plain(Kind::Home), TtyKey{Kind::End, {}, TWKey::F1, kTWCtrl},
                                   plain(Kind::Home), plain(Kind::Insert), plain(Kind::End),
                                   TtyKey{Kind::Delete, {}, TWKey::F1, kTWShift}, text("x")}));
}

TEST(TtyKeysTest, ALoneEscWaitsForItsTimeOut) {
    TtyKeys keys;
    std::vector<TtyKey> out;
    keys.Feed("\x1b", out);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(keys.Pending());
    keys.Feed("[", out);  // the sequence arrives in pieces
    keys.Feed("B", out);
    EXPECT_EQ(out, std::vector<TtyKey>{key(TWKey::Down)});

    out.clear();
    keys.Feed("\x1b", out);
    keys.Flush(out);
    EXPECT_EQ(out, std::vector<TtyKey>{plain(Kind::Escape)});
    EXPECT_FALSE(keys.Pending());
    // Alt with a printable key; Esc with anything else is Esc.
    EXPECT_EQ(decode("\x1bx\x1bL\x1b\x1b"),
              (std::vector<TtyKey>{TtyKey{Kind::Alt, "x", TWKey::F1, 0},
                                   TtyKey{Kind::Alt, "L", TWKey::F1, 0}, plain(Kind::Escape),
                                   plain(Kind::Escape)}));
}

TEST(TtyKeysTest, TypedUtf8IsHeldUntilWhole) {
    TtyKeys keys;
    std::vector<TtyKey> out;
    const std::string hangul = "한글";
    keys.Feed(hangul.substr(0, 2), out);
    EXPECT_TRUE(out.empty());
    keys.Feed(hangul.substr(2, 3), out);
    keys.Feed(hangul.substr(5) + "a\r\001\001b", out);
    EXPECT_EQ(out, (std::vector<TtyKey>{text("한글a"), text("\r"), text("\x01"), text("\x01"),
                                        text("b")}));
}

TEST(TtyKeysTest, BracketedPasteArrivesWholeWhateverItHolds) {
    TtyKeys keys;
    std::vector<TtyKey> out;
    keys.Feed("x\x1b[200~line 1\r\x1b[A\x7f", out);
    EXPECT_FALSE(keys.Pending());  // inside a paste Esc is text, no time-out
    keys.Feed("한\x1b[20", out);
    keys.Feed("1~y", out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], text("x"));
    EXPECT_EQ(out[1], (TtyKey{Kind::Paste, "line 1\r\x1b[A\x7f한", TWKey::F1, 0}));
    EXPECT_EQ(out[2], text("y"));
}

TEST(TtyHotKeyTest, KeysAsPressedGiveTheirKeyTexts) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\x1b[12~", "F2"},
        {"\x1b[15;2~", "Shift+F5"},
        {"\x1b[15;6~", "Ctrl+Shift+F5"},
        {"\x1b[1;5P", "Ctrl+F1"},
        {"\x1b[21;2~", "Shift+F10"},
        {"\x1b[24;2~", "Shift+F12"},
        {"\x1bl", "Alt+L"},
        {"\x1bL", "Shift+Alt+L"},
        {"\x1b!", "Shift+Alt+1"},
        {"\x1b/", "Alt+/"},
        {"\x1b[1;7D", "Ctrl+Alt+Left"},
        {"\x1b[1;5H", "Ctrl+Home"},
        {"\x1b[F", "End"},
        {"\x1b[2;3~", "Alt+Insert"},
        {"\x1b[6~", "Page Down"},
        {"\x1bOq", "Num 1"},
        {"\x01", "Ctrl+A"},
        {"\x1a", "Ctrl+Z"},
        {"\t", "Tab"},
        {"\r", "Enter"},
        {"\x7f", "Backspace"},
        // No hot key: typed text, the command key, a paste, a lone Esc.
        {"a", ""},
        {"!", ""},
        {"\x1d", ""},
        {"\x1c", ""},
        {"\x1b[200~x\x1b[201~", ""},
        {"\x1b", ""},
    };
    for (const auto& [bytes, keyText] : cases) {
        const std::vector<TtyKey> keys = decode(bytes);
        ASSERT_EQ(keys.size(), 1u) << bytes;
        EXPECT_EQ(KeyText(TtyHotKey(keys[0])), keyText) << bytes;
    }
}

}  // namespace
