#include "term/HangulFont.h"

#include <fstream>
#include <initializer_list>
#include <iterator>

#include "term/HangulCodes.h"

namespace {

constexpr int kGlyphBytes = 32;

// The four accepted layouts, told apart by the file size alone.
struct Layout {
    size_t size;
    size_t header;     // bytes skipped at the start
    int perSet[3];     // glyphs in each initial, vowel and final set
    bool extraPerSet;  // one unused glyph before each set
};
constexpr Layout kLayouts[] = {
    {13056, 256, {23, 23, 31}, false},
    {12800, 0, {23, 23, 31}, false},
    {11008, 0, {19, 21, 27}, false},
    {11520, 0, {19, 21, 27}, true},
};

// Atlas columns that receive the glyphs of a set, in order. Column c stands for component code
// c + 2; the other columns are codes no jamo has and stay blank.
constexpr int kInitialColumns[] = {0,  1,  2,  3,  4,  5,  6,  7,  8, 9,
                                   10, 11, 12, 13, 14, 15, 16, 17, 18};
constexpr int kVowelColumns[] = {1,  2,  3,  4,  5,  8,  9,  10, 11, 12, 13,
                                 16, 17, 18, 19, 20, 21, 24, 25, 26, 27};
constexpr int kFinalColumns[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                 14, 15, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27};

Glyph16 readGlyph(const uint8_t* p) {
    Glyph16 g;
    for (int r = 0; r < 16; ++r)
        g[r] = static_cast<uint16_t>(p[2 * r] << 8 | p[2 * r + 1]);
    return g;
}

bool inAny(int v, std::initializer_list<int> set) {
    for (int x : set) {
        if (x == v) return true;
    }
    return false;
}

bool verticalVowel(int v) {
    return (v >= 3 && v <= 7) || (v >= 10 && v <= 12) || v == 29;
}

// Which of the 8 initial forms fits the vowel beside it and the final below.
int initialSet(int vowel, bool hasFinal) {
    if (hasFinal) {
        if (verticalVowel(vowel)) return 5;
        if (inAny(vowel, {13, 19, 20, 26, 27})) return 6;
        if (inAny(vowel, {14, 15, 18, 21, 22, 23, 28})) return 7;
        return 0;
    }
    if (verticalVowel(vowel)) return 0;
    if (inAny(vowel, {13, 19, 27})) return 1;
    if (inAny(vowel, {20, 26})) return 2;
    if (inAny(vowel, {14, 15, 18, 28})) return 3;
    if (inAny(vowel, {21, 22, 23})) return 4;
    return 0;
}

// ㄱ and ㅋ have a vowel form of their own.
int vowelSet(int initial, bool hasFinal) {
    bool hooked = initial == 2 || initial == 17;
    if (hooked) return hasFinal ? 2 : 0;
    return hasFinal ? 3 : 1;
}

int finalSet(int vowel) {
    if (inAny(vowel, {3, 5, 14})) return 0;
    if (inAny(vowel, {7, 11, 18, 21, 23, 28, 29})) return 1;
    if (inAny(vowel, {4, 6, 10, 12, 15, 22})) return 2;
    if (inAny(vowel, {13, 19, 20, 26, 27})) return 3;
    return 0;
}

void orInto(Glyph16& out, const Glyph16& g) {
    for (int r = 0; r < 16; ++r)
        out[r] |= g[r];
}

}  // namespace

bool HangulFont::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        loaded_ = false;
        return false;
    }
    std::string bytes(std::istreambuf_iterator<char>(file), {});
    return LoadData(bytes);
}

// Ink is kept as 1 bits, so the strokes of the three jamo merge by OR.
bool HangulFont::LoadData(std::string_view bytes) {
    loaded_ = false;
    const Layout* layout = nullptr;
    for (const Layout& l : kLayouts) {
        if (l.size == bytes.size()) layout = &l;
    }
    if (!layout) return false;
    atlas_ = {};
    const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data()) + layout->header;
    for (int set = 0; set < kSets; ++set) {
        if (layout->extraPerSet) p += kGlyphBytes;
        std::span<const int> columns = SetColumns(set);
        for (size_t i = 0; i < columns.size(); ++i) {
            atlas_[set][columns[i]] = readGlyph(p + i * kGlyphBytes);
        }
        p += layout->perSet[set < 8 ? 0 : set < 12 ? 1 : 2] * kGlyphBytes;
    }
    loaded_ = true;
    return true;
}

bool HangulFont::Composes(uint8_t lead, uint8_t trail) {
    if (lead >= 0xB0 && lead <= 0xC8) return trail >= 0xA1 && trail <= 0xFE;
    return lead == 0xA4 && trail >= 0xA1 && trail <= 0xD3;
}

bool HangulFont::Compose(uint8_t lead, uint8_t trail, Glyph16& out) const {
    if (!loaded_ || !Composes(lead, trail)) return false;
    KsToJohab(lead, trail);
    const JamoSlots s = SlotsOf(static_cast<uint16_t>(lead << 8 | trail));
    out = atlas_[s.initialSet][s.initialColumn];
    if (s.vowelColumn >= 0) orInto(out, atlas_[s.vowelSet][s.vowelColumn]);
    if (s.finalColumn >= 0) orInto(out, atlas_[s.finalSet][s.finalColumn]);
    return true;
}

JamoSlots HangulFont::SlotsOf(uint16_t johab) {
    const int initial = (johab >> 10) & 31, vowel = (johab >> 5) & 31, final = johab & 31;
    const bool hasFinal = final != 0 && final != 1 && final != 31;
    // Fill codes (0, 1) add nothing; codes past the atlas are not jamo and add nothing either.
    auto column = [](int code) { return code >= 2 && code - 2 < kAtlasColumns ? code - 2 : -1; };
    return {initialSet(vowel, hasFinal),
            initial >= 2 && initial <= 20 ? initial - 2 : 19,
            8 + vowelSet(initial, hasFinal),
            column(vowel),
            12 + finalSet(vowel),
            column(final)};
}

std::span<const int> HangulFont::SetColumns(int set) {
    if (set < 8) return kInitialColumns;
    if (set < 12) return kVowelColumns;
    return kFinalColumns;
}
