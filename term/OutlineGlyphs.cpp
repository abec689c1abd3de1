#include "term/OutlineGlyphs.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "term/TermFonts.h"

OutlineGlyphs::OutlineGlyphs(const QString& face) : family_(TermFonts::FamilyOf(face)) {}

GlyphMask OutlineGlyphs::Glyph(char32_t c, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const uint64_t key = uint64_t(c) << 32 | uint64_t(width & 0xFFFF) << 16 | (height & 0xFFFF);
    auto found = cache_.find(key);
    if (found != cache_.end()) return found->second;
    return cache_.emplace(key, draw(c, width, height)).first->second;
}

GlyphMask OutlineGlyphs::draw(char32_t c, int width, int height) const {
    QFont font(family_);
    font.setPixelSize(height);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QString text = QString::fromUcs4(&c, 1);
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(text);
    QImage canvas(width, height, QImage::Format_Alpha8);
    canvas.fill(0);
    if (advance > 0) {
        QPainter p(&canvas);
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 255));
        p.scale(width / advance, 1.0);
        // The line's ascent and descent spread over the box height.
        p.drawText(QPointF(0, height * metrics.ascent() / metrics.height()), text);
    }
    GlyphMask m{width, height, std::vector<uint8_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        std::copy_n(canvas.constScanLine(y), width, m.alpha.begin() + size_t(y) * width);
    return m;
}
