// Typing into a page: direct sending, the field's key buffer with its limits, the Enter
// fragment byte for byte, function and arrow keys, and pauses.
#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "tests/vtx/VtxSession.h"

namespace {

const std::string ESC = "\x1B";

// The fragment Enter sends for the default field (origin 0,0, size 1 x 0.78125) and `text`.
std::string defaultFieldFragment(const std::string& text) {
    const std::string origin = "\xC0\xC0\xC0\xC0";
    // 1.0 x 2048 held at 2047 (0x7FF); 0.78125 x 2048 = 1600 (0x640).
    const std::string size = "\xDB\xF9\xF8\xF8";
    return "\x1F\x40\x40\xA1\xCC\xC0\xC0\xC0\xC0\xB8" + origin + size +
           "\xA2\xC0\xC0\xC0\xC1\xF2\xC0\xA4" + origin + "\xBE\xC0\xDC\x1B\x24\x29\x43\x0F" + text +
           std::string(16 - text.size(), ' ') + "\x1B\x2D\x57\x85\xA4" + origin + "\x1A";
}

}  // namespace

TEST(VtxInput, CharactersGoStraightToTheHostOutsideAField) {
    VtxSession s;
    s.vtx->OnChar("a");
    s.vtx->OnChar("\xB0\xA1");
    s.vtx->OnBackspace();
    s.vtx->OnEnter();
    EXPECT_EQ(s.sent, "a\xB0\xA1\x08\x0D");
    EXPECT_FALSE(s.vtx->FieldInput());
}

TEST(VtxInput, EnterSendsTheFieldAsAFragment) {
    VtxSession s;
    s.Feed("\x9F");
    ASSERT_TRUE(s.vtx->FieldInput());
    // "가1", typed as the window hands characters over.
    s.vtx->OnChar(utf8ToCp949("가").value());
    s.vtx->OnChar("1");
    EXPECT_EQ(s.sent, "");
    EXPECT_EQ(s.vtx->KeyBuffer(),
              "\xB0\xA1"
              "1");
    s.vtx->OnEnter();
    EXPECT_EQ(s.sent, defaultFieldFragment("\xB0\xA1"
                                           "1"));
    EXPECT_FALSE(s.vtx->FieldInput());
    EXPECT_EQ(s.vtx->KeyBuffer(), "");
}

TEST(VtxInput, TheKeyBufferHoldsFifteenBytesAndWholeCharacters) {
    VtxSession s;
    s.Feed("\x9F");
    for (char c : std::string("abcdefghijklmnop"))
        s.vtx->OnChar(std::string(1, c));
    EXPECT_EQ(s.vtx->KeyBuffer(), "abcdefghijklmno");
    s.vtx->OnBackspace();
    s.vtx->OnBackspace();
    // At 13 bytes a two-byte character fits; at 15 nothing more.
    s.vtx->OnChar("\xB0\xA1");
    EXPECT_EQ(s.vtx->KeyBuffer(), "abcdefghijklm\xB0\xA1");
    s.vtx->OnBackspace();
    EXPECT_EQ(s.vtx->KeyBuffer(), "abcdefghijklm");
    s.vtx->OnChar("n");
    // At 14 bytes a two-byte character is refused whole.
    s.vtx->OnChar("\xB0\xA1");
    EXPECT_EQ(s.vtx->KeyBuffer(), "abcdefghijklmn");
    // Enter with three bytes: the rest of the 16 are blanks.
    VtxSession t;
    t.Feed("\x9F");
    for (const char* c : {"x", "y", "z"})
        t.vtx->OnChar(c);
    t.vtx->OnEnter();
    EXPECT_EQ(t.sent, defaultFieldFragment("xyz"));
}

TEST(VtxInput, TheKeyBufferIsDrawnAtTheFieldsTopLeft) {
    VtxSession s;
    s.Feed("\x9F");
    s.vtx->OnChar("A");
    const VtxMirror& m = s.Mirror();
    // Ink of colour 0 in the first cell, white paper over the two blanks after it.
    const int w = m.Pixels(0.025), top = m.Row(0.78125 - 0.0390625) - m.Pixels(0.0390625) + 1;
    int ink = 0;
    for (int y = std::max(top, 0); y < top + m.Pixels(0.0390625); ++y)
        for (int x = 0; x < w; ++x)
            ink += m.At(x, y) == 0;
    EXPECT_GT(ink, 5);
    const std::vector<uint8_t> withA = m.Pixels();
    s.vtx->OnBackspace();
    EXPECT_NE(m.Pixels(), withA);
    EXPECT_EQ(std::count(m.Pixels().begin(), m.Pixels().end(), 0), 0);
}

TEST(VtxInput, FunctionAndArrowKeys) {
    struct {
        VtxKey key;
        std::string bytes;
    } keys[] = {
        {VtxKey::Left, ESC + "%11\r\n"},  {VtxKey::Up, ESC + "%15\r\n"},
        {VtxKey::Right, ESC + "%13\r\n"}, {VtxKey::Down, ESC + "%17\r\n"},
        {VtxKey::F1, ESC + "#9\r"},       {VtxKey::F4, ESC + "#?\r"},
        {VtxKey::F6, ESC + "#:\r"},       {VtxKey::F10, ESC + "#1\r"},
    };
    for (const auto& k : keys) {
        VtxSession s;
        s.vtx->OnKey(k.key);
        EXPECT_EQ(s.sent, k.bytes) << int(k.key);
    }
}

TEST(VtxInput, WaitPausesWithAWakeUpNeverASleep) {
    VtxSession s;
    // WAIT of 0x5C then 5 + 5 tenths; "A" waits behind it.
    EXPECT_EQ(s.Feed("\x0E\x3D\x5C\x45\x45\x0F"
                     "A"),
              0);
    EXPECT_EQ(s.host.lastWake, 1000);
    EXPECT_EQ(s.input.size(), 1u);  // "A" still waiting
    s.host.clock.advance(999);
    s.RunAll();
    EXPECT_EQ(s.input.size(), 1u);
    s.host.clock.advance(1);
    s.RunAll();
    EXPECT_TRUE(s.input.empty());
    VtxSession a;
    a.Feed("A");
    EXPECT_EQ(s.Mirror().Pixels(), a.Mirror().Pixels());
    // WAIT followed by anything but 0x5C does not pause.
    VtxSession n;
    n.Feed(
        "\x0E\x3D\x45\x0F"
        "A");
    EXPECT_TRUE(n.input.empty());
}

TEST(VtxInput, BlinkAlternatesAnEntryOnWakeUpsUntilStopped) {
    VtxSession s;
    // Colour 3, then BLINK to colour 12, half a second on and off, no delay.
    s.Feed("\x0E\x3E\x4C\x3F\x70\x45\x45\x40\x0F");
    const VtxRgb grey{96, 96, 96}, yellow{252, 252, 0};
    EXPECT_EQ(s.Mirror().Palette()[3], grey);
    s.RunAll();
    EXPECT_EQ(s.Mirror().Palette()[3], yellow);
    EXPECT_EQ(s.host.lastWake, 500);
    s.host.clock.advance(500);
    s.RunAll();
    EXPECT_EQ(s.Mirror().Palette()[3], grey);
    s.host.clock.advance(500);
    s.RunAll();
    EXPECT_EQ(s.Mirror().Palette()[3], yellow);
    s.Feed("\x9E");
    EXPECT_EQ(s.Mirror().Palette()[3], grey);
}
