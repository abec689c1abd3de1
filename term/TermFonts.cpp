#include "term/TermFonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "platform/TextCodec.h"
#include "term/FontFiles.h"
#include "term/RowLayout.h"

namespace {

// The Unicode character a stored byte or pair shows, or 0 for none (lone high bytes, control
// codes other than the DEC graphics pieces, pairs CP949 does not define).
char32_t characterOf(uint16_t code) {
    if (code < 0x20) return DecGraphicsCharacter(static_cast<uint8_t>(code));
    if (code < 0x80) return code;
    if (code < 0x100) return 0;
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    auto utf8 = cp949ToUtf8(std::string_view(bytes, 2));
    if (!utf8 || utf8->size() != 3) return 0;
    const auto* u = reinterpret_cast<const uint8_t*>(utf8->data());
    return (u[0] & 0x0F) << 12 | (u[1] & 0x3F) << 6 | (u[2] & 0x3F);
}

// 16 rows of bits (16 or 8 wide) stretched to width x height, nearest pixel.
GlyphMask stretchBits(const Glyph16& rows, int bitsWide, int width, int height, int srcHeight) {
    GlyphMask m{width, height, std::vector<uint8_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        const int sy = y * srcHeight / height;
        if (sy >= 16) continue;
        for (int x = 0; x < width; ++x) {
            const int sx = x * bitsWide / width;
            if (rows[sy] >> (15 - sx) & 1) m.alpha[size_t(y) * width + x] = 255;
        }
    }
    return m;
}

bool familyAvailable(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// "굴림체" is drawn by NanumGothicCoding, or Baekmuk Gulim where that is missing.
QString gulimStandIn() {
    return familyAvailable("NanumGothicCoding") ? "NanumGothicCoding" : "Baekmuk Gulim";
}

}  // namespace

TermFonts::TermFonts() { rasterFace_.Load(RasterFacePath()); }

TermFonts::~TermFonts() = default;

QStringList TermFonts::FaceList() {
    QStringList faces{kRasterFaceName, kGulimFaceName};
    for (const QString& family : QFontDatabase::families(QFontDatabase::Korean)) {
        if (family.startsWith('@') || !QFontDatabase::isFixedPitch(family)) continue;
        if (!faces.contains(family)) faces << family;
    }
    return faces;
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
    font_ = QFont(face_);
    font_.setPixelSize(fontHeight_);
    font_.setWeight(s.boldFont ? QFont::Bold : QFont::Normal);
    font_.setStyleStrategy(QFont::PreferAntialias);
    cellWidth_ = s.boldFont ? std::max(QFontMetrics(font_).averageCharWidth(), 1) : fontHeight_ / 2;
    // The symbol font: a line high, each half a cell as wide as the line is high, halved.
    symbolFont_ = font_;
    symbolFont_.setPixelSize(LineHeight());
    symbolFont_.setStretch(std::clamp(100 * 2 * cellWidth_ / LineHeight(), 1, 4000));
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
    Glyph16 composed;
    if (!symbol && UsesHangulFont() && hangul_.Compose(code >> 8, code & 0xFF, composed)) {
        return stretchBits(composed, 16, 16, LineHeight(), LineHeight());
    }
    const char32_t c = characterOf(code);
    if (c == 0 || c == ' ') return {};
    return raster_ ? rasterGlyph(c, cells, symbol) : outlineGlyph(c, cells, symbol);
}

// Raster glyphs sit at the top of the line; symbols are stretched to the whole line.
GlyphMask TermFonts::rasterGlyph(char32_t c, int cells, bool symbol) const {
    Glyph16 rows;
    int width = 0;
    if (!rasterFace_.Glyph(c, rows, width)) return {};
    const int w = cells * cellWidth_, h = LineHeight();
    if (symbol) return stretchBits(rows, width, w, h, 16);
    GlyphMask m = stretchBits(rows, std::max(width, w), w, h, h);
    if (applied_.boldFont) {
        // Bold raster text: every stroke one pixel wider to the right.
        for (int y = 0; y < h; ++y) {
            for (int x = w - 1; x > 0; --x) m.alpha[size_t(y) * w + x] |= m.alpha[size_t(y) * w + x - 1];
        }
    }
    return m;
}

GlyphMask TermFonts::outlineGlyph(char32_t c, int cells, bool symbol) const {
    const int w = cells * cellWidth_, h = LineHeight();
    QImage image(w, h, QImage::Format_Alpha8);
    image.fill(0);
    {
        QPainter p(&image);
        const QFont& font = symbol ? symbolFont_ : font_;
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 255));
        const QString text = QString::fromUcs4(&c, 1);
        // Centred in its cells so that full-width glyphs of any face line up.
        const QFontMetrics fm(font);
        const int x = (w - fm.horizontalAdvance(text)) / 2;
        p.drawText(x, fm.ascent(), text);
    }
    GlyphMask m{w, h, std::vector<uint8_t>(size_t(w) * h)};
    for (int y = 0; y < h; ++y) std::copy_n(image.constScanLine(y), w, m.alpha.begin() + size_t(y) * w);
    return m;
}
