#pragma once
// The bitmaps the board view paints with: the background to tile, and the stone strip of the
// cell size with its mask.
#include <string>

#include "image/Surface.h"

struct BoardBitmaps {
    Surface background;
    Surface stones;  // four b x b stones side by side (see BoardArt)
    Surface mask;
};

// The data folder's "Baduk", the artwork generated at build time.
std::string BoardArtFolder();
// The background is "baduk.bmp" from the user's data folder ($XDG_DATA_HOME/quilite), then from
// the program's data folder, else the artwork's texture; each picture missing from the files
// is drawn by program.
BoardBitmaps LoadBoardBitmaps(int b);
