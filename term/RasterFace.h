#pragma once
// The raster window face: fixed 8x16 cells, one 16x16 bitmap for wide characters, drawn from
// GNU Unifont's glyphs and read from a file the build writes.
//
// File: "QRF1", a little-endian 32-bit count, then per glyph in ascending code order a 16-bit
// little-endian code point, a width byte (8 or 16) and 16 rows of 1 or 2 bytes (most
// significant bit leftmost, 1 = ink).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "term/HangulFont.h"

struct RasterGlyph {
    char32_t code;
    int width;  // 8 or 16
    Glyph16 rows;
};

class RasterFace {
public:
    static constexpr int kCellWidth = 8;
    static constexpr int kHeight = 16;

    bool Load(const std::string& path);
    bool LoadData(std::string_view bytes);
    bool Loaded() const { return !glyphs_.empty(); }

    // The glyph of a code point of the Basic Multilingual Plane: width 8 or 16 pixels (an
    // 8-pixel glyph in the high byte of each row), or false when the face has none.
    bool Glyph(char32_t code, Glyph16& rows, int& width) const;

    // The file holding `glyphs` (in ascending code order).
    static std::string Serialise(const std::vector<RasterGlyph>& glyphs);

private:
    std::vector<uint8_t> glyphs_;
    std::vector<int32_t> offsets_;  // per code point, -1 when absent
};
