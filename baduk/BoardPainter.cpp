#include "baduk/BoardPainter.h"

#include <algorithm>
#include <cstdio>

#include "baduk/BadukDoc.h"
#include "baduk/BoardArt.h"
#include "baduk/BoardGeometry.h"
#include "image/DibConvert.h"
#include "image/Paint.h"

namespace {

using namespace BoardGeometry;

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

bool contains(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void fill(Surface& s, const Rect& clip, const Rect& area, uint32_t colour) {
    Rect r = intersect(clip, area);
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(s.row(y) + r.left, s.row(y) + r.right, colour);
}

uint32_t blend(uint32_t under, uint32_t over, int alpha) {
    auto mix = [&](int shift) {
        int a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        return static_cast<uint32_t>((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    };
    return 0xFF000000u | mix(16) | mix(8) | mix(0);
}

}  // namespace

BoardPainter::BoardPainter(int b, BoardBitmaps bitmaps, GlyphSource& glyphs)
    : b_(b), bitmaps_(std::move(bitmaps)), glyphs_(glyphs), board_(ViewWidth(b), ViewHeight(b)) {
    drawBoard();
}

void BoardPainter::drawBoard() {
    const Rect all{0, 0, board_.width, board_.height};
    Palette palette = GetPalette(bitmaps_.background);
    if (!bitmaps_.background.empty()) PaintTileRect(board_, bitmaps_.background, all, palette);
    const int last = 18 * b_;
    for (int i = 0; i < 19; ++i) {
        fill(board_, all, {kMarginX + i * b_, kMarginY, kMarginX + i * b_ + 1, kMarginY + last + 1},
             kBlack);
        fill(board_, all, {kMarginX, kMarginY + i * b_, kMarginX + last + 1, kMarginY + i * b_ + 1},
             kBlack);
    }
    const int quarter = b_ / 4;
    for (int i = 0; i < 19; ++i) {
        int x = kMarginX + i * b_, y = kMarginY + i * b_;
        drawText(board_, all, std::string(1, static_cast<char>('A' + i)), x - kGlyphWidth / 2,
                 kMarginY - quarter - kGlyphHeight, kBlack);
        char number[16];
        std::snprintf(number, sizeof number, "%2d", i + 1);
        drawText(board_, all, number, kMarginX - quarter - 2 * kGlyphWidth, y - kGlyphHeight / 2,
                 kBlack);
    }
    for (int c : {3, 9, 15})
        for (int r : {3, 9, 15})
            fill(board_, all,
                 {kMarginX + c * b_ - 2, kMarginY + r * b_ - 2, kMarginX + c * b_ + 3,
                  kMarginY + r * b_ + 3},
                 kBlack);
    const int w = board_.width, h = board_.height;
    fill(board_, all, {w - 4, 0, w, h}, kButtonShadow);
    fill(board_, all, {0, h - 6, w, h - 2}, kButtonShadow);
    fill(board_, all, {0, h - 2, w, h}, kActiveCaption);
}

void BoardPainter::drawText(Surface& view, const Rect& clip, const std::string& text, int left,
                            int top, uint32_t colour) {
    for (size_t i = 0; i < text.size(); ++i) {
        GlyphMask glyph =
            glyphs_.Glyph(static_cast<unsigned char>(text[i]), kGlyphWidth, kGlyphHeight);
        int x0 = left + static_cast<int>(i) * kGlyphWidth;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                int alpha = glyph.alpha[static_cast<size_t>(y) * glyph.width + x];
                if (alpha == 0 || !contains(clip, x0 + x, top + y)) continue;
                view.at(x0 + x, top + y) = blend(view.at(x0 + x, top + y), colour, alpha);
            }
        }
    }
}

// The strip's image through its mask: black mask pixels show the stone.
void BoardPainter::drawStone(Surface& view, const Rect& clip, int column, int row, int image) {
    Rect square = PointSquare(column, row, b_);
    Rect r = intersect(clip, square);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            int sx = image * b_ + x - square.left, sy = y - square.top;
            if (bitmaps_.mask.at(sx, sy) == BoardArt::kMaskOpaque)
                view.at(x, y) = bitmaps_.stones.at(sx, sy);
        }
    }
}

void BoardPainter::Paint(Surface& view, const Rect& update, const CBadukDoc& doc, bool numbering,
                         TWPoint hovered) {
    Rect clip = intersect(
        update, {0, 0, std::min(view.width, board_.width), std::min(view.height, board_.height)});
    PaintBitmap(view, clip, board_, clip, Palette());
    for (int column = 0; column < CBadukDoc::kSize; ++column) {
        for (int row = 0; row < CBadukDoc::kSize; ++row) {
            uint8_t stone = doc.StoneAt(column, row);
            Rect square = PointSquare(column, row, b_);
            if (stone == CBadukDoc::kEmpty || intersect(clip, square).width() == 0 ||
                intersect(clip, square).height() == 0)
                continue;
            bool black = stone == CBadukDoc::kBlack;
            bool last = doc.LastMove() == TWPoint{column, row};
            drawStone(view, clip, column, row,
                      (black ? BoardArt::kStoneBlack : BoardArt::kStoneWhite) + (last ? 1 : 0));
            if (!numbering) continue;
            std::string number = std::to_string(doc.MoveNumber(column, row));
            int width = static_cast<int>(number.size()) * kGlyphWidth;
            drawText(view, clip, number, square.left + (b_ - width) / 2,
                     square.top + (b_ - kGlyphHeight) / 2, black ? kWhite : kBlack);
        }
    }
    if (hovered.x < 0) return;
    Rect f = PointSquare(hovered.x, hovered.y, b_);
    fill(view, clip, {f.left, f.top, f.right, f.top + 1}, kBlack);
    fill(view, clip, {f.left, f.bottom - 1, f.right, f.bottom}, kBlack);
    fill(view, clip, {f.left, f.top, f.left + 1, f.bottom}, kBlack);
    fill(view, clip, {f.right - 1, f.top, f.right, f.bottom}, kBlack);
}

Surface BoardPainter::Render(const CBadukDoc& doc, bool numbering, TWPoint hovered) {
    Surface view(board_.width, board_.height);
    Paint(view, {0, 0, view.width, view.height}, doc, numbering, hovered);
    return view;
}

HDIB BoardPainter::PictureDIB(const CBadukDoc& doc, bool numbering) {
    Surface picture(board_.width, board_.height - 2);
    Paint(picture, {0, 0, picture.width, picture.height}, doc, numbering, {-1, -1});
    return BitmapToDIB(picture, GetPalette(board_));
}
