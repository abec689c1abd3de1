#pragma once
// The pixels of the line-plane codes (box lines drawn by the host, block characters): each code
// is a few filled rectangles inside its cell, in the cell's text colour.
#include <vector>

struct PixelRect {
    int x, y, w, h;  // relative to the cell's top left
    bool operator==(const PixelRect&) const = default;
};

struct CellGeometry {
    int cellWidth;
    int lineHeight;  // font height plus leading
    int fontHeight;
};

// Thin strokes are one pixel wide; thick strokes two, over columns cx-1 and cx (cx is the
// cell's middle). The vertical strokes of '|', 'S', 's', 'r' and 'R' include the middle row cy,
// so a column of '|' cells and the corners of a box meet without gaps. Everything is clipped to
// the cell. Unknown codes give nothing.
std::vector<PixelRect> StrokeRects(char code, const CellGeometry& cell);
