#include "term/RasterGlyphs.h"

#include "term/FontFiles.h"

RasterGlyphs::RasterGlyphs() {
    face_.Load(RasterFacePath());
}

GlyphMask RasterGlyphs::Glyph(char32_t c, int width, int height) {
    Glyph16 rows;
    int bitsWide = 0;
    if (width <= 0 || height <= 0 || !face_.Glyph(c, rows, bitsWide)) return {};
    GlyphMask m{width, height, std::vector<uint8_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        const uint16_t row = rows[y * RasterFace::kHeight / height];
        for (int x = 0; x < width; ++x)
            if (row >> (15 - x * bitsWide / width) & 1) m.alpha[size_t(y) * width + x] = 255;
    }
    return m;
}
