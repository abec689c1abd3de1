// The interpreter, fed through the same runner quilite-vtdump uses: cursor control, colours,
// replies to the host, the ZMODEM and picture triggers, service negotiation and the Korean
// cases where C1 bytes are text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/VtDump.h"

namespace {

using Events = std::vector<int>;

std::string row(const TWView& v, int y) {
    return std::string(reinterpret_cast<const char*>(v.CharRow(v.ScreenTop() + y)), 80);
}
std::string text(const TWView& v, int y) {
    std::string r = row(v, y);
    return r.substr(0, r.find_last_not_of(' ') + 1);
}

struct Term {
    explicit Term(const std::string& bytes, VtDumpOptions options = {}) : dump(options) {
        dump.Feed(bytes);
    }
    const TWView& view() const { return dump.View(); }
    TWPoint cursor() const { return dump.View().Cursor(); }
    VtDump dump;
};

TEST(CursorControl, PositioningIsOneBasedAndCappedAtEightyColumns) {
    EXPECT_EQ(Term("\x1b[5;10H").cursor(), (TWPoint{9, 4}));
    EXPECT_EQ(Term("\x1b[5;10H\x1b[H").cursor(), (TWPoint{0, 0}));
    EXPECT_EQ(Term("\x1b[5;99H").cursor(), (TWPoint{79, 4}));
    EXPECT_EQ(Term("\x1b[5;10f\x1b[2A\x1b[3C\x1b[B\x1b[D").cursor(), (TWPoint{11, 3}));
    EXPECT_EQ(Term("\x1b[99999999999999A\x1b[99999999999999C").cursor(), (TWPoint{79, 0}));
}

TEST(CursorControl, ClearScreenLeavesTheCursorOneRowAboveWhereItWas) {
    EXPECT_EQ(Term("\x1b[10;5Hx\x1b[2J").cursor(), (TWPoint{0, 8}));
    EXPECT_EQ(Term("\x1b[2;5Hx\x1b[2J").cursor(), (TWPoint{0, 0}));
}

TEST(CursorControl, SaveAndRestore) {
    Term r(
        "\x1b[3;4H\x1b"
        "7\x1b[10;10H\x1b"
        "8X");
    EXPECT_EQ(text(r.view(), 2), "   X");
    Term s("\x1b[3;4H\x1b[1;33;42m\x1b[s\x1b[0;37;44m\x1b[20;1H\x1b[uY");
    EXPECT_EQ(s.cursor(), (TWPoint{4, 2}));
    EXPECT_EQ(s.view().Attribute(), 0x2E);
}

TEST(CursorControl, NextLineIndexAndReverseIndex) {
    Term r(
        "ab\x1b"
        "Ecd\x1b[25;1H\x1b"
        "D\x1b"
        "M\x1b"
        "M");
    EXPECT_EQ(r.cursor(), (TWPoint{0, 24}));
    EXPECT_EQ(text(r.view(), 1), "");  // ESC D pushed "ab" up, two ESC M brought it down twice
    EXPECT_EQ(text(r.view(), 2), "cd");
    EXPECT_EQ(text(r.view(), 1 - 1), "");
    EXPECT_EQ(r.view().HistoryRows(), 1);
}

TEST(Colours, SgrMapsAnsiColoursToThePcPalette) {
    EXPECT_EQ(Term("\x1b[1;31;44m").view().Attribute(), 0x1C);
    Term reversed("\x1b[7m\x1b[31m");
    int fg, bg;
    reversed.view().GetColors(fg, bg);
    EXPECT_EQ(bg, 4);  // reverse makes 31 set the background
    EXPECT_EQ(fg, 15);
    EXPECT_EQ(Term("\x1b[=14F\x1b[=4G").view().Attribute(), 0x4E);
    EXPECT_EQ(Term("\x1b[=16F\x1b[=99G").view().Attribute(), 0x1F);
    // 0 resets the rendition flags but keeps the colours.
    EXPECT_EQ(Term("\x1b[32;40;1m\x1b[0m").view().Attribute(), 0x02);
}

TEST(Colours, UnderlineShowsSpacesAsUnderscores) {
    EXPECT_EQ(text(Term("\x1b[4mA B\x1b[24m C").view(), 0), "A_B C");
}

TEST(Charsets, DecSpecialGraphicsStoresLineCodes) {
    Term r("\x1b(0lqk\x1b(Bq\x0e\x1b)0x\x0fx");
    EXPECT_EQ(row(r.view(), 0).substr(0, 6), std::string("\x01\x06\x02q\x05x", 6));
}

TEST(Parameters, TwelveParametersAbandonTheSequence) {
    Term r("\x1b[1;2;3;4;5;6;7;8;9;10;11;12m");
    EXPECT_EQ(text(r.view(), 0), "12m");
    EXPECT_EQ(r.view().Attribute(), 0x1F);
}

TEST(Parameters, HugeValuesSaturateAndEraseRectangleNeverScrolls) {
    Term r("\x1b[25;1Hbottom\x1b[3;1;1;25;80J\x1b[25;80H\x1b[1K");
    EXPECT_EQ(r.view().HistoryRows(), 0);
    EXPECT_EQ(text(r.view(), 24), "");
    EXPECT_EQ(r.cursor(), (TWPoint{79, 24}));
    Term huge("\x1b[65536;4294967296;1;99999;99999J\x1b[999999999L\x1b[999999999@\x1b[9999;9999G");
    EXPECT_EQ(huge.view().HistoryRows(), 0);
}

TEST(Replies, IdentificationAndStatusReports) {
    EXPECT_EQ(Term("\x1bZ\x1b[c\x1b[0c").dump.Replies(), "\x1b[?6c\x1b[?6c\x1b[?6c");
    EXPECT_EQ(Term("\x1b[>c\x1b[1;2c").dump.Replies(), "");
    EXPECT_EQ(Term("\x1b[3;7H\x1b[6n\x1b[5n").dump.Replies(), "\x1b[3;7R\x1b[0n");
}

TEST(Modes, CaretAndPrivateModes) {
    EXPECT_FALSE(Term("\x1b[?25l").view().CaretVisible());
    EXPECT_TRUE(Term("\x1b[?25l\x1b[?25h").view().CaretVisible());
    // The 8-bit CSI has no private form.
    EXPECT_TRUE(Term("\x9b?25l").view().CaretVisible());
    Term cursorKeys("\x1b[?1h\x1b=");
    EXPECT_EQ(cursorKeys.dump.Emulator().CursorKeyIntroducer(), 'O');
    EXPECT_TRUE(cursorKeys.dump.Emulator().KeypadApplicationMode());
    EXPECT_EQ(Term("\x1b[?1s").dump.Events(), Events({kTWPrivateSave}));
}

TEST(Modes, ColumnResetIsReportedWhenNothingFollows) {
    Term alone("text\x1b[?3l");
    EXPECT_EQ(alone.dump.Events(), Events({kTWColumnReset}));
    EXPECT_EQ(text(alone.view(), 0), "");
    EXPECT_EQ(Term("\x1b[?3lX").dump.Events(), Events());
    EXPECT_EQ(Term("\x1b[?3h").dump.Events(), Events());
}

TEST(Modes, RowFlagsTabsRegionAndBox) {
    Term r("\x1b#6\x1b[3g\tx\x1b[5;10r\x1b[12;3H\x1b[3;2G");
    EXPECT_EQ(r.view().RowFlag(r.view().ScreenTop()), 1);
    EXPECT_EQ(text(r.view(), 0), "x");
    EXPECT_EQ(r.view().RegionTop(), 4);
    EXPECT_EQ(r.view().RegionBottom(), 9);
    const uint8_t* lines = r.view().LineRow(r.view().ScreenTop() + 11);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(lines) + 2, 3), "S-r");
}

TEST(ZmodemTrigger, StartsAreRecognisedAndWiped) {
    Term receive(
        "ab**\x18"
        "B00");
    EXPECT_EQ(receive.dump.Events(), Events({kTWZmodemReceive}));
    EXPECT_EQ(text(receive.view(), 0), "ab");
    EXPECT_EQ(receive.cursor(), (TWPoint{2, 0}));
    EXPECT_EQ(Term("**\x18"
                   "B01")
                  .dump.Events(),
              Events({kTWZmodemSend}));
    // A third star restarts the chain, so the CAN is an ordinary cancel.
    Term three(
        "***\x18"
        "B00");
    EXPECT_EQ(three.dump.Events(), Events());
    EXPECT_EQ(text(three.view(), 0), "***B00");
    EXPECT_EQ(text(Term("**\x18"
                        "B0x")
                       .view(),
                   0),
              "**B0x");
}

TEST(ZmodemTrigger, PictureTransferGoesToTheAnchor) {
    Term r(
        "\x18\n\x1b[10,5H**\x18"
        "B00");
    EXPECT_EQ(r.dump.Events(), Events({kTWImageReceive}));
    EXPECT_EQ(r.cursor(), (TWPoint{10, 5}));
    // Two CANs before the line end do not announce a picture.
    EXPECT_EQ(Term("\x18\x18\n**\x18"
                   "B00")
                  .dump.Events(),
              Events({kTWZmodemReceive}));
}

TEST(Negotiation, RepliesAndEvents) {
    const std::string caps = std::string(
        " \x7f"
        "01456789;@A\x7f\r");
    Term amp("\x1b&2");
    EXPECT_EQ(amp.dump.Replies(), "\x1b&3" + caps + "\x11");
    ASSERT_EQ(amp.dump.Replies().size(), 19u);
    EXPECT_EQ(amp.dump.Events(), Events());

    Term r(
        "\x1b%2\x1b&3\x1b&0abcd\x1b%1\x1b&4\x1b%A\x1b%6A\x1b&6@\x1b%B4\x1b&B1\x1b&C\x1b&Q\x1b%Z");
    EXPECT_EQ(r.dump.Replies(), std::string("\x1b&3"
                                            "A\x7f"
                                            "6\x7f") +
                                    caps + "\x1b&>" + "\x1b&>" + "\x1b&3" + "\x1b&3" + "\x1b&3\r");
    EXPECT_EQ(r.dump.Events(),
              Events({kTWServiceStart, kTWServiceQuery, kTWVideotexStart, kTWVideotexStart,
                      kTWServiceStart, kTWImageStart, kTWImageCommand1, kTWImageEnd}));
    EXPECT_EQ(text(r.view(), 0), "");
}

TEST(Negotiation, AmpersandRepliesGoOutAsOneWriteGroup) {
    MemoryLink link("\x1b&2\x1b%2\x1b&0wxyz\x1b%0wxyz");
    TWView view;
    TWEmulator emulator(&view, &link);
    while (link.InputCount() > 0)
        emulator.GetChar();
    const std::string& out = link.Output();
    ASSERT_EQ(link.Groups().size(), 2u);
    EXPECT_EQ(link.Groups()[0], std::make_pair(size_t{0}, size_t{19}));
    EXPECT_EQ(out.substr(link.Groups()[1].first, 3), "\x1b&>");
    EXPECT_EQ(link.Groups()[1].second - link.Groups()[1].first, 3u);
    EXPECT_EQ(out.size(), 19u + 7 + 3 + 3);
}

TEST(KoreanText, C1BytesCompleteAPendingPair) {
    // 0xB0 0x85 is a CP949 extended syllable; 0x85 is its second byte, not a line feed.
    Term r(
        "\xB0\x85"
        "a\xB0\x84\xB0\x8D\xB0\x9B");
    EXPECT_EQ(text(r.view(), 0),
              "\xB0\x85"
              "a\xB0\x84\xB0\x8D\xB0\x9B");
    EXPECT_EQ(r.cursor(), (TWPoint{9, 0}));
}

TEST(KoreanText, C1BytesAreControlsWhenNoPairIsPending) {
    // Down, up, a line feed without carriage return, and the 8-bit CSI.
    Term r(
        "\x1b[3;3Ha\x84"
        "b\x8D"
        "c\x85"
        "d\x9b"
        "2Ce");
    EXPECT_EQ(text(r.view(), 2), "  a c");
    EXPECT_EQ(text(r.view(), 3), "   b d  e");
}

TEST(KoreanText, JohabLeadBytesAreTextWhileJohabIsShown) {
    VtDumpOptions johab;
    johab.johab = true;
    // 문 붙 께 뜨 ㅏ
    Term r("\xA2\x85\xA6\x9B\x8D\x41\x9B\x61\x84\x61", johab);
    EXPECT_EQ(text(r.view(), 0), "\xB9\xAE\xBA\xD9\xB2\xB2\xB6\xDF\xA4\xBF");
    EXPECT_EQ(r.dump.Events(), Events());
}

TEST(AnswerEcho, ReceivedTextGoesBackAndACrIsOneLineEnd) {
    VtDumpOptions echo;
    echo.echo = true;
    Term r("ab\rcd", echo);
    EXPECT_EQ(r.dump.Replies(), "ab\r\ncd");
    EXPECT_EQ(text(r.view(), 0), "ab");
    EXPECT_EQ(text(r.view(), 1), "cd");

    VtDump withCrLf(echo);
    withCrLf.Emulator().SetLineOptions(false, true, false);
    withCrLf.Feed("x\ry");
    EXPECT_EQ(withCrLf.Replies(), "x\r\ny");
    EXPECT_EQ(withCrLf.View().Cursor(), (TWPoint{1, 1}));
}

TEST(LineOptions, ReceivedLineEndsCanBeWidened) {
    VtDump lf({});
    lf.Emulator().SetLineOptions(false, false, true);
    lf.Feed("ab\ncd");
    EXPECT_EQ(text(lf.View(), 1), "cd");
    VtDump cr({});
    cr.Emulator().SetLineOptions(false, true, false);
    cr.Feed("ab\rcd");
    EXPECT_EQ(text(cr.View(), 1), "cd");
}

TEST(Sending, TypedBytesWithEchoAndJohab) {
    MemoryLink link;
    TWView view;
    TWEmulator emulator(&view, &link);
    emulator.SetAnswerEcho(true);
    for (uint8_t b : std::string("hi\r"))
        emulator.PutChar(b);
    EXPECT_EQ(link.Output(), "hi\r\n");
    EXPECT_EQ(view.Cursor(), (TWPoint{0, 1}));

    link.ClearOutput();
    emulator.SetAnswerEcho(false);
    emulator.SetJohabSend(true);
    // 가 똠 (an extended syllable), then a lone lead before CR: the CR is not swallowed.
    for (uint8_t b : std::string("\xB0\xA1\x8C\x63\xB0\r"))
        emulator.PutChar(b);
    EXPECT_EQ(link.Output(), "\x88\x61\x99\xB1\xB0\r");
}

TEST(Keys, FunctionCursorAndKeypadKeys) {
    MemoryLink link("\x1b[?1h");
    TWView view;
    TWEmulator emulator(&view, &link);
    auto send = [&](TWKey key, unsigned mods) {
        link.ClearOutput();
        emulator.SendKey(key, mods);
        return link.Output();
    };
    EXPECT_EQ(send(TWKey::F1, 0), "\x1b[11~");
    EXPECT_EQ(send(TWKey::F1, kTWAlt), "\x1b[23~");
    EXPECT_EQ(send(TWKey::F4, kTWCtrl), "\x1bOS");
    EXPECT_EQ(send(TWKey::F10, kTWCtrl), "\x1b[6~");
    EXPECT_EQ(send(TWKey::F9, kTWCtrl), "");
    EXPECT_EQ(send(TWKey::F5, kTWAlt | kTWCtrl), "");
    EXPECT_EQ(send(TWKey::F11, kTWAlt), "");
    EXPECT_EQ(send(TWKey::F20, kTWShift), "\x1b[34~");
    EXPECT_EQ(send(TWKey::Up, 0), "\x1b[A");
    EXPECT_EQ(send(TWKey::Keypad5, 0), "");
    EXPECT_EQ(send(TWKey::Backspace, 0), "");
    while (link.InputCount() > 0)
        emulator.GetChar();
    EXPECT_EQ(send(TWKey::Left, 0), "\x1bOD");
    link.Feed("\x1b=");
    emulator.GetChar();
    EXPECT_EQ(send(TWKey::Keypad5, 0), "\x1bOu");
    EXPECT_EQ(send(TWKey::KeypadMinus, 0), "\x1bOm");
}

TEST(Taps, RawTapSeesEveryReceivedByte) {
    MemoryLink link("a\x1b[1mb");
    TWView view;
    TWEmulator emulator(&view, &link);
    std::string raw;
    emulator.SetRawTap([&](const uint8_t* bytes, int n) {
        raw.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
    });
    while (link.InputCount() > 0)
        emulator.GetChar();
    EXPECT_EQ(raw, "a\x1b[1mb");
}

TEST(ResetSequence, ClearsTheScreenAndKeepsTheColours) {
    Term r(
        "\x1b[33;41mtext\x1b[?25l\x1b[5;10r\x1b"
        "c");
    EXPECT_EQ(text(r.view(), 0), "");
    EXPECT_EQ(r.view().HistoryRows(), 25);
    EXPECT_TRUE(r.view().CaretVisible());
    EXPECT_EQ(r.view().RegionBottom(), 24);
    EXPECT_EQ(r.view().Attribute(), 0x46);
}

}  // namespace
