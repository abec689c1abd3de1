#pragma once
// The picture a videotex page is drawn into: an 8-bit indexed raster over a 17-entry palette
// (entries 0-15 the colour map, 16 the white it starts filled with). Changing an entry
// recolours everything drawn in it. Every drawing operation is clipped to the raster.
//
// The unit screen maps onto it as one square grid: x 0..1 spans the full width, y runs
// upward from the bottom row, so pixel column = floor(x * width) and pixel row =
// height - 1 - floor(y * width). The unit screen's height 0.75 leaves a band at the top
// (the raster is 1.3 times as wide as it is high).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "term/GlyphSource.h"

struct VtxRgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const VtxRgb&) const = default;
};

// A point in unit-screen coordinates (or a displacement, or a size).
struct VtxPoint {
    double x = 0, y = 0;
};

// How filled shapes and lines are inked (TEXTURE). A fill pattern is solid or hatching: one
// pixel line per mask cell, cells counted from the raster's top-left so that neighbouring
// shapes line up. A line texture is a 16-step on/off pattern walked along the line.
struct VtxTexture {
    enum Pattern { Solid, VerticalHatch, HorizontalHatch, CrossHatch };
    static constexpr uint16_t kSolidLine = 0xFFFF, kDotted = 0xCCCC, kDashed = 0xFFF0,
                              kDotDashed = 0xFF18;

    Pattern pattern = Solid;
    int cellW = 1, cellH = 1;  // the mask cell in pixels
    uint16_t line = kSolidLine;

    bool Inked(int x, int y) const;
};

class VtxMirror {
public:
    static constexpr int kColours = 16;
    static constexpr uint8_t kWhite = 16;

    VtxMirror(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    uint8_t At(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
    const std::array<VtxRgb, 17>& Palette() const { return palette_; }
    void SetEntry(int index, VtxRgb rgb) { palette_[index] = rgb; }
    VtxRgb RgbAt(int x, int y) const { return palette_[At(x, y)]; }

    // Unit-screen coordinates to pixel column and row, and a unit length to whole pixels.
    int Column(double x) const;
    int Row(double y) const;
    int Pixels(double length) const;

    void Fill(uint8_t index);
    void Plot(int x, int y, uint8_t index);
    // Pixels [x0, x1) x [y0, y1), clipped; of them only those the texture's pattern inks.
    void FillBox(int x0, int y0, int x1, int y1, uint8_t index, const VtxTexture& texture = {});
    // A one-pixel line between two pixels, both ends drawn, stamped with a pel of w x h at each
    // step the line texture leaves on.
    void Line(int x0, int y0, int x1, int y1, int pelW, int pelH, uint8_t index,
              uint16_t texture = VtxTexture::kSolidLine);
    // The area inside a closed polygon of unit-screen vertices (even-odd rule, pixel centres).
    void FillPolygon(const std::vector<VtxPoint>& vertices, uint8_t index,
                     const VtxTexture& texture = {});
    // Pixels of `mask` with coverage of half or more, its top-left at (x, y).
    void Stamp(const GlyphMask& mask, int x, int y, uint8_t index);
    // Moves the pixels of [x0, x1) x [y0, y1) up by `rows`, filling the rows left below.
    void ScrollUp(int x0, int y0, int x1, int y1, int rows, uint8_t fill);
    // Moves the pixels of [x0, x1) x [y0, y1) left by `columns`, filling the columns left free.
    void ScrollLeft(int x0, int y0, int x1, int y1, int columns, uint8_t fill);

private:
    static bool clipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX,
                            double hiY);

    int width_, height_;
    std::vector<uint8_t> pixels_;
    std::array<VtxRgb, 17> palette_{};
};
