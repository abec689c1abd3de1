#pragma once
// The board's artwork, drawn by program: a wood texture to tile behind the board and, per cell
// size, a strip of four b x b stones (white, white marked, black, black marked) with its mask.
// The build writes them as the bitmap files the painter loads.
#include <string>

#include "image/Surface.h"

namespace BoardArt {

constexpr int kStoneWhite = 0, kStoneWhiteMarked = 1, kStoneBlack = 2, kStoneBlackMarked = 3;
constexpr uint32_t kMaskOpaque = 0xFF000000u, kMaskClear = 0xFFFFFFFFu;

Surface Texture();
Surface StoneStrip(int b);
// Black where the strip's stone shows, white where the board shows through.
Surface StoneMask(int b);

// File names in the art folder: "BOARD.bmp", "S19.bmp", "S19M.bmp", ...
inline std::string StripName(int b) {
    return "S" + std::to_string(b);
}
inline std::string MaskName(int b) {
    return StripName(b) + "M";
}
inline constexpr char kTextureName[] = "BOARD";

}  // namespace BoardArt
