#pragma once
// Builds an 8x4x4 Hangul font from a font's precomposed syllables: every jamo glyph is chosen so
// that the composition of each syllable comes as close as it can to that font's own glyph.
#include <map>
#include <string>

#include "tools/UnifontHex.h"

// The font as a file of the 11008-byte layout (19 initial, 21 vowel and 27 final glyphs per
// set), fitted to the glyphs of the 2350 KS C 5601 syllables (the only ones it composes) among
// U+AC00..U+D7A3 of `glyphs`. Empty when a syllable is missing.
std::string fitHangulFont(const std::map<char32_t, HexGlyph>& glyphs);

// Johab code of the modern syllable U+AC00 + index (0..11171).
uint16_t johabOfSyllable(int index);
