#include "vtx/VtxOperand.h"

#include <algorithm>
#include <cmath>

VtxPoint DecodePoint(std::string_view bytes) {
    if (bytes.empty()) return {};
    int64_t x = 0, y = 0;
    for (char c : bytes) {
        x = x << 3 | (c >> 3 & 7);
        y = y << 3 | (c & 7);
    }
    const int bits = 3 * int(bytes.size());
    const int64_t span = int64_t(1) << bits;
    if (x >= span / 2) x -= span;
    if (y >= span / 2) y -= span;
    const double scale = double(span / 2);
    return {x / scale, y / scale};
}

VtxRgb DecodeColour(std::string_view bytes) {
    // At most 4 bytes count: 8 bits a component.
    const size_t n = std::min<size_t>(bytes.size(), 4);
    unsigned g = 0, r = 0, b = 0;
    for (size_t i = 0; i < n; ++i) {
        const unsigned c = uint8_t(bytes[i]);
        g = g << 2 | (c >> 4 & 2) | (c >> 2 & 1);
        r = r << 2 | (c >> 3 & 2) | (c >> 1 & 1);
        b = b << 2 | (c >> 2 & 2) | (c & 1);
    }
    const int shift = 8 - 2 * int(n);
    return {uint8_t(r << shift), uint8_t(g << shift), uint8_t(b << shift)};
}

std::string EncodePoint(VtxPoint p, int bytes) {
    const int bits = 3 * bytes;
    const double half = double(int64_t(1) << (bits - 1));
    auto fixed = [&](double v) {
        const double scaled = std::clamp(std::round(v * half), -half, half - 1);
        return uint64_t(int64_t(scaled)) & ((uint64_t(1) << bits) - 1);
    };
    const uint64_t x = fixed(p.x), y = fixed(p.y);
    std::string out;
    for (int shift = bits - 3; shift >= 0; shift -= 3)
        out += char(0xC0 | (x >> shift & 7) << 3 | (y >> shift & 7));
    return out;
}
