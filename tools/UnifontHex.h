#pragma once
// Glyphs of a GNU Unifont ".hex" file: one line "XXXX:bits" per code point, 16 rows of 8 or 16
// pixels.
#include <cstdint>
#include <map>
#include <string>

#include "term/HangulFont.h"

struct HexGlyph {
    int width = 8;   // 8 or 16
    Glyph16 rows{};  // an 8-pixel glyph sits in the high byte of each row
};

// The glyphs of the Basic Multilingual Plane found in the file; empty when it cannot be read.
std::map<char32_t, HexGlyph> readUnifontHex(const std::string& path);
