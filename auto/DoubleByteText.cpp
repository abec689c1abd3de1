#include "auto/DoubleByteText.h"

#include <cstdint>

#include "platform/Cp949Layout.h"

namespace {

bool isKsByte(uint8_t b) {
    return b >= 0xA1 && b <= 0xFE;
}

// KS C 5601 cells, by far the most pairs, are told without the full table check.
bool pairsAt(std::string_view text, size_t i) {
    if (i + 1 >= text.size()) return false;
    const auto lead = static_cast<uint8_t>(text[i]), trail = static_cast<uint8_t>(text[i + 1]);
    return (isKsByte(lead) && isKsByte(trail)) || IsCp949Pair(lead, trail);
}

}  // namespace

size_t CharLength(std::string_view text, size_t i) {
    return static_cast<uint8_t>(text[i]) >= 0x80 && pairsAt(text, i) ? 2 : 1;
}

bool HasWholePairs(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (static_cast<uint8_t>(text[i]) < 0x80) continue;
        if (!pairsAt(text, i)) return false;
        ++i;
    }
    return true;
}

std::string TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}
