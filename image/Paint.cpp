#include "image/Paint.h"

#include <algorithm>

#include "image/DibConvert.h"

namespace {

int floorMod(int a, int m) {
    const int r = a % m;
    return r < 0 ? r + m : r;
}

void copyPixel(Surface& dc, int x, int y, uint32_t color) {
    if (x >= 0 && y >= 0 && x < dc.width && y < dc.height) dc.at(x, y) = color;
}

}  // namespace

void PaintBitmap(Surface& dc, const Rect& dest, const Surface& bitmap, const Rect& src,
                 const Palette& /*palette*/) {
    if (bitmap.empty() || dest.width() <= 0 || dest.height() <= 0 || src.width() <= 0 ||
        src.height() <= 0)
        return;
    for (int dy = 0; dy < dest.height(); ++dy) {
        const int sy =
            src.top + static_cast<int>(static_cast<int64_t>(dy) * src.height() / dest.height());
        if (sy < 0 || sy >= bitmap.height) continue;
        for (int dx = 0; dx < dest.width(); ++dx) {
            const int sx =
                src.left + static_cast<int>(static_cast<int64_t>(dx) * src.width() / dest.width());
            if (sx >= 0 && sx < bitmap.width)
                copyPixel(dc, dest.left + dx, dest.top + dy, bitmap.at(sx, sy));
        }
    }
}

void PaintBitmap(Surface& dc, const Surface& bitmap, Point at, const Palette& palette) {
    PaintBitmap(dc, Rect{at.x, at.y, at.x + bitmap.width, at.y + bitmap.height}, bitmap,
                Rect{0, 0, bitmap.width, bitmap.height}, palette);
}

void PaintDIB(Surface& dc, const Rect& dest, HDIB dib, const Rect& src, const Palette& palette) {
    PaintBitmap(dc, dest, DIBToBitmap(dib, palette), src, palette);
}

void PaintTileRect(Surface& dc, const Surface& bitmap, const Rect& rect,
                   const Palette& /*palette*/) {
    if (bitmap.empty()) return;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            copyPixel(dc, x, y,
                      bitmap.at((x - rect.left) % bitmap.width, (y - rect.top) % bitmap.height));
}

void PaintTileRect(Surface& dc, const Surface& bitmap, Rect& rect, int yOffset,
                   const Palette& palette) {
    if (bitmap.empty()) return;
    rect.left = std::max(rect.left, 0);
    if (rect.width() <= 0 || rect.height() <= 0) return;
    Surface tiles(rect.width(), rect.height());
    for (int y = 0; y < tiles.height; ++y) {
        const uint32_t* src = bitmap.row(floorMod(y + yOffset, bitmap.height));
        uint32_t* dst = tiles.row(y);
        for (int x = 0; x < tiles.width; ++x)
            dst[x] = src[(rect.left + x) % bitmap.width];
    }
    PaintBitmap(dc, tiles, Point{rect.left, rect.top}, palette);
}

void DrawTransparent(Surface& dc, const Surface& bitmap, Point at, uint32_t /*color*/) {
    if (bitmap.empty()) return;
    const uint32_t transparent = bitmap.at(0, 0);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            if (bitmap.at(x, y) != transparent) copyPixel(dc, at.x + x, at.y + y, bitmap.at(x, y));
}
