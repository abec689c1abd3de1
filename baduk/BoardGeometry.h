#pragma once
// Where the board's points lie in the board view, for a cell size b of 19, 25 or 33 pixels.
#include "image/Surface.h"
#include "term/TWView.h"

namespace BoardGeometry {

constexpr int kMarginX = 30, kMarginY = 24;

// 19 for a screen at most 480 pixels high, 33 above 600, 25 between.
constexpr int CellSize(int screenHeight) {
    return screenHeight <= 480 ? 19 : screenHeight > 600 ? 33 : 25;
}
constexpr int ViewWidth(int b) {
    return b * 18 + 2 * kMarginX;
}
constexpr int ViewHeight(int b) {
    return b * 18 + 2 * kMarginY;
}

// The b x b square centred on point (column, row).
inline Rect PointSquare(int column, int row, int b) {
    int left = column * b + kMarginX - b / 2, top = row * b + kMarginY - b / 2;
    return {left, top, left + b, top + b};
}

// The point whose square holds the pixel, or (-1, -1). Floor division: a pixel left of or above
// the first squares is off the board, not on its first column or row.
inline TWPoint PixelToPoint(int px, int py, int b) {
    auto index = [b](int offset) { return offset >= 0 ? offset / b : -1; };
    int column = index(px + b / 2 - kMarginX), row = index(py + b / 2 - kMarginY);
    if (column < 0 || column > 18 || row < 0 || row > 18) return {-1, -1};
    return {column, row};
}

}  // namespace BoardGeometry
