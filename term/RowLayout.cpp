#include "term/RowLayout.h"

int LayoutRow(const uint8_t* chars, RowItem* items) {
    int n = 0;
    for (int x = 0; x < 80;) {
        const uint8_t b = chars[x];
        if (b >= 0x80) {
            if (x == 79) break;
            if (chars[x + 1] != ' ') {
                items[n++] = {x, 2, b, chars[x + 1]};
                x += 2;
                continue;
            }
        }
        items[n++] = {x, 1, b, 0};
        ++x;
    }
    return n;
}

char32_t DecGraphicsCharacter(uint8_t code) {
    switch (code) {
    case 0x01: return U'\u250C';  // ┌
    case 0x02: return U'\u2510';  // ┐
    case 0x03: return U'\u2514';  // └
    case 0x04: return U'\u2518';  // ┘
    case 0x05: return U'\u2502';  // │
    case 0x06: return U'\u2500';  // ─
    case 0x07: return U'\u00B7';  // ·
    case 0x10: return U'\u253C';  // ┼
    case 0x15: return U'\u2534';  // ┴
    case 0x16: return U'\u252C';  // ┬
    case 0x17: return U'\u2524';  // ┤
    case 0x19: return U'\u251C';  // ├
    default: return 0;
    }
}
