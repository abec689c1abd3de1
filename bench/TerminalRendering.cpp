// Full-screen repaints of 25 rows of coloured Korean text, and of Korean-code symbols, 1,000
// frames each with the raster face and the Hangul bitmap font and with the TrueType face at 16
// pixels, against Qt's own text drawing (QPainter::drawText per run of equal colour) of the same
// rows in the same run.
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

#include "platform/TextCodec.h"
#include "term/ScreenPainter.h"
#include "term/TWView.h"

namespace {

constexpr int kFrames = 1000;

// Coloured rows of Korean text: syllables and letters, or symbols of rows 0xA1-0xAC (Greek,
// Cyrillic, box pieces, units, ...), many of which come from a fallback face.
void fillScreen(TWView& view, bool symbols) {
    std::mt19937 rng(11);
    for (int y = 0; y < view.Rows(); ++y) {
        view.MoveTo(1, y + 1);
        for (int x = 0; x < 78;) {
            if (rng() % 6 == 0)
                view.SetColors(static_cast<int>(rng() % 16), static_cast<int>(rng() % 8));
            if (!symbols && rng() % 4 == 0) {
                view.PutByte(static_cast<uint8_t>('a' + rng() % 26));
                ++x;
            } else {
                view.PutByte(static_cast<uint8_t>(symbols ? 0xA1 + rng() % 12 : 0xB0 + rng() % 25));
                view.PutByte(static_cast<uint8_t>(0xA1 + rng() % 94));
                x += 2;
            }
        }
    }
}

double framesPerSecond(const std::function<void()>& frame) {
    frame();  // glyphs made once
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i)
        frame();
    return kFrames /
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double ourFps(const TWView& view, const char* face) {
    ScreenSettings settings;
    settings.winFont = face;
    settings.fontSize = 16;
    TermFonts fonts;
    fonts.Configure(settings);
    ScreenPainter painter(fonts);
    QImage image(80 * fonts.CellWidth(), view.Rows() * fonts.LineHeight(), QImage::Format_RGB32);
    PaintRequest request;
    request.topRow = view.ScreenTop();
    request.rows = view.Rows();
    return framesPerSecond([&] { painter.Paint(image, view, request); });
}

// Qt drawing the same rows: background rectangles and drawText per run of equal attribute.
double qtFps(const TWView& view) {
    const TermPalette palette = MakePalette(false, {});
    QFont font("NanumGothicCoding");
    font.setPixelSize(16);
    const int cw = 8, lh = 18;
    QImage image(80 * cw, view.Rows() * lh, QImage::Format_RGB32);
    std::vector<std::vector<std::pair<int, QString>>> runs(view.Rows());
    std::vector<std::vector<uint8_t>> runAttrs(view.Rows());
    for (int y = 0; y < view.Rows(); ++y) {
        const uint8_t* chars = view.CharRow(view.ScreenTop() + y);
        const uint8_t* attrs = view.AttrRow(view.ScreenTop() + y);
        for (int x = 0; x < 80;) {
            int end = x + 1;
            while (end < 80 && attrs[end] == attrs[x])
                ++end;
            std::string text(reinterpret_cast<const char*>(chars) + x, end - x);
            runs[y].push_back({x, QString::fromStdString(cp949ToUtf8Lossy(text))});
            runAttrs[y].push_back(attrs[x]);
            x = end;
        }
    }
    return framesPerSecond([&] {
        QPainter p(&image);
        p.setFont(font);
        for (int y = 0; y < view.Rows(); ++y) {
            for (size_t i = 0; i < runs[y].size(); ++i) {
                const int x = runs[y][i].first;
                const int next = i + 1 < runs[y].size() ? runs[y][i + 1].first : 80;
                p.fillRect(x * cw, y * lh, (next - x) * cw, lh,
                           QColor(palette[runAttrs[y][i] >> 4]));
                p.setPen(QColor(palette[runAttrs[y][i] & 15]));
                p.drawText(x * cw, y * lh + 14, runs[y][i].second);
            }
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bool fast = true;
    for (bool symbols : {false, true}) {
        TWView view;
        fillScreen(view, symbols);
        const double raster = ourFps(view, TermFonts::kRasterFaceName);
        const double trueType = ourFps(view, TermFonts::kGulimFaceName);
        const double qt = qtFps(view);
        std::printf("full 25-row screens of coloured Korean %s, font size 16, %d frames:\n",
                    symbols ? "symbols" : "text", kFrames);
        std::printf("  raster face + .hft   %8.0f frames/s  (%.2fx Qt drawText)\n", raster,
                    raster / qt);
        std::printf("  TrueType face        %8.0f frames/s  (%.2fx Qt drawText)\n", trueType,
                    trueType / qt);
        std::printf("  Qt drawText (peer)   %8.0f frames/s\n", qt);
        fast = fast && raster >= 300 && trueType >= 300;
    }
    return fast ? 0 : 1;
}
