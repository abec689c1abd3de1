#include "term/TermFonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <cmath>

#include "term/FontFiles.h"
#include "term/RowLayout.h"

namespace {

// 16 rows of bits (`bitsWide` used) scaled into `box` of a width x height mask, nearest pixel.
GlyphMask bitsInBox(const Glyph16& rows, int bitsWide, const QRect& box, int width, int height) {
    GlyphMask m{width, height, std::vector<uint8_t>(size_t(width) * height)};
    const QRect inside = box & QRect(0, 0, width, height);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const int sy = (y - box.y()) * 16 / box.height();
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int sx = (x - box.x()) * bitsWide / box.width();
            if (rows[sy] >> (15 - sx) & 1) m.alpha[size_t(y) * width + x] = 255;
        }
    }
    return m;
}

// The smallest rectangle holding every inked pixel; null when there is none.
QRect inkBounds(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != 0) ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

GlyphMask maskOf(const QImage& alpha8) {
    const int w = alpha8.width(), h = alpha8.height();
    GlyphMask m{w, h, std::vector<uint8_t>(size_t(w) * h)};
    for (int y = 0; y < h; ++y)
        std::copy_n(alpha8.constScanLine(y), w, m.alpha.begin() + size_t(y) * w);
    return m;
}

// The ink of `canvas` in an image the size of `cells`, its ideal place on the canvas: where it
// was drawn when it fits there, else moved inside, and scaled down (centred) when larger.
QImage placeInk(const QImage& canvas, const QRect& cells) {
    const int w = cells.width(), h = cells.height();
    const QRect ink = inkBounds(canvas);
    QImage placed(w, h, QImage::Format_Alpha8);
    placed.fill(0);
    if (!ink.isNull()) {
        QPainter p(&placed);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize size = ink.size().boundedTo(QSize(w, h));
        if (size == ink.size()) {
            const int x = std::clamp(ink.x() - cells.x(), 0, w - size.width());
            const int y = std::clamp(ink.y() - cells.y(), 0, h - size.height());
            p.drawImage(x, y, canvas, ink.x(), ink.y(), ink.width(), ink.height());
        } else {
            const QSize scaled = ink.size().scaled(size, Qt::KeepAspectRatio);
            const int y = std::clamp(ink.y() - cells.y(), 0, h - scaled.height());
            p.drawImage(QRect(QPoint((w - scaled.width()) / 2, y), scaled), canvas, ink);
        }
    }
    return placed;
}

bool familyAvailable(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// "굴림체" is drawn by NanumGothicCoding, or Baekmuk Gulim where that is missing.
QString gulimStandIn() {
    return familyAvailable("NanumGothicCoding") ? "NanumGothicCoding" : "Baekmuk Gulim";
}

// Whether a family lays text out in terminal cells, measured from its own glyphs (fontconfig
// marks no Korean family fixed-pitch): Latin letters, digits and the space one advance, a
// Hangul syllable two. A family without Hangul of its own does not qualify.
bool measuresFixedPitch(const QString& family) {
    QFont font(family);
    font.setPixelSize(24);
    const QRawFont raw = QRawFont::fromFont(font);
    const QList<quint32> glyphs = raw.glyphIndexesForString(QStringLiteral("0ilmW. \uAC00"));
    if (glyphs.contains(0)) return false;
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    const qreal cell = advances.front().x();
    auto near = [](qreal a, qreal b) { return std::abs(a - b) <= 0.5; };
    for (qsizetype i = 1; i + 1 < advances.size(); ++i)
        if (!near(advances[i].x(), cell)) return false;
    return cell > 0 && near(advances.back().x(), 2 * cell);
}

}  // namespace

TermFonts::TermFonts() {
    rasterFace_.Load(RasterFacePath());
}

TermFonts::~TermFonts() = default;

QStringList TermFonts::FaceList() {
    QStringList faces{kRasterFaceName, kGulimFaceName};
    for (const QString& family : QFontDatabase::families(QFontDatabase::Korean)) {
        if (family.startsWith('@') || !measuresFixedPitch(family)) continue;
        if (!faces.contains(family)) faces << family;
    }
    return faces;
}

QString TermFonts::FamilyOf(const QString& face) {
    return face == kGulimFaceName ? gulimStandIn() : face;
}

// A face the list does not hold becomes the raster face at size 16 and "굴림체" otherwise.
void TermFonts::resolveFace(const ScreenSettings& s) {
    QString name = QString::fromStdString(s.winFont);
    if (!FaceList().contains(name)) name = s.fontSize == 16 ? kRasterFaceName : kGulimFaceName;
    raster_ = name == kRasterFaceName && rasterFace_.Loaded();
    face_ = name == kGulimFaceName || (name == kRasterFaceName && !raster_) ? gulimStandIn() : name;
}

void TermFonts::Configure(const ScreenSettings& s) {
    const bool same = configured_ && s.winFont == applied_.winFont &&
                      s.fontSize == applied_.fontSize && s.fontLeading == applied_.fontLeading &&
                      s.boldFont == applied_.boldFont && s.hanFont16 == applied_.hanFont16;
    if (same) return;
    configured_ = true;
    applied_ = s;
    cache_.clear();
    resolveFace(s);
    leading_ = s.fontLeading;
    if (raster_) {
        // A raster face has one size.
        fontHeight_ = RasterFace::kHeight;
        cellWidth_ = RasterFace::kCellWidth;
        hangul_.Load(s.hanFont16.empty() ? DefaultHangulFontPath() : s.hanFont16);
        return;
    }
    fontHeight_ = s.fontSize;
    QFont font(face_);
    font.setPixelSize(fontHeight_);
    font.setWeight(s.boldFont ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    cellWidth_ = s.boldFont ? std::max(QFontMetrics(font).averageCharWidth(), 1) : fontHeight_ / 2;
    faces_.Build(font);
    // The symbol font: a line high, each half a cell as wide as the line is high, halved.
    font.setPixelSize(LineHeight());
    font.setStretch(std::clamp(100 * 2 * cellWidth_ / LineHeight(), 1, 4000));
    symbolFaces_.Build(font);
}

const GlyphMask& TermFonts::Glyph(uint16_t code) {
    auto found = cache_.find(code);
    if (found != cache_.end()) return found->second;
    return cache_.emplace(code, makeGlyph(code, false)).first->second;
}

const GlyphMask& TermFonts::SymbolGlyph(uint8_t lead, uint8_t trail) {
    const uint32_t key = 0x10000u | lead << 8 | trail;
    auto found = cache_.find(key);
    if (found != cache_.end()) return found->second;
    return cache_.emplace(key, makeGlyph(static_cast<uint16_t>(lead << 8 | trail), true))
        .first->second;
}

GlyphMask TermFonts::makeGlyph(uint16_t code, bool symbol) {
    const int cells = code >= 0x100 ? 2 : 1;
    // A jamo the bitmap font leaves blank (a font may lack a rare compound final) is drawn by
    // the window face.
    Glyph16 composed;
    if (!symbol && UsesHangulFont() && hangul_.Compose(code >> 8, code & 0xFF, composed) &&
        std::any_of(composed.begin(), composed.end(), [](uint16_t row) { return row != 0; })) {
        return bitsInBox(composed, 16, QRect(0, 0, 16, 16), 16, LineHeight());
    }
    const char32_t c = CellCharacter(code);
    if (c == 0 || c == ' ') return {};
    if (!raster_) {
        // Text layout hides some characters the Korean code shows (the soft hyphen, the Hangul
        // filler); those, like characters no face has, take the raster face's glyph.
        GlyphMask m = outlineGlyph(c, cells, symbol);
        if (std::any_of(m.alpha.begin(), m.alpha.end(), [](uint8_t a) { return a != 0; })) return m;
    }
    return rasterGlyph(c, cells, symbol);
}

// Raster glyphs: symbols stretched to the whole line; other glyphs at the top of the line, 16
// rows scaled to the font height, centred in their cells and squeezed when wider.
GlyphMask TermFonts::rasterGlyph(char32_t c, int cells, bool symbol) const {
    Glyph16 rows;
    int width = 0;
    if (!rasterFace_.Glyph(c, rows, width)) return {};
    const int w = cells * cellWidth_, h = LineHeight();
    if (symbol) return bitsInBox(rows, width, QRect(0, 0, w, h), w, h);
    const int glyphWidth = std::min(w, width * fontHeight_ / RasterFace::kHeight);
    const QRect box((w - glyphWidth) / 2, 0, glyphWidth, fontHeight_);
    GlyphMask m = bitsInBox(rows, width, box, w, h);
    if (applied_.boldFont) embolden(m);
    return m;
}

// Bold raster text: every stroke one pixel wider to the right.
void TermFonts::embolden(GlyphMask& m) const {
    for (int y = 0; y < m.height; ++y) {
        uint8_t* row = m.alpha.data() + size_t(y) * m.width;
        for (int x = m.width - 1; x > 0; --x)
            row[x] |= row[x - 1];
    }
}

// The character from the first face of the chain that has it; empty when none has.
GlyphMask TermFonts::outlineGlyph(char32_t c, int cells, bool symbol) const {
    const QFont* font = (symbol ? symbolFaces_ : faces_).FaceFor(c);
    if (!font) return {};
    const int w = cells * cellWidth_, h = LineHeight();
    // Drawn with a margin of a whole glyph box on every side, so that nothing is cut off before
    // the ink is placed in its cells.
    QImage canvas(3 * w, 3 * h, QImage::Format_Alpha8);
    canvas.fill(0);
    {
        QPainter p(&canvas);
        p.setFont(*font);
        p.setPen(QColor(0, 0, 0, 255));
        const QString text = QString::fromUcs4(&c, 1);
        // Centred in its cells by its advance, so that full-width glyphs of any face line up.
        const QFontMetrics fm(*font);
        p.drawText(w + (w - fm.horizontalAdvance(text)) / 2, h + fm.ascent(), text);
    }
    const QRect box(w, h, w, h);
    // A double-byte character keeps all its ink inside its two cells; one-cell characters and
    // the symbol font's line pieces are cut at the cell edges, where they meet their neighbours.
    return maskOf(cells == 2 && !symbol ? placeInk(canvas, box) : canvas.copy(box));
}
