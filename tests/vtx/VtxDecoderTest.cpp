// The decoder on hand-made streams: operand coding, code sets, escapes and their replies,
// definitions, colours and pauses; each stream also one byte per Run, with the same result.
#include <gtest/gtest.h>

#include "tests/vtx/VtxSession.h"
#include "vtx/VtxOperand.h"

namespace {

const std::string ESC = "\x1B";

// The picture and the replies of a stream fed whole, checked to be the same one byte per Run.
struct Decoded {
    std::vector<uint8_t> pixels;
    std::array<VtxRgb, 17> palette;
    std::string sent;
    int result;
};

Decoded decode(const std::string& bytes, int height = 400) {
    VtxSession whole(height), bytewise(height);
    const int result = whole.Feed(bytes);
    const int stepResult = bytewise.FeedBytewise(bytes);
    EXPECT_EQ(whole.Mirror().Pixels(), bytewise.Mirror().Pixels());
    EXPECT_EQ(whole.sent, bytewise.sent);
    EXPECT_EQ(result, stepResult);
    return {whole.Mirror().Pixels(), whole.Mirror().Palette(), whole.sent, result};
}

int inked(const std::vector<uint8_t>& pixels) {
    return int(std::count_if(pixels.begin(), pixels.end(), [](uint8_t p) { return p != 16; }));
}

}  // namespace

TEST(VtxOperands, PointsColoursAndSentPoints) {
    struct {
        std::string bytes;
        double x, y;
    } points[] = {
        {"\x7F\x40\x40", -0.25, -0.25},  // -64 / 256
        {"\x48\x40\x40", 0.25, 0},
        {"\x52\x40\x40", 0.5, 0.5},
        {"\x52", 0.5, 0.5},  // cut short: the bits read so far
        {"\x7F\x7F\x7F", -1.0 / 256, -1.0 / 256},
        {"", 0, 0},
    };
    for (const auto& p : points) {
        const VtxPoint got = DecodePoint(p.bytes);
        EXPECT_DOUBLE_EQ(got.x, p.x) << p.bytes.size();
        EXPECT_DOUBLE_EQ(got.y, p.y) << p.bytes.size();
    }
    EXPECT_EQ(DecodeColour("\x7F\x7F\x7F"), (VtxRgb{252, 252, 252}));
    EXPECT_EQ(DecodeColour("\x50\x40\x40"), (VtxRgb{128, 0, 0}));  // G R B G R B: R high bit
    EXPECT_EQ(DecodeColour("\x60"), (VtxRgb{0, 128, 0}));
    EXPECT_EQ(DecodeColour("\x48"), (VtxRgb{0, 0, 128}));
    EXPECT_EQ(EncodePoint({0, 0}), "\xC0\xC0\xC0\xC0");
    EXPECT_EQ(EncodePoint({0.5, 0.25}), "\xD1\xC0\xC0\xC0");
    // 1.0 x 2048 does not fit in 12 bits: held at 2047, not wrapped to -1.
    EXPECT_EQ(EncodePoint({1.0, -1.0}), "\xDC\xF8\xF8\xF8");
    EXPECT_EQ(EncodePoint({5.0, -5.0}), EncodePoint({1.0, -1.0}));
}

TEST(VtxDecoder, CodeSetsChooseTextOrInstructions) {
    const Decoded a = decode("A");
    EXPECT_GT(inked(a.pixels), 10);
    // After SO the byte is read in G1, the instruction set, where 0x41 is no opcode.
    EXPECT_EQ(inked(decode("\x0E"
                           "A")
                        .pixels),
              0);
    // ESC before a C0 control: the escape is dropped and SO acts.
    EXPECT_EQ(inked(decode(ESC + "\x0E"
                                 "A")
                        .pixels),
              0);
    // A text-terminal sequence is skipped up to and with its final byte.
    EXPECT_EQ(decode(ESC + "[1;2m"
                           "A")
                  .pixels,
              a.pixels);
    EXPECT_EQ(decode(ESC + "[=5;1h"
                           "A")
                  .pixels,
              a.pixels);
    // The ignored one-byte escapes and a designation of text back into G0.
    EXPECT_EQ(decode(ESC + "\"F" + ESC +
                     "(B"
                     "A")
                  .pixels,
              a.pixels);
    // REPEAT: the last character again, count from the low 6 bits of the next byte.
    EXPECT_EQ(decode("A\x86\x42").pixels, decode("AAA").pixels);
    EXPECT_EQ(decode("\x86\x42").pixels, decode("").pixels);
}

TEST(VtxDecoder, KoreanPairsDrawTheirCharacter) {
    VtxSession s;
    // "가" is 0xB0 0xA1: sent as 0x30 0x21 with "C" in G1 invoked into GL.
    s.Feed(ESC + "$)C\x0E\x30\x21");
    const VtxMirror& m = s.Mirror();
    RasterGlyphs glyphs;
    const int w = m.Pixels(0.025), h = m.Pixels(0.0390625);
    const GlyphMask mask = glyphs.Glyph(U'\uAC00', w, h);
    ASSERT_FALSE(mask.empty());
    VtxMirror expected(m.Width(), m.Height());
    const int top = expected.Row(0.78125 - 0.0390625) - h + 1;
    expected.Stamp(mask, 0, top, 7);
    EXPECT_EQ(m.Pixels(), expected.Pixels());
    // The pair split across Runs, and in GR, draws the same.
    EXPECT_EQ(decode(ESC + "$)C\x0E\x30\x21").pixels, m.Pixels());
    EXPECT_EQ(decode(ESC + "$)C" + ESC + "~\xB0\xA1").pixels, m.Pixels());
}

TEST(VtxDecoder, SessionControlReplies) {
    struct {
        std::string stream;
        std::string reply;
        int result;
    } cases[] = {
        {ESC + "&1", ESC + "&>", -1},
        {ESC + "&2",
         ESC + "&3A\x7F"
               "6\x7F",
         0},
        {ESC + "&0abcd", ESC + "&>", 0},
        {ESC + "&0abc", "", 0},
        {ESC + "&6@", "", -1},
        {ESC + "%@", "", -1},
        {ESC + "%A", "", 0},
    };
    for (const auto& c : cases) {
        const Decoded d = decode(c.stream);
        EXPECT_EQ(d.sent, c.reply) << c.stream.substr(1);
        EXPECT_EQ(d.result, c.result) << c.stream.substr(1);
    }
}

TEST(VtxDecoder, MacrosRunAndNestWithinBounds) {
    const Decoded a = decode("A");
    // Macro in slot 0, run through a single shift into G2 holding the macro set.
    const std::string defineA =
        "\x80\x20"
        "A\x85";
    const std::string callSlot0 = ESC + "*z\x19\x20";
    EXPECT_EQ(decode(defineA + callSlot0).pixels, a.pixels);
    // 0x81 runs it at once.
    EXPECT_EQ(decode("\x81\x20"
                     "A\x85")
                  .pixels,
              a.pixels);
    // Named in GR: the slot comes from the low 7 bits.
    EXPECT_EQ(decode("\x80\xA0"
                     "A\x85" +
                     callSlot0)
                  .pixels,
              a.pixels);
    // A naming byte outside 0x20-0x7F stores nothing.
    EXPECT_EQ(inked(decode("\x80\x05"
                           "A\x85" +
                           callSlot0)
                        .pixels),
              0);
    // A macro calling itself stops 8 calls deep: 8 characters along the row.
    const Decoded self = decode(
        "\x80\x20"
        "A" +
        ESC + "*z\x19\x20\x85" + ESC + "*z\x19\x20");
    EXPECT_EQ(self.pixels, decode("AAAAAAAA").pixels);
    // Over 4 KiB is dropped.
    EXPECT_EQ(inked(decode("\x80\x20" + std::string(5000, 'A') + "\x85" + callSlot0).pixels), 0);
    // A definition ended by the escape form of END.
    EXPECT_EQ(decode("\x80\x20"
                     "A" +
                     ESC + "E" + callSlot0)
                  .pixels,
              a.pixels);
}

TEST(VtxDecoder, DrcsCharactersAreDrawnFromTheirInstructions) {
    // Slot 1: a RESET that clears the cell to the drawing colour; drawn through G3 by single
    // shift on the third row (the first is cut by the mirror's top).
    const std::string define = "\x83\x21\x0E\x20\x50\x0F\x85";
    const Decoded d = decode(define + ESC + "+{\x1C\x22\x20\x1D\x21");
    const VtxMirror probe(520, 400);
    EXPECT_EQ(inked(d.pixels), probe.Pixels(0.025) * probe.Pixels(0.0390625));
    EXPECT_EQ(inked(decode(define).pixels), 0);
}

TEST(VtxDecoder, ColoursAndPalette) {
    // SELECT COLOUR 3, a filled rectangle, then SET COLOUR in mode 1 recolours it.
    const std::string rect = "\x0E\x24\x40\x40\x40\x31\x52\x40\x40";
    Decoded d = decode("\x0E\x3E\x4C" + rect.substr(1) + "\x3C\x7F\x40\x40");
    VtxMirror probe(520, 400);
    const size_t at = size_t(probe.Row(0.1)) * probe.Width() + probe.Column(0.1);
    EXPECT_EQ(d.pixels[at], 3);
    EXPECT_EQ(d.palette[3], (VtxRgb{192, 192, 192}));
    // Mode 0: an equal colour of the map is found.
    d = decode("\x0E\x3C\x7F\x7F\x7F" + rect.substr(1));
    EXPECT_EQ(d.pixels[at], 7);
    // New colours take the entries not yet in use, 0 first.
    d = decode("\x0E\x3C\x50\x40\x40" + rect.substr(1));
    EXPECT_EQ(d.pixels[at], 0);
    EXPECT_EQ(d.palette[0], (VtxRgb{128, 0, 0}));
    // With all 16 in use, the nearest colour of the map stands in.
    std::string sixteen = "\x0E\x3C";
    for (char b = 0x41; b <= 0x50; ++b)
        sixteen += std::string(1, b) + "\x40\x40";
    d = decode(sixteen + "\x3C\x52\x52\x52" + rect.substr(1));
    EXPECT_EQ(d.pixels[at], 15);
    EXPECT_EQ(d.palette[15], (VtxRgb{128, 0, 0}));
}

namespace {

// A row of a picture: "#" colour 7, "." the white background, other entries as hex digits.
std::string rowText(const Decoded& d, int width, int y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
        const uint8_t p = d.pixels[size_t(y) * width + x];
        row += p == 7 ? '#' : p == 16 ? '.' : "0123456789ABCDEF"[p];
    }
    return row;
}

}  // namespace

TEST(VtxDecoder, TexturesPatternFillsAndLines) {
    // On a 52 x 40 mirror: TEXTURE with a 4-pixel mask cell (20/256 of the width each way), a
    // filled rectangle 0.5 x 0.25 from the origin (columns 0-25, rows 27-39), or a line 0.5
    // long at y 0.125 (row 33, columns 0-26).
    const std::string mask = "\x40\x52\x64";
    const std::string rect = "\x24\x40\x40\x40\x31\x51\x40\x40";
    const std::string line = "\x24\x40\x44\x40\x29\x50\x40\x40";
    const std::string blank(52, '.');
    const std::string solid = std::string(26, '#') + std::string(26, '.');
    const std::string vertical = "#...#...#...#...#...#...#." + std::string(26, '.');
    struct Case {
        const char* what;
        std::string stream;
        int row;
        std::string expected;
    };
    const Case cases[] = {
        {"solid by default", "\x0E" + rect, 30, solid},
        {"vertical hatching", "\x0E\x23\x48" + mask + rect, 30, vertical},
        {"horizontal hatching, off its line", "\x0E\x23\x50" + mask + rect, 30,
         std::string(52, '.')},
        {"horizontal hatching, on its line", "\x0E\x23\x50" + mask + rect, 32, solid},
        {"cross hatching, off the horizontal lines", "\x0E\x23\x58" + mask + rect, 30, vertical},
        {"cross hatching, on a horizontal line", "\x0E\x23\x58" + mask + rect, 28, solid},
        {"a mask not defined fills solid", "\x0E\x23\x60" + mask + rect, 30, solid},
        {"RESET of the domain brings solid back", "\x0E\x23\x48" + mask + "\x20\x41" + rect, 30,
         solid},
        {"a solid line", "\x0E" + line, 33, std::string(27, '#') + std::string(25, '.')},
        {"a dotted line", "\x0E\x23\x41" + line, 33,
         "##..##..##..##..##..##..##." + std::string(25, '.')},
        {"a dashed line", "\x0E\x23\x42" + line, 33,
         "############....###########" + std::string(25, '.')},
        {"a dot-dashed line", "\x0E\x23\x43" + line, 33,
         "########...##...########..." + std::string(25, '.')},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.stream, 40);
        EXPECT_EQ(rowText(d, 52, c.row), c.expected) << c.what;
    }
    EXPECT_EQ(rowText(decode("\x0E" + rect, 40), 52, 26), blank);
}

namespace {

// Rows first..last of a 52 x 40 picture, one string each, cut to the first `width` columns.
std::vector<std::string> rows(const Decoded& d, int first, int last, int width) {
    std::vector<std::string> cut;
    for (int y = first; y <= last; ++y)
        cut.push_back(rowText(d, 52, y).substr(0, width));
    return cut;
}

std::vector<std::string> repeated(const std::string& row, int times) {
    return std::vector<std::string>(size_t(times), row);
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(VtxDecoder, WordWrapAndScrollOnEveryPath) {
    // A 4 x 4 pixel character field (20/256 each way) in a text field of 2 x 2 of them at the
    // origin (rows 32-39, columns 0-7), word wrap on, the position home, then full mosaic
    // blocks through G3.
    const auto page = [](int path, bool scroll, int blocks) {
        std::string s = "\x0E\x22" + std::string(1, char(0x40 | path << 2)) +
                        "\x40\x40\x52\x64\x38\x40\x40\x40\x40\x6D\x40\x95";
        if (scroll) s += "\x97";
        s += "\x1E";
        for (int i = 0; i < blocks; ++i)
            s += "\x1D\x7F";
        return rows(decode(s, 40), 32, 39, 9);
    };
    const auto picture = [](const char* upper, const char* lower) {
        return joined(repeated(upper, 4), repeated(lower, 4));
    };
    // Left to right: along the top row, then the next.
    EXPECT_EQ(page(0, false, 3), picture("########.", "####....."));
    // Right to left: past the left edge to the right end of the next row down.
    EXPECT_EQ(page(1, false, 3), picture("####.....", "########."));
    // Upwards: past the top to the bottom of the next column to the right.
    EXPECT_EQ(page(2, false, 2), picture("####.....", "....####."));
    // Downwards: past the bottom to the top of the next column to the right.
    EXPECT_EQ(page(3, false, 3), picture("########.", "####....."));
    // With scroll, a row past the field's last moves the contents back one row (up, or left
    // on the vertical paths), the freed row cleared to colour 0.
    EXPECT_EQ(page(0, true, 5), picture("########.", "####0000."));
    EXPECT_EQ(page(3, true, 5), picture("########.", "####0000."));
}

TEST(VtxDecoder, CharactersTurnAboutTheirLowerLeftCorner) {
    // A blank character 4 wide and 8 high, underlined, on background colour 12 (mode 2), its
    // lower-left corner at (0.25, 0.25): column 13, row 26.
    const auto cell = [](int rotation, int first, int last) {
        const std::string s = "\x0E\x22" + std::string(1, char(0x40 | rotation)) +
                              "\x40\x40\x55\x60\x24\x49\x40\x40\x3E\x5C\x70\x99\x0F ";
        std::vector<std::string> cut;
        for (const std::string& row : rows(decode(s, 40), first, last, 22))
            cut.push_back(row.substr(4));
        return cut;
    };
    const std::string blank(18, '.');
    // Upright: columns 13-16, rows 19-26, the underline at the bottom.
    EXPECT_EQ(cell(0, 18, 27), joined(joined({blank}, repeated(".........CCCC.....", 7)),
                                      {".........####.....", blank}));
    // A quarter turn: columns 5-12, rows 23-26, the underline on the right.
    EXPECT_EQ(cell(1, 22, 27), joined(joined({blank}, repeated(".CCCCCCC#.........", 4)), {blank}));
    // A half turn: columns 9-12, rows 27-34, the underline on top.
    EXPECT_EQ(
        cell(2, 26, 35),
        joined(joined({blank, ".....####........."}, repeated(".....CCCC.........", 7)), {blank}));
    // Three quarters: columns 13-20, rows 27-30, the underline on the left.
    EXPECT_EQ(cell(3, 26, 31), joined(joined({blank}, repeated(".........#CCCCCCC.", 4)), {blank}));
}

TEST(VtxDecoder, TheCursorStandsAtTheActivePosition) {
    VtxSession s;
    const VtxMirror& m = s.Mirror();
    const int w = m.Pixels(0.025), h = m.Pixels(0.0390625);
    const int homeTop = m.Row(0.78125 - 0.0390625) - h + 1;
    const auto cursor = [&] {
        const CVtx::Cursor c = s.vtx->GetCursor();
        return std::vector<int>{c.shown, c.flashing, c.style, c.x, c.top, c.w, c.h};
    };
    // Shown steady, an underscore, on the home cell; a character moves it one field on.
    EXPECT_EQ(cursor(), (std::vector<int>{1, 0, 0, 0, homeTop, w, h}));
    s.Feed("A");
    EXPECT_EQ(cursor(), (std::vector<int>{1, 0, 0, m.Column(0.025), homeTop, w, h}));
    // Off, flashing, steady again; TEXT's second operand chooses a block.
    s.Feed("\x9D");
    EXPECT_EQ(cursor()[0], 0);
    s.Feed("\x9B");
    EXPECT_EQ(cursor()[1], 1);
    s.Feed("\x9C\x0E\x22\x40\x41\x0F");
    EXPECT_EQ(cursor(), (std::vector<int>{1, 0, 1, m.Column(0.025), homeTop, w, h}));
}
