// The screen painted into an image: exact pixels of the fill patterns, symbol bitmaps, strokes,
// composed Hangul, the window font's fallbacks, doubled rows, selection, caret and wallpaper;
// and quilite-vtdump --png.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <fstream>

#include "term/FontFiles.h"
#include "term/LineStrokes.h"
#include "term/ScreenPainter.h"
#include "term/SpecialGlyphs.h"
#include "tests/term/RecordingView.h"
#include "tests/term/VtDumpRunner.h"

namespace {

QGuiApplication& app() {
    static int argc = 1;
    static char name[] = "painter_test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication instance(argc, argv);
    return instance;
}

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
    app();
    if (!caret) view.HideCaret();
    TermFonts fonts;
    return {RenderScreen(view, fonts, settings)};
}

// Every pixel of the w x h rectangle at (x0, y0) is `fg` where ink(x, y) holds, else `bg`.
template <typename Ink>
void expectPixels(const Painted& p, int x0, int y0, int w, int h, QRgb fg, QRgb bg, Ink ink) {
    int wrong = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) wrong += p.at(x, y) != (ink(x, y) ? fg : bg);
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
            std::vector<PixelRect> rects = code == ' ' ? std::vector<PixelRect>{} : StrokeRects(code, g);
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

    app();
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

TEST(Painter, WallpaperShowsThroughTheDefaultBackgroundOnly) {
    RecordingView view;
    view.Write(" \x1b");  // stored as a character
    view.SetColors(15, 4);
    view.MoveTo(3, 1);
    view.Write(" ");  // a red-background cell at column 2
    std::string path = ::testing::TempDir() + "wall-" + std::to_string(getpid()) + ".bmp";
    app();
    QImage wall(2, 2, QImage::Format_RGB32);
    wall.setPixel(0, 0, 0xFF00FF00);
    wall.setPixel(1, 0, 0xFF0000FF);
    wall.setPixel(0, 1, 0xFF0000FF);
    wall.setPixel(1, 1, 0xFF00FF00);
    ASSERT_TRUE(wall.save(QString::fromStdString(path), "BMP"));
    ScreenSettings s = rasterSettings(2);
    s.wallPaper = path;
    Painted p = paint(view, s);
    expectPixels(p, 0, 0, 16, 18, 0xFF00FF00, 0xFF0000FF, [](int x, int y) { return (x + y) % 2 == 0; });
    expectPixels(p, 16, 0, 8, 18, kRed, 0xFF800000, [](int, int) { return false; });
    std::remove(path.c_str());
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

    app();
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
    for (uint8_t a : ga.alpha) ink += a > 128;
    EXPECT_GT(ink, 20);
}

TEST(VtDumpPng, PaintsTheFinalScreen) {
    const std::string png = ::testing::TempDir() + "screen-" + std::to_string(getpid()) + ".png";
    const std::string input = "\x1b[41m \x1b[0m\xB0\xA1";
    VtDumpResult r = vtdump("--rows 10 --png " + png, &input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"rows\":10"), std::string::npos);  // the JSON is still printed
    app();
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

}  // namespace
