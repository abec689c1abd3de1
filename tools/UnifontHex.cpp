#include "tools/UnifontHex.h"

#include <cstdlib>
#include <fstream>

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Parses "bits" of 32 or 64 hex digits; false for anything else.
bool parseBits(const std::string& bits, HexGlyph& glyph) {
    if (bits.size() != 32 && bits.size() != 64) return false;
    glyph.width = bits.size() == 32 ? 8 : 16;
    const int digitsPerRow = glyph.width / 4;
    for (int r = 0; r < 16; ++r) {
        unsigned row = 0;
        for (int d = 0; d < digitsPerRow; ++d) {
            int v = hexDigit(bits[r * digitsPerRow + d]);
            if (v < 0) return false;
            row = row << 4 | v;
        }
        glyph.rows[r] = static_cast<uint16_t>(glyph.width == 8 ? row << 8 : row);
    }
    return true;
}

}  // namespace

std::map<char32_t, HexGlyph> readUnifontHex(const std::string& path) {
    std::map<char32_t, HexGlyph> glyphs;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos || colon > 6) continue;
        char* end = nullptr;
        unsigned long code = std::strtoul(line.c_str(), &end, 16);
        if (end != line.c_str() + colon) continue;
        HexGlyph glyph;
        if (code <= 0xFFFF && parseBits(line.substr(colon + 1), glyph)) glyphs[code] = glyph;
    }
    return glyphs;
}
