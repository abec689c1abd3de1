#include "term/LineStrokes.h"

#include <algorithm>

namespace {

// Rectangle from (x0, y0) to (x1, y1) exclusive, clipped to the cell; nothing when empty.
void addClipped(std::vector<PixelRect>& out, const CellGeometry& c, int x0, int y0, int x1,
                int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, c.cellWidth);
    y1 = std::min(y1, c.lineHeight);
    if (x1 > x0 && y1 > y0) out.push_back({x0, y0, x1 - x0, y1 - y0});
}

// A thin line from (x0, y0) towards (x1, y1), the end point excluded, one pixel per step of the
// longer axis.
void addDiagonal(std::vector<PixelRect>& out, const CellGeometry& c, int x0, int y0, int x1,
                 int y1) {
    const int dx = x1 - x0, dy = y1 - y0;
    const int steps = std::max(dx, dy);
    for (int i = 0; i < steps; ++i) {
        // Rounded to the nearest pixel: (2 * i * d + steps) / (2 * steps).
        int x = x0 + (2 * i * dx + steps) / (2 * steps);
        int y = y0 + (2 * i * dy + steps) / (2 * steps);
        addClipped(out, c, x, y, x + 1, y + 1);
    }
}

}  // namespace

std::vector<PixelRect> StrokeRects(char code, const CellGeometry& c) {
    const int cx = c.cellWidth / 2, cy = c.fontHeight / 2;
    const int w = c.cellWidth, h = c.lineHeight;
    std::vector<PixelRect> out;
    auto left = [&] { addClipped(out, c, 0, cy, cx + 1, cy + 1); };    // thin, left edge to cx
    auto right = [&] { addClipped(out, c, cx, cy, w, cy + 1); };       // thin, cx to right edge
    auto up = [&] { addClipped(out, c, cx - 1, 0, cx + 1, cy + 1); };  // thick, top to cy
    auto down = [&] { addClipped(out, c, cx - 1, cy, cx + 1, h); };    // thick, cy to bottom
    switch (code) {
        case '-':
            left();
            right();
            break;
        case '|':
            addClipped(out, c, cx - 1, 0, cx + 1, h);
            break;
        case 'S':
            down();
            right();
            break;
        case 's':
            up();
            right();
            break;
        case 'r':
            left();
            down();
            break;
        case 'R':
            left();
            up();
            break;
        case '\\':
            addDiagonal(out, c, 0, 0, w - 1, c.fontHeight - 1);
            break;
        case 'a':
            addClipped(out, c, 0, 0, w, h);
            break;
        case 'b':
            addClipped(out, c, 0, 0, w, cy);
            break;
        case 'c':
            addClipped(out, c, 0, cy, w, h);
            break;
        default:
            break;
    }
    return out;
}
