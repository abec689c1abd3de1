#include "image/Palettes.h"

#include <climits>

Palette monochromePalette() {
    return Palette{{rgbColor(0, 0, 0), rgbColor(255, 255, 255)}};
}

Palette vgaPalette() {
    static const int rgb[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                   {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                   {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    Palette palette;
    for (const auto& c : rgb)
        palette.colors.push_back(rgbColor(c[0], c[1], c[2]));
    return palette;
}

Palette halftonePalette() {
    Palette palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.colors.push_back(rgbColor(r * 51, g * 51, b * 51));
    // Greys between the cube's levels: five steps inside each of the eight gaps.
    for (int gap = 0; gap < 5; ++gap)
        for (int step = 1; step <= 8; ++step) {
            const int v = gap * 51 + step * 51 / 9;
            palette.colors.push_back(rgbColor(v, v, v));
        }
    return palette;
}

Palette standardPalette(int bits) {
    if (bits == 1) return monochromePalette();
    if (bits == 4) return vgaPalette();
    return halftonePalette();
}

int NearestColor::index(uint32_t color) {
    if (lastIndex_ >= 0 && color == lastColor_) return lastIndex_;
    const int r = color >> 16 & 0xFF, g = color >> 8 & 0xFF, b = color & 0xFF;
    int best = 0, bestDistance = INT_MAX;
    for (size_t i = 0; i < palette_.colors.size(); ++i) {
        const uint32_t c = palette_.colors[i];
        const int dr = r - static_cast<int>(c >> 16 & 0xFF);
        const int dg = g - static_cast<int>(c >> 8 & 0xFF);
        const int db = b - static_cast<int>(c & 0xFF);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
            if (distance == 0) break;
        }
    }
    lastColor_ = color;
    lastIndex_ = best;
    return best;
}
