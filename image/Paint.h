#pragma once
// Painting DIBs and bitmaps onto a surface standing for a device context. Source and
// destination rectangles are clipped to their surfaces; palettes are realised, which on a
// true-colour surface changes nothing.
#include "image/Dib.h"
#include "image/Surface.h"

// Same sizes: a direct copy; else stretched (nearest pixel, colour on colour).
void PaintDIB(Surface& dc, const Rect& dest, HDIB dib, const Rect& src, const Palette& palette);
void PaintBitmap(Surface& dc, const Rect& dest, const Surface& bitmap, const Rect& src,
                 const Palette& palette);
void PaintBitmap(Surface& dc, const Surface& bitmap, Point at, const Palette& palette);
// Tiles the bitmap over rect, the tiles anchored at rect's top-left corner.
void PaintTileRect(Surface& dc, const Surface& bitmap, const Rect& rect, const Palette& palette);
// Tiles anchored at the surface's origin horizontally and shifted down by yOffset (modulo the
// bitmap's height) from rect's top, so the pattern scrolls with the content; painted off-screen
// and copied in one step. A negative rect.left is first set to 0 in the caller's rectangle.
void PaintTileRect(Surface& dc, const Surface& bitmap, Rect& rect, int yOffset,
                   const Palette& palette);
// Paints the bitmap at `at`, leaving the pixels equal to its top-left pixel transparent (the
// colour argument is not used).
void DrawTransparent(Surface& dc, const Surface& bitmap, Point at, uint32_t color);
