#pragma once
// The fonts of the terminal window for one set of screen settings: the window face (the raster
// face of our own, "Fixedsys", or a fixed-pitch Korean TrueType face), the symbol font (the
// window face stretched to the line height) and, with the raster face, the Hangul bitmap font.
// A character the TrueType face lacks comes from the next installed face that has it, and
// failing all, from the raster face's glyphs. Characters come out as coverage masks, made once
// and kept.
#include <QFont>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "term/FaceChain.h"
#include "term/GlyphSource.h"
#include "term/HangulFont.h"
#include "term/RasterFace.h"
#include "term/ScreenSettings.h"

class TermFonts {
public:
    static constexpr char kRasterFaceName[] = "Fixedsys";
    static constexpr char kGulimFaceName[] = "굴림체";

    // Needs a QGuiApplication for TrueType faces.
    TermFonts();
    ~TermFonts();

    // Makes the fonts of the settings; nothing changes unless the face, size, leading,
    // boldness or Hangul font did.
    void Configure(const ScreenSettings& settings);

    bool IsRasterFace() const { return raster_; }
    // The Hangul bitmap font draws Hangul: loaded, and the window face is a raster face.
    bool UsesHangulFont() const { return raster_ && hangul_.Loaded(); }
    int CellWidth() const { return cellWidth_; }
    int FontHeight() const { return fontHeight_; }
    int LineHeight() const { return fontHeight_ + leading_; }
    const QString& Face() const { return face_; }

    // A one-cell byte or a double-byte character (lead << 8 | trail) in the window face, or a
    // composed Hangul syllable; 1 or 2 cells wide and a line high.
    const GlyphMask& Glyph(uint16_t code);
    // A box-drawing or symbol character in the symbol font: two cells wide, a line high.
    const GlyphMask& SymbolGlyph(uint8_t lead, uint8_t trail);

    // Face names offered in the screen settings: the raster face, "굴림체" and the Korean faces
    // fontconfig knows whose glyphs measure fixed-pitch (Hangul two Latin cells wide).
    static QStringList FaceList();
    // The installed family that draws a face name: the stand-in for "굴림체", else the name.
    static QString FamilyOf(const QString& face);

private:
    void resolveFace(const ScreenSettings& settings);
    GlyphMask makeGlyph(uint16_t code, bool symbol);
    GlyphMask rasterGlyph(char32_t c, int cells, bool symbol) const;
    GlyphMask outlineGlyph(char32_t c, int cells, bool symbol) const;
    void embolden(GlyphMask& mask) const;

    ScreenSettings applied_;
    bool configured_ = false;
    bool raster_ = true;
    QString face_;
    FaceChain faces_, symbolFaces_;
    int cellWidth_ = 8, fontHeight_ = 16, leading_ = 2;
    RasterFace rasterFace_;
    HangulFont hangul_;
    std::unordered_map<uint32_t, GlyphMask> cache_;
};
