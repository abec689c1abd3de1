#include "platform/Cp949Layout.h"

namespace {

// CP949 adds the 8822 syllables KS C 5601 lacks, in Unicode order: rows 0x81-0xA0 of 178 cells,
// then rows 0xA1-0xC6 of 84 cells, ending at 0xC6 0x52. Every row uses the trails 0x41-0x5A,
// 0x61-0x7A, 0x81-0xFE in that order; the short rows stop at 0xA0, where the KS cells begin.
constexpr int kLongRowCells = 178, kShortRowCells = 84;
constexpr int kLongRowsCells = 32 * kLongRowCells;

// Cell of a trail byte within an extended row, or -1.
int trailCell(uint8_t trail) {
    if (trail >= 0x41 && trail <= 0x5A) return trail - 0x41;
    if (trail >= 0x61 && trail <= 0x7A) return trail - 0x61 + 26;
    if (trail >= 0x81 && trail <= 0xFE) return trail - 0x81 + 52;
    return -1;
}

uint8_t trailOfCell(int cell) {
    if (cell < 26) return static_cast<uint8_t>(0x41 + cell);
    if (cell < 52) return static_cast<uint8_t>(0x61 + cell - 26);
    return static_cast<uint8_t>(0x81 + cell - 52);
}

bool isKsByte(uint8_t b) {
    return b >= 0xA1 && b <= 0xFE;
}

}  // namespace

int Cp949ExtendedIndex(uint8_t lead, uint8_t trail) {
    int cell = trailCell(trail);
    if (cell < 0 || lead < 0x81) return -1;
    if (lead <= 0xA0) return (lead - 0x81) * kLongRowCells + cell;
    if (cell >= kShortRowCells) return -1;
    int index = kLongRowsCells + (lead - 0xA1) * kShortRowCells + cell;
    return index < kCp949ExtendedCount ? index : -1;
}

uint16_t Cp949ExtendedCode(int index) {
    if (index < kLongRowsCells) {
        return static_cast<uint16_t>((0x81 + index / kLongRowCells) << 8 |
                                     trailOfCell(index % kLongRowCells));
    }
    index -= kLongRowsCells;
    return static_cast<uint16_t>((0xA1 + index / kShortRowCells) << 8 |
                                 trailOfCell(index % kShortRowCells));
}

bool IsCp949Pair(uint8_t lead, uint8_t trail) {
    return Cp949ExtendedIndex(lead, trail) >= 0 || (isKsByte(lead) && isKsByte(trail));
}
