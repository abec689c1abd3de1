#pragma once
// The 32-bit surface that stands for device bitmaps and device contexts: pixels 0xFFRRGGBB, rows
// top-down. Painting routines take a surface as the destination; an empty surface is "none".
#include <cstddef>
#include <cstdint>
#include <vector>

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct Point {
    int x = 0, y = 0;
};

struct Surface {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    Surface() = default;
    Surface(int w, int h, uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    bool empty() const { return pixels.empty(); }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

// A logical palette: up to 256 colours 0xFFRRGGBB. Empty: no palette.
struct Palette {
    std::vector<uint32_t> colors;
    bool empty() const { return colors.empty(); }
};

inline uint32_t rgbColor(int r, int g, int b) {
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}
