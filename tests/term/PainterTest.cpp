// The screen painted into an image: exact pixels of the fill patterns, symbol bitmaps, strokes,
// composed Hangul, the window font's fallbacks, doubled rows, selection, caret and wallpaper;
// and quilite-vtdump --png.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "term/FontFiles.h"
#include "term/LineStrokes.h"
#include "term/ScreenPainter.h"
#include "term/SpecialGlyphs.h"
#include "tests/term/OffscreenApp.h"
#include "tests/term/RecordingView.h"
#include "tests/term/VtDumpRunner.h"

namespace {

constexpr QRgb kBlue = 0xFF000080, kWhite = 0xFFFFFFFF, kYellow = 0xFFFFFF00, kRed = 0xFFFF0000;

// The raster face at size 16: cells 8 wide, lines 16 + leading high.
ScreenSettings rasterSettings(int leading) {
    ScreenSettings s;
    s.winFont = TermFonts::kRasterFaceName;
    s.fontSize = 16;
    s.fontLeading = leading;
    return s;
}

struct Painted {
    QImage image;
    QRgb at(int x, int y) const { return image.pixel(x, y) | 0xFF000000; }
};

Painted paint(RecordingView& view, const ScreenSettings& settings, bool caret = false) {
    OffscreenApp();
    if (!caret) view.HideCaret();
    TermFonts fonts;
    return {RenderScreen(view, fonts, settings)};
}

// Every pixel of the w x h rectangle at (x0, y0) is `fg` where ink(x, y) holds, else `bg`.
template <typename Ink>
void expectPixels(const Painted& p, int x0, int y0, int w, int h, QRgb fg, QRgb bg, Ink ink) {
    int wrong = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x)
            wrong += p.at(x, y) != (ink(x, y) ? fg : bg);
    }
    EXPECT_EQ(wrong, 0) << "at (" << x0 << "," << y0 << ")";
}

TEST(Painter, FillPatternsAreAlignedToTheImage) {
    RecordingView view;
    view.SetColors(14, 1);  // yellow on blue
    for (int i = 0; i < 10; ++i) {
        // Patterns 0-6 are 0xA2 0xC6..0xCC, 7-9 are 0xAD 0xD1..0xD3; one every 3 columns.
        uint8_t pair[2] = {uint8_t(i < 7 ? 0xA2 : 0xAD), uint8_t(i < 7 ? 0xC6 + i : 0xD1 + i - 7)};
        view.MoveTo(1 + 3 * i, 2);
        view.Write(std::string(reinterpret_cast<char*>(pair), 2));
    }
    Painted p = paint(view, rasterSettings(2));
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const uint8_t* rows = FillPattern(i);
        expectPixels(p, 24 * i, 18, 16, 18, kYellow, kBlue,
                     [&](int x, int y) { return rows[y & 7] >> (7 - (x & 7)) & 1; });
    }
}

TEST(Painter, SymbolBitmapsExactAtSixteenAndStretchedWithLeading) {
    const uint16_t codes[15] = {0xADA1, 0xADA8, 0xADA9, 0xADAA, 0xADAB, 0xADB4, 0xADB7, 0xADB8,
                                0xADBD, 0xAEB7, 0xAEB8, 0xAEBA, 0xAEBB, 0xAEBC, 0xAEC1};
    RecordingView view;
    view.SetColors(15, 1);
    for (int i = 0; i < 15; ++i) {
        view.MoveTo(1 + 4 * i, 1);
        view.Write(std::string{char(codes[i] >> 8), char(codes[i] & 0xFF)});
    }
    for (int leading : {0, 4}) {
        SCOPED_TRACE(leading);
        Painted p = paint(view, rasterSettings(leading));
        const int h = 16 + leading;
        for (int i = 0; i < 15; ++i) {
            const uint16_t* rows = SymbolBitmap(i);
            expectPixels(p, 32 * i, 0, 16, h, kWhite, kBlue,
                         [&](int x, int y) { return rows[y * 16 / h] >> (15 - (x - 32 * i)) & 1; });
        }
    }
}

TEST(Painter, BoxesAndBlocksAreTheStrokesOfTheirCells) {
    RecordingView view;
    view.SetColors(12, 1);
    view.MoveTo(3, 2);
    view.DrawBox(5, 4);  // columns 2..6, rows 1..4
    view.MoveTo(20, 8);
    view.Write("\xAD\xFC\xAD\xFD\xAE\xA2");  // full, lower-half and upper-half blocks
    Painted p = paint(view, rasterSettings(2));
    const CellGeometry g{8, 18, 16};
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 30; ++x) {
            const uint8_t code = view.LineRow(view.ScreenTop() + y)[x];
            std::vector<PixelRect> rects =
                code == ' ' ? std::vector<PixelRect>{} : StrokeRects(code, g);
            expectPixels(p, 8 * x, 18 * y, 8, 18, kRed, kBlue, [&](int px, int py) {
                for (const PixelRect& r : rects) {
                    int rx = px - 8 * x - r.x, ry = py - 18 * y - r.y;
                    if (rx >= 0 && rx < r.w && ry >= 0 && ry < r.h) return true;
                }
                return false;
            });
        }
    }
    // The left side of the box is one unbroken line two pixels wide, from its top corner's
    // middle row to its bottom corner's.
    for (int y = 18 + 8; y <= 18 * 4 + 8; ++y) {
        EXPECT_EQ(p.at(2 * 8 + 3, y), kRed) << y;
        EXPECT_EQ(p.at(2 * 8 + 4, y), kRed) << y;
    }
}

TEST(Painter, HangulComesFromTheBitmapFontWithTheRasterFace) {
    RecordingView view;
    view.Write("\xB0\xA1\xA4\xD5");  // 가 and an archaic jamo
    HangulFont hft;
    ASSERT_TRUE(hft.Load(DefaultHangulFontPath()));
    RasterFace face;
    ASSERT_TRUE(face.Load(RasterFacePath()));
    Glyph16 composed, jamo;
    int width = 0;
    ASSERT_TRUE(hft.Compose(0xB0, 0xA1, composed));
    ASSERT_TRUE(face.Glyph(0x3165, jamo, width));  // ㅥ, which the bitmap font cannot compose

    Painted p = paint(view, rasterSettings(2));
    auto bits = [](const Glyph16& g, int x0) {
        return [&g, x0](int x, int y) { return y < 16 && (g[y] >> (15 - (x - x0)) & 1); };
    };
    expectPixels(p, 0, 0, 16, 18, kWhite, kBlue, bits(composed, 0));
    expectPixels(p, 16, 0, 16, 18, kWhite, kBlue, bits(jamo, 16));

    // A rejected font file leaves Hangul to the window font: Unifont's own syllable.
    std::string bad = ::testing::TempDir() + "bad-" + std::to_string(getpid()) + ".hft";
    std::ofstream(bad, std::ios::binary) << std::string(12801, '\0');
    ScreenSettings rejected = rasterSettings(2);
    rejected.hanFont16 = bad;
    Glyph16 precomposed;
    ASSERT_TRUE(face.Glyph(0xAC00, precomposed, width));
    expectPixels(paint(view, rejected), 0, 0, 16, 18, kWhite, kBlue, bits(precomposed, 0));
    std::remove(bad.c_str());
}

TEST(Painter, DecGraphicsCodesAreDrawnAsBoxCharacters) {
    RecordingView view;
    view.Write("\x06");  // what the interpreter stores for DEC 'q'
    RasterFace face;
    ASSERT_TRUE(face.Load(RasterFacePath()));
    Glyph16 line;
    int width = 0;
    ASSERT_TRUE(face.Glyph(0x2500, line, width));
    expectPixels(paint(view, rasterSettings(0)), 0, 0, 8, 16, kWhite, kBlue,
                 [&](int x, int y) { return line[y] >> (15 - x) & 1; });
}

TEST(Painter, DoubledRowsSelectionAndCaret) {
    RecordingView view;
    view.Write("AB\r\nAB");
    view.MoveTo(1, 1);
    view.SetRowFlag(1);  // double width
    const ScreenSettings s = rasterSettings(2);
    Painted plain = paint(view, s);
    view.SetRowFlag(0);
    Painted single = paint(view, s);
    // Row 0 doubled: every pixel of the first 8 cells comes from the undoubled row at x / 2.
    expectPixels(plain, 0, 0, 64, 18, kWhite, kBlue,
                 [&](int x, int y) { return single.at(x / 2, y) == kWhite; });

    OffscreenApp();
    TermFonts fonts;
    fonts.Configure(s);
    ScreenPainter painter(fonts);
    QImage image(640, 25 * 18, QImage::Format_RGB32);
    TWSelection selection;
    selection.Start({view.ScreenTop() + 1, 1});
    selection.Extend({view.ScreenTop() + 1, 2});
    selection.Finish();
    PaintRequest request{view.ScreenTop(), 25, &selection, true, false};
    view.MoveTo(5, 3);
    painter.Paint(image, view, request);
    Painted marked{image};
    // Cell 1 of row 1 ("B") inverted, its neighbours not; the caret inverts cell (4, 2).
    expectPixels(marked, 8, 18, 8, 18, 0xFF000000 | (~kWhite & 0xFFFFFF),
                 0xFF000000 | (~kBlue & 0xFFFFFF),
                 [&](int x, int y) { return single.at(x, y) == kWhite; });
    EXPECT_EQ(marked.at(0, 18), kBlue);
    EXPECT_EQ(marked.at(16, 18), kBlue);
    expectPixels(marked, 32, 36, 8, 18, 0xFFFFFF7F, 0, [](int, int) { return true; });
}

// Row flag 2 shows the top half of the row doubled, flag 3 the bottom half.
TEST(Painter, DoubleHeightRowsShowTheirHalvesDoubled) {
    RecordingView view;
    view.Write("Ag\xB0\xA1\r\nAg\xB0\xA1");
    const ScreenSettings s = rasterSettings(2);
    Painted single = paint(view, s);
    view.MoveTo(1, 1);
    view.SetRowFlag(2);
    view.MoveTo(1, 2);
    view.SetRowFlag(3);
    Painted doubled = paint(view, s);
    constexpr int lh = 18;
    int wrongTop = 0, wrongBottom = 0;
    for (int r = 0; r < lh; ++r) {
        for (int x = 0; x < 64; ++x) {
            wrongTop += doubled.at(x, r) != single.at(x / 2, r / 2);
            wrongBottom += doubled.at(x, lh + r) != single.at(x / 2, lh + (r + lh) / 2);
        }
    }
    EXPECT_EQ(wrongTop, 0);
    EXPECT_EQ(wrongBottom, 0);
    // The halves differ: the top of the "A" and the descender of the "g" are not both there.
    int inkTop = 0, inkBottom = 0;
    for (int r = 0; r < lh; ++r) {
        for (int x = 0; x < 64; ++x) {
            inkTop += doubled.at(x, r) == kWhite;
            inkBottom += doubled.at(x, lh + r) == kWhite;
        }
    }
    EXPECT_GT(inkTop, 0);
    EXPECT_GT(inkBottom, 0);
    EXPECT_NE(doubled.image.copy(0, 0, 64, lh), doubled.image.copy(0, lh, 64, lh));
}

// While the input method composes a syllable the caret covers both cells of the character.
TEST(Painter, TheTwoCellCaretCoversAKoreanCharacter) {
    RecordingView view;
    view.Write("x\xB0\xA1y");
    view.MoveTo(2, 1);  // on the lead half of the syllable
    const ScreenSettings s = rasterSettings(2);
    Painted plain = paint(view, s);
    OffscreenApp();
    TermFonts fonts;
    fonts.Configure(s);
    ScreenPainter painter(fonts);
    QImage image(640, 25 * 18, QImage::Format_RGB32);
    painter.Paint(image, view, {view.ScreenTop(), 25, nullptr, true, true});
    Painted caret{image};
    int wrong = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inverted = x >= 8 && x < 24;
            const QRgb expected = inverted ? (plain.at(x, y) ^ 0x00FFFFFF) : plain.at(x, y);
            wrong += caret.at(x, y) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(caret.at(8, 20), kBlue);  // the row below is untouched
}

TEST(Painter, WallpaperShowsThroughTheDefaultBackgroundOnly) {
    RecordingView view;
    view.Write(" \x1b");  // stored as a character
    view.SetColors(15, 4);
    view.MoveTo(3, 1);
    view.Write(" ");  // a red-background cell at column 2
    std::string path = ::testing::TempDir() + "wall-" + std::to_string(getpid()) + ".bmp";
    OffscreenApp();
    QImage wall(2, 2, QImage::Format_RGB32);
    wall.setPixel(0, 0, 0xFF00FF00);
    wall.setPixel(1, 0, 0xFF0000FF);
    wall.setPixel(0, 1, 0xFF0000FF);
    wall.setPixel(1, 1, 0xFF00FF00);
    ASSERT_TRUE(wall.save(QString::fromStdString(path), "BMP"));
    ScreenSettings s = rasterSettings(2);
    s.wallPaper = path;
    Painted p = paint(view, s);
    expectPixels(p, 0, 0, 16, 18, 0xFF00FF00, 0xFF0000FF,
                 [](int x, int y) { return (x + y) % 2 == 0; });
    expectPixels(p, 16, 0, 8, 18, kRed, 0xFF800000, [](int, int) { return false; });
    std::remove(path.c_str());
}

// The desktop background mode: cells of the default background show the desktop colour, or its
// picture tiled, instead of the palette's blue; coloured cells keep their colour.
TEST(Painter, DesktopBackgroundShowsThroughTheDefaultBackgroundOnly) {
    RecordingView view;
    view.SetColors(15, 4);
    view.MoveTo(3, 1);
    view.Write(" ");  // a red-background cell at column 2
    ScreenSettings s = rasterSettings(2);
    s.desktopBkGnd = true;
    Painted p = paint(view, s);
    constexpr QRgb kTeal = 0xFF008080;
    expectPixels(p, 0, 0, 16, 18, kTeal, 0, [](int, int) { return true; });
    expectPixels(p, 16, 0, 8, 18, 0xFF800000, 0, [](int, int) { return true; });
    expectPixels(p, 600, 400, 40, 50, kTeal, 0, [](int, int) { return true; });

    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, 0xFF00FF00);
    picture.setPixel(1, 0, 0xFF0000FF);
    picture.setPixel(2, 0, 0xFFFF00FF);
    TermFonts fonts;
    fonts.Configure(s);
    ScreenPainter painter(fonts);
    painter.SetDesktopBackground(true, picture);
    QImage image(640, 25 * 18, QImage::Format_RGB32);
    painter.Paint(image, view, {view.ScreenTop(), 25, nullptr, false, false});
    Painted tiled{image};
    const QRgb colours[3] = {0xFF00FF00, 0xFF0000FF, 0xFFFF00FF};
    for (int x : {0, 1, 2, 3, 5, 30, 637})
        EXPECT_EQ(tiled.at(x, 40), colours[x % 3]) << x;
    EXPECT_EQ(tiled.at(20, 5), 0xFF800000u);
}

TEST(Painter, PaletteFacesAndMetrics) {
    SystemColors system{0xFF111111, 0xFF222222, 0xFF333333, 0xFF444444};
    TermPalette sys = MakePalette(true, system), plain = MakePalette(false, system);
    EXPECT_EQ(sys[1], 0xFF111111u);
    EXPECT_EQ(sys[7], 0xFF222222u);
    EXPECT_EQ(sys[8], 0xFF333333u);
    EXPECT_EQ(sys[14], 0xFF444444u);
    EXPECT_EQ(plain[1], kBlue);
    EXPECT_EQ(plain[7], 0xFFC0C0C0u);
    EXPECT_EQ(plain[8], 0xFF808080u);
    EXPECT_EQ(plain[14], kYellow);
    EXPECT_EQ(sys[2], plain[2]);

    OffscreenApp();
    const QStringList faces = TermFonts::FaceList();
    EXPECT_TRUE(faces.contains("Fixedsys"));
    EXPECT_TRUE(faces.contains("굴림체"));
    TermFonts fonts;
    ScreenSettings s;  // "굴림체" at 12 pixels
    fonts.Configure(s);
    EXPECT_FALSE(fonts.IsRasterFace());
    EXPECT_FALSE(fonts.UsesHangulFont());
    EXPECT_EQ(fonts.CellWidth(), 6);
    EXPECT_EQ(fonts.LineHeight(), 14);
    s.winFont = "No Such Face";
    s.fontSize = 16;  // an unknown face at 16 pixels is the raster face
    fonts.Configure(s);
    EXPECT_TRUE(fonts.IsRasterFace());
    EXPECT_TRUE(fonts.UsesHangulFont());
    EXPECT_EQ(fonts.CellWidth(), 8);
    EXPECT_EQ(fonts.LineHeight(), 18);
    // Hangul in a TrueType face leaves ink inside its two cells.
    s.winFont = "굴림체";
    fonts.Configure(s);
    const GlyphMask& ga = fonts.Glyph(0xB0A1);
    EXPECT_EQ(ga.width, 16);
    EXPECT_EQ(ga.height, 18);
    int ink = 0;
    for (uint8_t a : ga.alpha)
        ink += a > 128;
    EXPECT_GT(ink, 20);
}

TEST(VtDumpPng, PaintsTheFinalScreen) {
    const std::string png = ::testing::TempDir() + "screen-" + std::to_string(getpid()) + ".png";
    const std::string input = "\x1b[41m \x1b[0m\xB0\xA1";
    VtDumpResult r = vtdump("--rows 10 --png " + png, &input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"rows\":10"), std::string::npos);  // the JSON is still printed
    OffscreenApp();
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 10 * 18);
    EXPECT_EQ(image.pixel(3, 3) | 0xFF000000, 0xFF800000);  // the red cell
    r = vtdump("--rows 10 --font-size 12 --face 굴림체 --png " + png, &input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(480, 10 * 14));
    EXPECT_EQ(vtdump("--png " + png + " --font-size 40", &input).status, 2);
    std::remove(png.c_str());
}

// --hft chooses the Hangul bitmap font of the raster face; a rejected file leaves Hangul to the
// window face.
TEST(VtDumpPng, TheHangulFontComesFromHft) {
    const std::string base = ::testing::TempDir() + "hft-" + std::to_string(getpid());
    const std::string png = base + ".png", inked = base + "-ink.hft", bad = base + "-bad.hft";
    const auto size = std::filesystem::file_size(DefaultHangulFontPath());
    std::ofstream(inked, std::ios::binary) << std::string(size, '\xFF');  // every jamo all ink
    std::ofstream(bad, std::ios::binary) << std::string(size + 1, '\xFF');
    const std::string input = "\xB0\xA1";
    OffscreenApp();
    auto cellInk = [&](const std::string& hft) {
        VtDumpResult r = vtdump("--rows 2 --png " + png + " --hft " + hft, &input);
        EXPECT_EQ(r.status, 0) << r.err;
        Painted p{QImage(QString::fromStdString(png))};
        Glyph16 glyph{};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (p.at(x, y) == kWhite) glyph[y] |= 0x8000 >> x;
        return glyph;
    };
    Glyph16 full;
    full.fill(0xFFFF);
    EXPECT_EQ(cellInk(inked), full);

    HangulFont shipped;
    ASSERT_TRUE(shipped.Load(DefaultHangulFontPath()));
    Glyph16 composed;
    ASSERT_TRUE(shipped.Compose(0xB0, 0xA1, composed));
    EXPECT_EQ(cellInk(DefaultHangulFontPath()), composed);

    RasterFace face;
    ASSERT_TRUE(face.Load(RasterFacePath()));
    Glyph16 precomposed;
    int width = 0;
    ASSERT_TRUE(face.Glyph(0xAC00, precomposed, width));
    EXPECT_EQ(cellInk(bad), precomposed);
    for (const std::string& file : {png, inked, bad})
        std::remove(file.c_str());
}

}  // namespace
