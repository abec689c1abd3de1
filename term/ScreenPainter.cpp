#include "term/ScreenPainter.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

#include "term/LineStrokes.h"
#include "term/RowLayout.h"
#include "term/SpecialGlyphs.h"

namespace {

// The 16 PC text colours as RGB.
constexpr TermPalette kPcColors = {
    0xFF000000, 0xFF000080, 0xFF008000, 0xFF008080, 0xFF800000, 0xFF800080, 0xFF808000, 0xFFC0C0C0,
    0xFF808080, 0xFF0000FF, 0xFF00FF00, 0xFF00FFFF, 0xFFFF0000, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF,
};
constexpr QRgb kDesktopColor = 0xFF008080;

QRgb* pixelAt(QImage& image, int x, int y) {
    return reinterpret_cast<QRgb*>(image.scanLine(y)) + x;
}

// The part of (x, y, w, h) inside the image; false when nothing is left.
bool clip(const QImage& image, int& x, int& y, int& w, int& h) {
    const int x1 = std::min(x + w, image.width()), y1 = std::min(y + h, image.height());
    x = std::max(x, 0);
    y = std::max(y, 0);
    w = x1 - x;
    h = y1 - y;
    return w > 0 && h > 0;
}

void fill(QImage& image, int x, int y, int w, int h, QRgb color) {
    if (!clip(image, x, y, w, h)) return;
    for (int row = y; row < y + h; ++row)
        std::fill_n(pixelAt(image, x, row), w, color);
}

QRgb blend(QRgb under, QRgb over, int alpha) {
    auto mix = [&](int u, int o) { return u + ((o - u) * alpha + 127) / 255; };
    return qRgb(mix(qRed(under), qRed(over)), mix(qGreen(under), qGreen(over)),
                mix(qBlue(under), qBlue(over)));
}

// Ink of the mask in `color` over what is there.
void drawMask(QImage& image, int x, int y, const GlyphMask& mask, QRgb color) {
    const int w = std::min(mask.width, image.width() - x);
    const int h = std::min(mask.height, image.height() - y);
    for (int row = 0; row < h; ++row) {
        const uint8_t* a = mask.alpha.data() + size_t(row) * mask.width;
        QRgb* p = pixelAt(image, x, y + row);
        for (int col = 0; col < w; ++col) {
            if (a[col] == 255) {
                p[col] = color;
            } else if (a[col] != 0) {
                p[col] = blend(p[col], color, a[col]);
            }
        }
    }
}

// Each pixel of the rectangle in `fg` where ink(x, y) holds, else in `bg` (or left as it is
// when not opaque).
template <typename Ink>
void paintInk(QImage& image, int x, int y, int w, int h, QRgb fg, QRgb bg, bool opaque, Ink ink) {
    if (!clip(image, x, y, w, h)) return;
    for (int py = y; py < y + h; ++py) {
        QRgb* p = pixelAt(image, 0, py);
        for (int px = x; px < x + w; ++px) {
            if (ink(px, py)) {
                p[px] = fg;
            } else if (opaque) {
                p[px] = bg;
            }
        }
    }
}

void tile(QImage& image, int y, int height, const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    for (int row = y; row < std::min(y + height, image.height()); ++row) {
        const QRgb* src =
            reinterpret_cast<const QRgb*>(source.constScanLine(row % source.height()));
        QRgb* dst = pixelAt(image, 0, row);
        for (int x = 0; x < image.width(); ++x)
            dst[x] = src[x % source.width()];
    }
}

}  // namespace

TermPalette MakePalette(bool sysColor, const SystemColors& system) {
    TermPalette palette = kPcColors;
    if (sysColor) {
        palette[1] = system.activeCaption;
        palette[7] = system.buttonFace;
        palette[8] = system.buttonShadow;
        palette[14] = system.tooltipBackground;
    }
    return palette;
}

SystemColors DesktopColors() {
    const QPalette p = QGuiApplication::palette();
    return {p.color(QPalette::Active, QPalette::Highlight).rgb(), p.color(QPalette::Button).rgb(),
            p.color(QPalette::Dark).rgb(), p.color(QPalette::ToolTipBase).rgb()};
}

void ScreenPainter::paintBackdrop(QImage& target, int y, int height, uint8_t defaultAttr) {
    if (desktop_) {
        if (desktopPicture_.isNull()) {
            fill(target, 0, y, target.width(), height, kDesktopColor);
        } else {
            tile(target, y, height, desktopPicture_);
        }
    } else if (!wallpaper_.isNull()) {
        tile(target, y, height, wallpaper_);
    } else {
        fill(target, 0, y, target.width(), height, palette_[defaultAttr >> 4]);
    }
}

void ScreenPainter::Paint(QImage& target, const TWView& view, const PaintRequest& request) {
    defaultBackground_ = view.DefaultAttribute() >> 4;
    paintBackdrop(target, 0, target.height(), view.DefaultAttribute());
    const int lh = fonts_.LineHeight(), cw = fonts_.CellWidth();
    for (int i = 0; i < request.rows; ++i) {
        const int row = request.topRow + i;
        if (row < 0 || row >= TWView::kRingRows) continue;
        const uint8_t flag = view.RowFlag(row);
        if (flag == 0) {
            paintRow(target, i * lh, view, row);
        } else {
            paintDoubledRow(target, i * lh, view, row, flag);
        }
        if (!request.selection) continue;
        for (int x = 0; x < TWView::kColumns; ++x) {
            if (request.selection->Contains(row, x)) invert(target, x * cw, i * lh, cw, lh);
        }
    }
    if (request.caret) {
        const TWPoint c = view.Cursor();
        const int row = view.ScreenTop() + c.y - request.topRow;
        const bool doubled = view.RowFlag(view.ScreenTop() + c.y) != 0;
        const int width = (request.caretTwoCells ? 2 : 1) * cw * (doubled ? 2 : 1);
        invert(target, c.x * cw * (doubled ? 2 : 1), row * lh, width, lh);
    }
}

// Backgrounds in runs of equal attribute, then the characters, then the line-plane strokes.
void ScreenPainter::paintRow(QImage& target, int y, const TWView& view, int row) {
    const uint8_t* chars = view.CharRow(row);
    const uint8_t* attrs = view.AttrRow(row);
    const int cw = fonts_.CellWidth(), lh = fonts_.LineHeight();
    for (int x = 0; x < TWView::kColumns;) {
        int end = x + 1;
        while (end < TWView::kColumns && attrs[end] == attrs[x])
            ++end;
        const int bg = attrs[x] >> 4;
        if (!(transparentBackground() && bg == defaultBackground_)) {
            fill(target, x * cw, y, (end - x) * cw, lh, palette_[bg]);
        }
        x = end;
    }
    RowItem items[TWView::kColumns];
    const int n = LayoutRow(chars, items);
    for (int i = 0; i < n; ++i) {
        const RowItem& item = items[i];
        if (item.width == 1 && item.lead == ' ') continue;
        paintCharacter(target, item.column * cw, y, attrs[item.column], item.lead, item.trail);
    }
    paintLineCodes(target, y, view.LineRow(row), attrs);
}

void ScreenPainter::paintCharacter(QImage& target, int x, int y, uint8_t attr, uint8_t lead,
                                   uint8_t trail) {
    const QRgb fg = palette_[attr & 15], bg = palette_[attr >> 4];
    const bool opaque = !(transparentBackground() && (attr >> 4) == defaultBackground_);
    const int w = 2 * fonts_.CellWidth(), h = fonts_.LineHeight();
    const SpecialGlyph special =
        trail ? ClassifySpecial(lead, trail) : SpecialGlyph{SpecialKind::None, 0, 0, 0};
    switch (special.kind) {
        case SpecialKind::SymbolFont:
            drawMask(target, x, y, fonts_.SymbolGlyph(special.lead, special.trail), fg);
            return;
        case SpecialKind::Pattern: {
            // The pattern is aligned to the image, as a brush would be; it is always opaque.
            const uint8_t* rows = FillPattern(special.index);
            paintInk(target, x, y, w, h, fg, bg, true,
                     [&](int px, int py) { return rows[py & 7] >> (7 - (px & 7)) & 1; });
            return;
        }
        case SpecialKind::Bitmap: {
            // Stretched to the two cells; the background shows through on a transparent one.
            const uint16_t* rows = SymbolBitmap(special.index);
            paintInk(target, x, y, w, h, fg, bg, opaque, [&](int px, int py) {
                return rows[(py - y) * 16 / h] >> (15 - (px - x) * 16 / w) & 1;
            });
            return;
        }
        case SpecialKind::None:
            drawMask(target, x, y,
                     fonts_.Glyph(static_cast<uint16_t>(trail ? lead << 8 | trail : lead)), fg);
            return;
    }
}

void ScreenPainter::paintLineCodes(QImage& target, int y, const uint8_t* lines,
                                   const uint8_t* attrs) {
    const CellGeometry geometry{fonts_.CellWidth(), fonts_.LineHeight(), fonts_.FontHeight()};
    for (int x = 0; x < TWView::kColumns; ++x) {
        if (lines[x] == ' ') continue;
        for (const PixelRect& r : StrokeRects(static_cast<char>(lines[x]), geometry)) {
            fill(target, x * geometry.cellWidth + r.x, y + r.y, r.w, r.h, palette_[attrs[x] & 15]);
        }
    }
}

// Row flag 1 doubles the width; 2 and 3 double both and show the top or the bottom half.
void ScreenPainter::paintDoubledRow(QImage& target, int y, const TWView& view, int row,
                                    uint8_t flag) {
    const int lh = fonts_.LineHeight();
    if (scratch_.width() != target.width() || scratch_.height() != lh) {
        scratch_ = QImage(target.width(), lh, QImage::Format_RGB32);
    }
    for (int r = 0; r < lh && y + r < target.height(); ++r) {
        std::copy_n(pixelAt(target, 0, y + r), target.width(), pixelAt(scratch_, 0, r));
    }
    paintRow(scratch_, 0, view, row);
    for (int r = 0; r < lh && y + r < target.height(); ++r) {
        const int sy = flag == 1 ? r : flag == 2 ? r / 2 : (r + lh) / 2;
        const QRgb* src = pixelAt(scratch_, 0, std::min(sy, lh - 1));
        QRgb* dst = pixelAt(target, 0, y + r);
        for (int x = 0; x < target.width(); ++x)
            dst[x] = src[x / 2];
    }
}

void ScreenPainter::invert(QImage& target, int x, int y, int w, int h) {
    if (!clip(target, x, y, w, h)) return;
    for (int row = y; row < y + h; ++row) {
        QRgb* p = pixelAt(target, x, row);
        for (int i = 0; i < w; ++i)
            p[i] ^= 0x00FFFFFF;
    }
}

QImage RenderScreen(const TWView& view, TermFonts& fonts, const ScreenSettings& settings) {
    fonts.Configure(settings);
    QImage image(TWView::kColumns * fonts.CellWidth(), view.Rows() * fonts.LineHeight(),
                 QImage::Format_RGB32);
    ScreenPainter painter(fonts);
    painter.SetPalette(
        MakePalette(settings.sysColor, settings.sysColor ? DesktopColors() : SystemColors{}));
    if (!settings.wallPaper.empty())
        painter.SetWallpaper(QImage(QString::fromStdString(settings.wallPaper)));
    painter.SetDesktopBackground(settings.desktopBkGnd);
    PaintRequest request;
    request.topRow = view.ScreenTop();
    request.rows = view.Rows();
    request.caret = view.CaretVisible();
    painter.Paint(image, view, request);
    return image;
}
