#pragma once
// CP949's double-byte layout, which the terminal and the automation both read: which byte pairs
// form one character, and where the syllables CP949 adds to KS C 5601 sit.
#include <cstdint>

// True when lead and trail together form a CP949 double-byte code: an extended-syllable cell,
// or any cell with both bytes in 0xA1-0xFE, assigned or not (services put their own symbols in
// unassigned rows).
bool IsCp949Pair(uint8_t lead, uint8_t trail);

// The extended syllables in Unicode order: the index (0 ... 8821) of a pair, or -1 when the
// pair is not one; and the code (lead << 8 | trail) of an index.
constexpr int kCp949ExtendedCount = 8822;
int Cp949ExtendedIndex(uint8_t lead, uint8_t trail);
uint16_t Cp949ExtendedCode(int index);
