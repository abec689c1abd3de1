#pragma once
// The characters Johab and KS C 5601 share by table rather than by row arithmetic: the Hangul
// compatibility jamo and the 2350 KS syllables, each with its code in both sets.
#include <array>
#include <cstdint>

struct JohabKsPair {
    uint16_t johab;
    uint16_t ks;
};

// Entries 0-18 are the initial consonants, 19-39 the vowels, 40-50 the compound finals (in
// that order, not in KS order); from entry 51 on come the KS syllables 0xB0A1 ... 0xC8FE in
// code order, whose Johab codes ascend too.
constexpr int kJohabKsJamoCount = 51;
constexpr int kJohabKsSyllableCount = 2350;
constexpr int kJohabKsTableSize = kJohabKsJamoCount + kJohabKsSyllableCount;

extern const std::array<JohabKsPair, kJohabKsTableSize> JohabKsTable;
