#include "auto/DoubleByteText.h"

#include <cstdint>

#include "term/HangulCodes.h"

namespace {

bool pairsAt(std::string_view text, size_t i) {
    return i + 1 < text.size() &&
           IsCp949Pair(static_cast<uint8_t>(text[i]), static_cast<uint8_t>(text[i + 1]));
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
