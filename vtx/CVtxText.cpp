// Text: characters of the one-byte, supplementary and Korean sets, mosaics and DRCS characters
// drawn in character fields, and the moves of the active position within the field.
#include <algorithm>
#include <cmath>

#include "platform/TextCodec.h"
#include "vtx/CVtx.h"

namespace {

// The supplementary set (0x20-0x7F): Latin-1 symbols, accents (0x40-0x4F, drawn without
// advancing) and the extra letters of ISO 6937.
constexpr char16_t kSupplementary[96] = {
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x0024, 0x00A5, 0x0023, 0x00A7, 0x00A4, 0x2018, 0x201C, 0x00AB,
    0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00D7, 0x00B5, 0x00B6, 0x00B7,
    0x00F7, 0x2019, 0x201D, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x0020, 0x0060, 0x00B4, 0x02C6,
    0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x00A8, 0x0020, 0x02DA, 0x00B8, 0x005F, 0x02DD, 0x02DB, 0x02C7,
    0x2015, 0x00B9, 0x00AE, 0x00A9, 0x2122, 0x266A, 0x00AC, 0x00A6, 0x0020, 0x0020, 0x0020, 0x0020,
    0x215B, 0x215C, 0x215D, 0x215E, 0x2126, 0x00C6, 0x0110, 0x00AA, 0x0126, 0x0020, 0x0132, 0x013F,
    0x0141, 0x00D8, 0x0152, 0x00BA, 0x00DE, 0x0166, 0x014A, 0x0149, 0x0138, 0x00E6, 0x0111, 0x00F0,
    0x0127, 0x0131, 0x0133, 0x0140, 0x0142, 0x00F8, 0x0153, 0x00DF, 0x00FE, 0x0167, 0x014B, 0x0020,
};

// The code point of a UTF-8 character (the first one of `s`); 0 for none.
char32_t firstCodePoint(const std::string& s) {
    if (s.empty()) return 0;
    const auto b = [&](size_t i) { return char32_t(uint8_t(s[i])); };
    if (b(0) < 0x80) return b(0);
    if (b(0) >= 0xE0 && s.size() >= 3)
        return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    if (b(0) >= 0xC0 && s.size() >= 2) return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    return 0;
}

// Spacing 0-3: 1, 5/4, 3/2 and proportional (taken as 1).
double spacingFactor(int spacing) {
    return spacing == 1 ? 1.25 : spacing == 2 ? 1.5 : 1.0;
}

}  // namespace

char32_t CVtx::SupplementaryChar(uint8_t b) {
    return b >= 0x20 && b < 0x80 ? kSupplementary[b - 0x20] : U' ';
}

char32_t CVtx::KoreanChar(uint8_t lead, uint8_t trail) {
    return firstCodePoint(cp949ToUtf8Lossy(std::string{char(lead), char(trail)}));
}

int CVtx::fieldPixelsW() const {
    return std::clamp(mirror_.Pixels(fieldW_), 1, mirror_.Width());
}

int CVtx::fieldPixelsH() const {
    return std::clamp(mirror_.Pixels(fieldH_), 1, mirror_.Height());
}

void CVtx::textDefaults() {
    setFieldSize(0.025, 0.0390625);
    path_ = rotation_ = spacing_ = rowSpacing_ = cursorStyle_ = 0;
    reverse_ = underline_ = wordWrap_ = scroll_ = false;
    flashCursor_ = cursorOff_ = false;
}

void CVtx::setFieldSize(double w, double h) {
    fieldW_ = std::clamp(w, 0.0, 1.0);
    fieldH_ = std::clamp(h, 0.0, 1.0);
}

// The ink and the background (-1: none) text is drawn with: the background in colour mode 2
// only, exchanged in reverse video.
void CVtx::inks(int& fg, int& bg) const {
    fg = drawColour_;
    bg = colourMode_ == 2 ? backColour_ : -1;
    if (reverse_) {
        const int paper = bg < 0 ? backColour_ : bg;
        bg = fg, fg = paper;
    }
}

CVtx::Cursor CVtx::GetCursor() const {
    Cursor c{!cursorOff_, flashCursor_, cursorStyle_, 0, 0, fieldPixelsW(), fieldPixelsH()};
    cellBox(position_, c.x, c.top);
    return c;
}

// The top-left pixel of the cell whose lower-left corner is `at`.
void CVtx::cellBox(VtxPoint at, int& x, int& top) const {
    x = mirror_.Column(at.x);
    top = mirror_.Row(at.y) - fieldPixelsH() + 1;
}

void CVtx::drawCell(char32_t c, bool wide, VtxPoint at, int fg, int bg, int rotation) {
    if (rotation == 0) {
        int x, top;
        cellBox(at, x, top);
        inkCell(mirror_, x, top, c, wide, fg, bg);
        return;
    }
    // Turned: drawn upright on a cell of its own first, white where nothing was drawn.
    VtxMirror cell(fieldPixelsW(), fieldPixelsH());
    inkCell(cell, 0, 0, c, wide, fg, bg);
    placeCell(cell, at, rotation, bg >= 0);
}

// The cell with its top-left pixel at (x, top) on `target`: the background, the character and
// the underline.
void CVtx::inkCell(VtxMirror& target, int x, int top, char32_t c, bool wide, int fg, int bg) {
    const int w = fieldPixelsW(), h = fieldPixelsH();
    if (bg >= 0) target.FillBox(x, top, x + w, top + h, uint8_t(bg));
    // One-byte characters are half the field wide, centred in it.
    const int glyphW = wide ? w : std::max(1, w / 2);
    if (c != U' ')
        target.Stamp(host_.Glyphs().Glyph(c, glyphW, h), x + (w - glyphW) / 2, top, uint8_t(fg));
    if (underline_) target.FillBox(x, top + h - 1, x + w, top + h, uint8_t(fg));
}

// Puts an upright cell on the mirror, turned by `rotation` (1-3) quarter turns anticlockwise about
// its lower-left corner `at`: the whole cell when it is opaque, else what was drawn on it.
void CVtx::placeCell(const VtxMirror& cell, VtxPoint at, int rotation, bool opaque) {
    const int w = cell.Width(), h = cell.Height();
    const int x = mirror_.Column(at.x), bottom = mirror_.Row(at.y);
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const uint8_t ink = cell.At(c, r);
            if (ink == VtxMirror::kWhite && !opaque) continue;
            switch (rotation) {
                case 1:
                    mirror_.Plot(x - h + r, bottom - c, ink);
                    break;
                case 2:
                    mirror_.Plot(x - 1 - c, bottom + h - r, ink);
                    break;
                default:
                    mirror_.Plot(x + h - 1 - r, bottom + 1 + c, ink);
                    break;
            }
        }
    }
}

void CVtx::drawChar(char32_t c, bool wide) {
    int fg, bg;
    inks(fg, bg);
    drawCell(c, wide, position_, fg, bg, rotation_);
}

void CVtx::drawKorean(uint8_t lead, uint8_t trail) {
    lastSet_ = 'C';
    lastGraphic_ = {char(lead), char(trail)};
    drawChar(KoreanChar(lead, trail), true);
    advance();
}

// The cell at the active position, its background painted when there is one: its top-left
// pixel and the ink to draw in it.
int CVtx::paperCell(int& x, int& top) {
    int fg, bg;
    inks(fg, bg);
    cellBox(position_, x, top);
    if (bg >= 0) mirror_.FillBox(x, top, x + fieldPixelsW(), top + fieldPixelsH(), uint8_t(bg));
    return fg;
}

// Mosaic characters: a 2 x 3 grid of blocks, bits 0-4 and 6 from the top left.
void CVtx::drawMosaic(uint8_t b) {
    const int w = fieldPixelsW(), h = fieldPixelsH();
    int x, top;
    const int fg = paperCell(x, top);
    const int bits = (b & 0x1F) | (b & 0x40 ? 0x20 : 0);
    for (int i = 0; i < 6; ++i) {
        if (!(bits >> i & 1)) continue;
        const int col = i % 2, row = i / 2;
        mirror_.FillBox(x + col * w / 2, top + row * h / 3, x + (col + 1) * w / 2,
                        top + (row + 1) * h / 3, uint8_t(fg));
    }
}

// A DRCS character: its drawing instructions run by a decoder of its own on a mirror the size
// of the field, whose ink is then placed in the cell.
void CVtx::drawDrcs(int slot) {
    if (slot < 0 || slot >= kSlots || drcs_[slot].bytes.empty() || nesting_ >= kMaxNesting) return;
    const int w = fieldPixelsW(), h = fieldPixelsH();
    int x, top;
    const int fg = paperCell(x, top);
    CVtx shape(host_, nullptr, nullptr, w, h, nesting_ + 1);
    shape.pel_ = drcs_[slot].pel;
    shape.pelW_ = std::max(1, int(std::lround(std::min(shape.pel_.x, 1.0) * w)));
    shape.pelH_ = std::max(1, int(std::lround(std::min(shape.pel_.y, 1.0) * h)));
    const std::string& body = drcs_[slot].bytes;
    for (size_t i = 0; i + 1 < body.size(); ++i)
        shape.Feed(uint8_t(body[i]));
    shape.finish();
    const VtxMirror& ink = shape.GetVtxBitmap();
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            if (ink.At(px, py) != VtxMirror::kWhite) mirror_.Plot(x + px, top + py, uint8_t(fg));
}

// REPEAT: the last graphic character again, `count` times.
void CVtx::repeatLast(int count) {
    if (lastGraphic_.empty()) return;
    const std::string bytes = lastGraphic_;
    const char set = lastSet_;
    for (int i = 0; i < count; ++i) {
        if (set == 'C')
            drawKorean(uint8_t(bytes[0]), uint8_t(bytes[1]));
        else
            graphic(uint8_t(bytes[0]), set);
    }
}

// One step along the character path; with word wrap, past the field's edge to the next row,
// and with scroll, the field's contents move when that row would leave it.
void CVtx::advance() {
    const double step = fieldW_ * spacingFactor(spacing_);
    switch (path_) {
        case 0:
            position_.x += step;
            break;
        case 1:
            position_.x -= step;
            break;
        case 2:
            position_.y += fieldH_ * spacingFactor(spacing_);
            break;
        default:
            position_.y -= fieldH_ * spacingFactor(spacing_);
            break;
    }
    if (wordWrap_ && pastLineEnd()) {
        carriageReturn();
        moveBy(0, 1);
    }
}

// The active position has run out of the field on the side the character path goes to.
bool CVtx::pastLineEnd() const {
    constexpr double kSlack = 1e-9;
    switch (path_) {
        case 0:
            return position_.x + fieldW_ > fieldOrigin_.x + fieldSize_.x + kSlack;
        case 1:
            return position_.x < fieldOrigin_.x - kSlack;
        case 2:
            return position_.y + fieldH_ > fieldOrigin_.y + fieldSize_.y + kSlack;
        default:
            return position_.y < fieldOrigin_.y - kSlack;
    }
}

// Columns forward along the path, rows down across it.
void CVtx::moveBy(int columns, int rows) {
    const double dx = columns * fieldW_, dy = rows * fieldH_ * spacingFactor(rowSpacing_);
    switch (path_) {
        case 0:
            position_.x += dx, position_.y -= dy;
            break;
        case 1:
            position_.x -= dx, position_.y -= dy;
            break;
        case 2:
            position_.y += columns * fieldH_, position_.x += rows * fieldW_;
            break;
        default:
            position_.y -= columns * fieldH_, position_.x += rows * fieldW_;
            break;
    }
    if (rows <= 0 || !scroll_) return;
    // Rows run down the field on the horizontal paths and across it to the right on the
    // vertical ones. Past the field's last row its contents move one row back and the
    // position stays on the last.
    const int x0 = mirror_.Column(fieldOrigin_.x);
    const int x1 = mirror_.Column(fieldOrigin_.x + fieldSize_.x);
    const int y0 = mirror_.Row(fieldOrigin_.y + fieldSize_.y) + 1;
    const int y1 = mirror_.Row(fieldOrigin_.y) + 1;
    const uint8_t paper = uint8_t(colourMode_ == 2 ? backColour_ : 0);
    if (path_ <= 1 && position_.y < fieldOrigin_.y - 1e-9) {
        position_.y += dy;
        mirror_.ScrollUp(x0, y0, x1, y1, mirror_.Pixels(dy), paper);
    } else if (path_ >= 2 && position_.x + fieldW_ > fieldOrigin_.x + fieldSize_.x + 1e-9) {
        position_.x -= rows * fieldW_;
        mirror_.ScrollLeft(x0, y0, x1, y1, mirror_.Pixels(rows * fieldW_), paper);
    }
}

void CVtx::setPosition(int row, int column) {
    const double top = fieldOrigin_.y + fieldSize_.y - fieldH_;
    position_ = {fieldOrigin_.x + column * fieldW_, top - row * fieldH_};
}

void CVtx::home() {
    setPosition(0, 0);
}

void CVtx::carriageReturn() {
    switch (path_) {
        case 0:
            position_.x = fieldOrigin_.x;
            break;
        case 1:
            position_.x = fieldOrigin_.x + fieldSize_.x - fieldW_;
            break;
        case 2:
            position_.y = fieldOrigin_.y;
            break;
        default:
            position_.y = fieldOrigin_.y + fieldSize_.y - fieldH_;
            break;
    }
}
