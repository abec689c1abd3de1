#pragma once
// Double-byte characters the terminal draws itself instead of taking them from the window font:
// box-drawing and symbol rows drawn with the symbol font (the window face stretched to the line
// height), ten 8x8 fill patterns and fifteen 16x16 symbol bitmaps.
#include <cstdint>

enum class SpecialKind { None, SymbolFont, Pattern, Bitmap };

struct SpecialGlyph {
    SpecialKind kind = SpecialKind::None;
    int index = 0;     // pattern or bitmap number
    uint8_t lead = 0;  // the character the symbol font draws
    uint8_t trail = 0;
};

SpecialGlyph ClassifySpecial(uint8_t lead, uint8_t trail);

// Pattern i (0..9): 8 rows, most significant bit leftmost, 1 = text colour.
const uint8_t* FillPattern(int i);
// Bitmap i (0..14): 16 rows, most significant bit leftmost, 1 = text colour.
const uint16_t* SymbolBitmap(int i);
