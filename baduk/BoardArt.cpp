#include "baduk/BoardArt.h"

#include <algorithm>
#include <cmath>

namespace BoardArt {

namespace {

// Inside the stone's disc: a circle filling the cell but its outermost pixel.
bool inDisc(int x, int y, int b) {
    double centre = (b - 1) / 2.0, radius = b / 2.0 - 0.75;
    double dx = x - centre, dy = y - centre;
    return dx * dx + dy * dy <= radius * radius;
}

// Light from the upper left: brighter towards it, darker away from it.
int shade(int x, int y, int b, int base, int range) {
    double centre = (b - 1) / 2.0;
    double toward = ((centre - x) + (centre - y)) / b;  // -1 .. 1
    return std::clamp(base + static_cast<int>(toward * range), 0, 255);
}

uint32_t grey(int level) {
    return rgbColor(level, level, level);
}

}  // namespace

// Light wood with fine grain, repeating every 64 pixels.
Surface Texture() {
    Surface texture(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            int grain = static_cast<int>(6 * std::sin((x + 3 * std::sin(y / 9.0)) * 0.7)) +
                        ((x * 37 + y * 11) % 7) - 3;
            texture.at(x, y) = rgbColor(220 + grain, 178 + grain, 96 + grain / 2);
        }
    }
    return texture;
}

Surface StoneStrip(int b) {
    Surface strip(4 * b, b, kMaskClear);
    int mark = std::max(3, b / 5), markFrom = (b - mark) / 2;
    for (int stone = 0; stone < 4; ++stone) {
        bool black = stone >= kStoneBlack, marked = stone % 2 == 1;
        for (int y = 0; y < b; ++y) {
            for (int x = 0; x < b; ++x) {
                if (!inDisc(x, y, b)) continue;
                uint32_t colour =
                    black ? grey(shade(x, y, b, 40, 60)) : grey(shade(x, y, b, 225, 40));
                bool inMark = marked && x >= markFrom && x < markFrom + mark && y >= markFrom &&
                              y < markFrom + mark;
                strip.at(stone * b + x, y) = inMark ? rgbColor(220, 30, 30) : colour;
            }
        }
    }
    return strip;
}

Surface StoneMask(int b) {
    Surface mask(4 * b, b, kMaskClear);
    for (int stone = 0; stone < 4; ++stone)
        for (int y = 0; y < b; ++y)
            for (int x = 0; x < b; ++x)
                if (inDisc(x, y, b)) mask.at(stone * b + x, y) = kMaskOpaque;
    return mask;
}

}  // namespace BoardArt
