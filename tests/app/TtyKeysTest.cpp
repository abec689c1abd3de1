// Key bytes of host terminals turned into key events: cursor, function and keypad keys in their
// ESC O and CSI forms with modifiers, Backspace and Delete, a lone Esc after its time-out, the
// command key, typed UTF-8 cut anywhere, and bracketed paste.
#include <gtest/gtest.h>

#include "app/tty/TtyKeys.h"

namespace {

using Kind = TtyKey::Kind;

TtyKey text(const std::string& t) {
    return TtyKey{Kind::Text, t, TWKey::F1, 0};
}
TtyKey key(TWKey k, unsigned modifiers = 0) {
    return TtyKey{Kind::Key, {}, k, modifiers};
}
TtyKey plain(Kind kind) {
    return TtyKey{kind, {}, TWKey::F1, 0};
}

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
    // xterm's modifier parameter, and Shift with F1..F10 standing for F11..F20.
    EXPECT_EQ(decode("\x1b[15;7~\x1b[1;3A\x1b[1;2P\x1b[21;2~"),
              (std::vector<TtyKey>{key(TWKey::F5, kTWCtrl | kTWAlt), key(TWKey::Up, kTWAlt),
                                   key(TWKey::F11), key(TWKey::F20)}));
}

TEST(TtyKeysTest, EditingKeysKeypadAndCommandKey) {
    EXPECT_EQ(
        decode("\x7f\x08\x1b[3~\x1d\x1b[5~\x1b[6~"),
        (std::vector<TtyKey>{plain(Kind::Backspace), plain(Kind::Backspace), plain(Kind::Delete),
                             plain(Kind::Command), plain(Kind::PageUp), plain(Kind::PageDown)}));
    const std::vector<TtyKey> pad = decode("\x1bOp\x1bOy\x1bOm\x1bOk\x1bOM");
    ASSERT_EQ(pad.size(), 4u);
    EXPECT_EQ(pad[0], (TtyKey{Kind::Keypad, "0", TWKey::Keypad0, 0}));
    EXPECT_EQ(pad[1], (TtyKey{Kind::Keypad, "9", TWKey::Keypad9, 0}));
    EXPECT_EQ(pad[2], (TtyKey{Kind::Keypad, "-", TWKey::KeypadMinus, 0}));
    EXPECT_EQ(pad[3], text("+\r"));
    // Home, End, Insert and reports are dropped whole.
    EXPECT_EQ(decode("\x1b[H\x1b[2~\x1b[?1;2cx"), (std::vector<TtyKey>{text("x")}));
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
    // Alt with a letter: Esc, then the letter.
    EXPECT_EQ(decode("\x1bx"), (std::vector<TtyKey>{plain(Kind::Escape), text("x")}));
}

TEST(TtyKeysTest, TypedUtf8IsHeldUntilWhole) {
    TtyKeys keys;
    std::vector<TtyKey> out;
    const std::string hangul = "한글";
    keys.Feed(hangul.substr(0, 2), out);
    EXPECT_TRUE(out.empty());
    keys.Feed(hangul.substr(2, 3), out);
    keys.Feed(hangul.substr(5) + "a\r", out);
    EXPECT_EQ(out, std::vector<TtyKey>{text("한글a\r")});
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

}  // namespace
