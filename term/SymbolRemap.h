#pragma once
// Some services draw IBM-PC style graphics with private symbol rows; before a pair is stored it
// is rewritten into a standard KS C 5601 symbol or into two line-plane codes.
#include <cstdint>

// Line-plane codes for the two cells of a rewritten pair; ' ' where a cell gets none.
struct LinePair {
    char left = ' ';
    char right = ' ';
};

// Returns true when the pair becomes line-plane codes (in codes; the cells then store spaces).
// Otherwise lead and trail hold the character to store, rewritten or as they were, and codes is
// left alone.
bool RemapSymbol(uint8_t& lead, uint8_t& trail, LinePair& codes);
