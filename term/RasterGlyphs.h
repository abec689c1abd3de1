#pragma once
// The raster window face as a glyph source: its 16-row bitmaps scaled to any box, nearest
// pixel. Needs no Qt, so the cores that draw text are tested with it.
#include "term/GlyphSource.h"
#include "term/RasterFace.h"

class RasterGlyphs : public GlyphSource {
public:
    // Reads the face from the fonts folder the build writes.
    RasterGlyphs();
    explicit RasterGlyphs(const RasterFace& face) : face_(face) {}
    bool Loaded() const { return face_.Loaded(); }
    GlyphMask Glyph(char32_t c, int width, int height) override;

private:
    RasterFace face_;
};
