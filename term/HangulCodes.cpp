#include "term/HangulCodes.h"

#include <algorithm>
#include <array>
#include <span>

#include "platform/Cp949Layout.h"
#include "term/JohabKsTable.h"

namespace {

constexpr uint16_t kFirstKsSyllable = 0xB0A1;     // 가, what an unknown Johab code shows as
constexpr uint16_t kFirstJohabSyllable = 0x8861;  // 가, what an unknown KS code is sent as

// A Johab syllable is bit 15 plus three five-bit parts: initial, vowel, final. The part codes
// skip values, so each list gives the codes in Unicode order (final code 1 means no final).
constexpr int kInitials = 19, kVowels = 21, kFinals = 28;
constexpr int kFirstInitialCode = 2;
constexpr std::array<uint8_t, kVowels> kVowelCodes = {3,  4,  5,  6,  7,  10, 11, 12, 13, 14, 15,
                                                      18, 19, 20, 21, 22, 23, 26, 27, 28, 29};
constexpr std::array<uint8_t, kFinals> kFinalCodes = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                      11, 12, 13, 14, 15, 16, 17, 19, 20, 21,
                                                      22, 23, 24, 25, 26, 27, 28, 29};

// Part code -> place in its list, -1 for a code the list lacks.
template <size_t N>
constexpr std::array<int8_t, 32> placesOf(const std::array<uint8_t, N>& codes) {
    std::array<int8_t, 32> places{};
    places.fill(-1);
    for (size_t i = 0; i < N; ++i)
        places[codes[i]] = static_cast<int8_t>(i);
    return places;
}
constexpr auto kVowelPlace = placesOf(kVowelCodes);
constexpr auto kFinalPlace = placesOf(kFinalCodes);

// Place of a Johab syllable in Unicode order (0 for 가 ... 11171 for 힣), or -1 when the code
// is not a complete syllable (a lone jamo, a fill part, an unused part code).
int syllableOrder(uint16_t johab) {
    int initial = (johab >> 10 & 31) - kFirstInitialCode;
    int vowel = kVowelPlace[johab >> 5 & 31];
    int final = kFinalPlace[johab & 31];
    if (!(johab & 0x8000) || initial < 0 || initial >= kInitials || vowel < 0 || final < 0) {
        return -1;
    }
    return (initial * kVowels + vowel) * kFinals + final;
}

uint16_t johabOfSyllable(int order) {
    int initial = order / (kVowels * kFinals) + kFirstInitialCode;
    int vowel = kVowelCodes[order / kFinals % kVowels];
    int final = kFinalCodes[order % kFinals];
    return static_cast<uint16_t>(0x8000 | initial << 10 | vowel << 5 | final);
}

std::span<const JohabKsPair> jamoEntries() {
    return std::span(JohabKsTable).first(kJohabKsJamoCount);
}

// The KS syllables, ascending in both columns.
std::span<const JohabKsPair> ksSyllables() {
    return std::span(JohabKsTable).subspan(kJohabKsJamoCount);
}

// The syllables KS C 5601 lacks are CP949's extended ones.
static_assert(kInitials * kVowels * kFinals - kJohabKsSyllableCount == kCp949ExtendedCount);

// CP949 code of a syllable: its KS code, or else its extended code, whose index is its Unicode
// place less the KS syllables before it.
uint16_t cp949OfSyllable(uint16_t johab, int order) {
    auto ks = ksSyllables();
    auto found = std::ranges::lower_bound(ks, johab, {}, &JohabKsPair::johab);
    if (found != ks.end() && found->johab == johab) return found->ks;
    return Cp949ExtendedCode(order - static_cast<int>(found - ks.begin()));
}

// Unicode place of an extended syllable: its index plus the KS syllables before it. KS syllable
// j has (its place - j) extended syllables before it, a count that never decreases with j.
int syllableOfExtended(int index) {
    auto ks = ksSyllables();
    auto firstAfter = std::ranges::partition_point(ks, [&](const JohabKsPair& entry) {
        auto j = &entry - ks.data();
        return syllableOrder(entry.johab) - j <= index;
    });
    return index + static_cast<int>(firstAfter - ks.begin());
}

// Johab codes the KS symbol rows 0xA1-0xAC and the hanja rows 0xCA-0xFD by arithmetic, two KS
// rows to a Johab lead: the first row of a pair moves its trails 0xA1-0xEE to 0x31-0x7E and
// 0xEF-0xFE to 0x91-0xA0, the second row keeps its trails 0xA1-0xFE.
struct RowBlock {
    uint8_t johabLead;
    uint8_t ksRow;
    int leads;
};
constexpr std::array<RowBlock, 2> kRowBlocks = {{{0xD9, 0xA1, 6}, {0xE0, 0xCA, 26}}};

bool isKsByte(uint8_t b) {
    return b >= 0xA1 && b <= 0xFE;
}

bool rowBlockToKs(uint8_t& lead, uint8_t& trail) {
    for (const RowBlock& block : kRowBlocks) {
        if (lead < block.johabLead || lead >= block.johabLead + block.leads) continue;
        int row = block.ksRow + 2 * (lead - block.johabLead);
        if (trail >= 0x31 && trail <= 0x7E) {
            trail += 0x70;
        } else if (trail >= 0x91 && trail <= 0xA0) {
            trail += 0x5E;
        } else if (isKsByte(trail)) {
            row += 1;
        } else {
            return false;
        }
        lead = static_cast<uint8_t>(row);
        return true;
    }
    return false;
}

bool rowBlockToJohab(uint8_t& lead, uint8_t& trail) {
    if (!isKsByte(trail)) return false;
    for (const RowBlock& block : kRowBlocks) {
        int offset = lead - block.ksRow;
        if (offset < 0 || offset >= 2 * block.leads) continue;
        if (offset % 2 == 0) trail -= trail <= 0xEE ? 0x70 : 0x5E;
        lead = static_cast<uint8_t>(block.johabLead + offset / 2);
        return true;
    }
    return false;
}

void split(uint16_t code, uint8_t& lead, uint8_t& trail) {
    lead = static_cast<uint8_t>(code >> 8);
    trail = static_cast<uint8_t>(code);
}

}  // namespace

void JohabToKs(uint8_t& lead, uint8_t& trail) {
    if (rowBlockToKs(lead, trail)) return;
    uint16_t johab = static_cast<uint16_t>(lead << 8 | trail);
    if (int order = syllableOrder(johab); order >= 0) {
        split(cp949OfSyllable(johab, order), lead, trail);
        return;
    }
    auto jamo = jamoEntries();
    auto found = std::ranges::find(jamo, johab, &JohabKsPair::johab);
    split(found != jamo.end() ? found->ks : kFirstKsSyllable, lead, trail);
}

void KsToJohab(uint8_t& lead, uint8_t& trail) {
    if (lead >= 0xB0 && lead <= 0xC8 && isKsByte(trail)) {
        split(ksSyllables()[(lead - 0xB0) * 94 + (trail - 0xA1)].johab, lead, trail);
        return;
    }
    if (int index = Cp949ExtendedIndex(lead, trail); index >= 0) {
        split(johabOfSyllable(syllableOfExtended(index)), lead, trail);
        return;
    }
    uint16_t ks = static_cast<uint16_t>(lead << 8 | trail);
    auto jamo = jamoEntries();
    if (auto found = std::ranges::find(jamo, ks, &JohabKsPair::ks); found != jamo.end()) {
        split(found->johab, lead, trail);
        return;
    }
    if (!rowBlockToJohab(lead, trail)) split(kFirstJohabSyllable, lead, trail);
}
