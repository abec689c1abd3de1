#include "term/RowLayout.h"

#include "platform/TextCodec.h"

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
        case 0x01:
            return U'\u250C';  // ┌
        case 0x02:
            return U'\u2510';  // ┐
        case 0x03:
            return U'\u2514';  // └
        case 0x04:
            return U'\u2518';  // ┘
        case 0x05:
            return U'\u2502';  // │
        case 0x06:
            return U'\u2500';  // ─
        case 0x07:
            return U'\u00B7';  // ·
        case 0x10:
            return U'\u253C';  // ┼
        case 0x15:
            return U'\u2534';  // ┴
        case 0x16:
            return U'\u252C';  // ┬
        case 0x17:
            return U'\u2524';  // ┤
        case 0x19:
            return U'\u251C';  // ├
        default:
            return 0;
    }
}

char32_t CellCharacter(uint16_t code) {
    if (code < 0x20) return DecGraphicsCharacter(static_cast<uint8_t>(code));
    if (code < 0x80) return code;
    if (code < 0x100) return 0;
    // UTF-32 rather than UTF-8: CP949 pairs become one, two or three UTF-8 bytes.
    const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const auto utf32 = convertText("CP949", "UTF-32LE", std::string_view(pair, 2));
    if (!utf32 || utf32->size() != 4) return 0;
    const auto* u = reinterpret_cast<const uint8_t*>(utf32->data());
    return char32_t(u[0]) | char32_t(u[1]) << 8 | char32_t(u[2]) << 16 | char32_t(u[3]) << 24;
}
