#pragma once
// Characters as coverage masks at any size, without Qt: what videotex pages and the Go board
// draw text with. The window hands in an outline face; tests use the raster face.
#include <cstdint>
#include <vector>

// Coverage of a character over its cells: width x height bytes, 0 = none, 255 = full ink.
struct GlyphMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;
    bool empty() const { return alpha.empty(); }
};

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // The character `c` (a Unicode code point) filling a width x height box; an empty mask
    // when the face has no such character or the box is empty.
    virtual GlyphMask Glyph(char32_t c, int width, int height) = 0;
};
