#pragma once
// A Hangul bitmap font (".hft", the 8x4x4 combination font): 16x16 jamo glyphs in 8 initial,
// 4 vowel and 4 final-consonant sets, from which the KS C 5601 syllables and jamo are composed
// one glyph each.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// 16 rows of 16 pixels, top row first, most significant bit leftmost, 1 = ink.
using Glyph16 = std::array<uint16_t, 16>;

// Where the glyphs of one syllable come from: atlas set (row) and column of each jamo, or a
// column of -1 for a jamo that adds nothing.
struct JamoSlots {
    int initialSet, initialColumn;
    int vowelSet, vowelColumn;
    int finalSet, finalColumn;
};

class HangulFont {
public:
    static constexpr int kSets = 16;          // 8 initial, 4 vowel, 4 final
    static constexpr int kAtlasColumns = 29;  // column c holds Johab component code c + 2

    // Reads and checks a font file; a missing file or one of an unknown size is rejected and
    // leaves the font unloaded, whatever was loaded before.
    bool Load(const std::string& path);
    bool LoadData(std::string_view bytes);
    bool Loaded() const { return loaded_; }

    // The glyph of a KS C 5601 syllable (0xB0A1..0xC8FE) or modern jamo (0xA4A1..0xA4D3).
    // False for every other pair (archaic jamo, extended syllables, symbols): those belong to
    // the window font, never to a syllable of this one.
    bool Compose(uint8_t lead, uint8_t trail, Glyph16& out) const;
    static bool Composes(uint8_t lead, uint8_t trail);

    const Glyph16& AtlasGlyph(int set, int column) const { return atlas_[set][column]; }

    // The glyph choice for a Johab syllable or jamo code.
    static JamoSlots SlotsOf(uint16_t johab);
    // The atlas columns a set of the file fills, in file order (19, 21 or 27 of them).
    static std::span<const int> SetColumns(int set);

private:
    std::array<std::array<Glyph16, kAtlasColumns>, kSets> atlas_{};
    bool loaded_ = false;
};
