#pragma once
// Which half of a double-byte character a cell holds. Nothing in a cell says so: the bytes of
// the row are counted from column 0.
#include <cstdint>

// True when cell x (1..79) of the 80-byte row is the second byte of a pair: the parity of the
// run of high bytes just before it is odd.
inline bool IsTrailHalf(const uint8_t* row, int x) {
    if (x < 1 || x >= 80) return false;
    bool trail = false;
    for (int i = 0; i < x; ++i)
        trail = row[i] >= 0x80 ? !trail : false;
    return trail;
}
