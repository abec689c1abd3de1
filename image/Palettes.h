#pragma once
// The fixed palettes that fewer bits per pixel fall back on, and the nearest-colour search.
#include <cstdint>

#include "image/Surface.h"

Palette monochromePalette();  // black, white
Palette vgaPalette();         // the 16 colours of 4-bit DIBs, in their usual order
// 256 colours: a 6×6×6 colour cube followed by 40 greys between its levels.
Palette halftonePalette();
// The standard palette for a depth of 1, 4 or 8 bits.
Palette standardPalette(int bits);

// Index of the colour of palette nearest to color (squared RGB distance), cached per colour.
class NearestColor {
public:
    explicit NearestColor(const Palette& palette) : palette_(palette) {}
    int index(uint32_t color);

private:
    const Palette& palette_;
    uint32_t lastColor_ = 0;
    int lastIndex_ = -1;
};
