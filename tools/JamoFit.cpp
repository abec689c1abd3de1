#include "tools/JamoFit.h"

#include <array>
#include <vector>

#include "term/HangulCodes.h"

namespace {

constexpr int kSyllables = 11172;
constexpr int kPixels = 256;

// Johab vowel codes of the 21 modern vowels in Unicode order.
constexpr int kVowelCodes[21] = {3,  4,  5,  6,  7,  10, 11, 12, 13, 14, 15,
                                 18, 19, 20, 21, 22, 23, 26, 27, 28, 29};

using Atlas = std::array<std::array<Glyph16, HangulFont::kAtlasColumns>, HangulFont::kSets>;

struct Sample {
    Glyph16 target;
    int slot[3];  // set * 29 + column of the initial, vowel and final jamo; -1 for none
};

bool pixel(const Glyph16& g, int p) {
    return g[p / 16] >> (15 - p % 16) & 1;
}
void setPixel(Glyph16& g, int p, bool on) {
    uint16_t bit = static_cast<uint16_t>(1u << (15 - p % 16));
    g[p / 16] = static_cast<uint16_t>(on ? g[p / 16] | bit : g[p / 16] & ~bit);
}

Glyph16& slotGlyph(Atlas& atlas, int slot) {
    return atlas[slot / HangulFont::kAtlasColumns][slot % HangulFont::kAtlasColumns];
}

// What the other two jamo of a sample already draw.
Glyph16 othersOf(Atlas& atlas, const Sample& s, int except) {
    Glyph16 g{};
    for (int k = 0; k < 3; ++k) {
        if (k == except || s.slot[k] < 0) continue;
        const Glyph16& o = slotGlyph(atlas, s.slot[k]);
        for (int r = 0; r < 16; ++r)
            g[r] |= o[r];
    }
    return g;
}

// Each slot starts as the pixels every syllable using it has, so no composition draws a pixel
// its syllable lacks.
void startFromCommonPixels(Atlas& atlas, const std::vector<Sample>& samples,
                           const std::vector<std::vector<int>>& users) {
    for (size_t slot = 0; slot < users.size(); ++slot) {
        if (users[slot].empty()) continue;
        Glyph16 common;
        common.fill(0xFFFF);
        for (int i : users[slot]) {
            for (int r = 0; r < 16; ++r)
                common[r] &= samples[i].target[r];
        }
        slotGlyph(atlas, static_cast<int>(slot)) = common;
    }
}

// Coordinate descent: a pixel of a slot is turned on when more of the syllables using the slot
// (and not drawing the pixel through their other jamo) want it than do not. Returns the number
// of pixels changed.
int improveOnce(Atlas& atlas, const std::vector<Sample>& samples,
                const std::vector<std::vector<int>>& users) {
    int changed = 0;
    for (size_t slot = 0; slot < users.size(); ++slot) {
        if (users[slot].empty()) continue;
        std::array<int, kPixels> balance{};
        for (int i : users[slot]) {
            const Sample& s = samples[i];
            int which = s.slot[0] == int(slot) ? 0 : s.slot[1] == int(slot) ? 1 : 2;
            Glyph16 others = othersOf(atlas, s, which);
            for (int p = 0; p < kPixels; ++p) {
                if (pixel(others, p)) continue;
                balance[p] += pixel(s.target, p) ? 1 : -1;
            }
        }
        Glyph16& g = slotGlyph(atlas, static_cast<int>(slot));
        for (int p = 0; p < kPixels; ++p) {
            bool want = balance[p] > 0;
            if (want != pixel(g, p) && balance[p] != 0) {
                setPixel(g, p, want);
                ++changed;
            }
        }
    }
    return changed;
}

void appendGlyph(std::string& out, const Glyph16& g) {
    for (uint16_t row : g) {
        out += static_cast<char>(row >> 8);
        out += static_cast<char>(row & 0xFF);
    }
}

}  // namespace

uint16_t johabOfSyllable(int index) {
    const int initial = index / (21 * 28), vowel = index / 28 % 21, final = index % 28;
    // Finals 1..16 are codes 2..17, finals 17..27 codes 19..29; no final is the fill code 1.
    const int finalCode = final == 0 ? 1 : final <= 16 ? final + 1 : final + 2;
    return static_cast<uint16_t>(0x8000 | (initial + 2) << 10 | kVowelCodes[vowel] << 5 |
                                 finalCode);
}

std::string fitHangulFont(const std::map<char32_t, HexGlyph>& glyphs) {
    std::vector<Sample> samples;
    std::vector<std::vector<int>> users(HangulFont::kSets * HangulFont::kAtlasColumns);
    for (int i = 0; i < kSyllables; ++i) {
        auto found = glyphs.find(0xAC00 + i);
        if (found == glyphs.end() || found->second.width != 16) return {};
        const uint16_t johab = johabOfSyllable(i);
        uint8_t lead = johab >> 8, trail = johab & 0xFF;
        JohabToKs(lead, trail);
        if (!HangulFont::Composes(lead, trail)) continue;  // never composed: not fitted
        JamoSlots js = HangulFont::SlotsOf(johab);
        Sample& s = samples.emplace_back();
        s.target = found->second.rows;
        auto slot = [](int set, int column) {
            return column < 0 ? -1 : set * HangulFont::kAtlasColumns + column;
        };
        s.slot[0] = slot(js.initialSet, js.initialColumn);
        s.slot[1] = slot(js.vowelSet, js.vowelColumn);
        s.slot[2] = slot(js.finalSet, js.finalColumn);
        for (int k = 0; k < 3; ++k) {
            if (s.slot[k] >= 0) users[s.slot[k]].push_back(static_cast<int>(samples.size()) - 1);
        }
    }
    Atlas atlas{};
    startFromCommonPixels(atlas, samples, users);
    for (int pass = 0; pass < 20 && improveOnce(atlas, samples, users) > 0; ++pass) {
    }

    std::string file;
    for (int set = 0; set < HangulFont::kSets; ++set) {
        for (int column : HangulFont::SetColumns(set))
            appendGlyph(file, atlas[set][column]);
    }
    return file;
}
