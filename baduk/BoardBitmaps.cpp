#include "baduk/BoardBitmaps.h"

#include "baduk/BoardArt.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "platform/DataFolder.h"
#include "platform/UserDirs.h"

namespace {

Surface loadPicture(const std::string& path) {
    HDIB dib = LoadDIB(path);
    Surface picture = dib ? DIBToBitmap(dib, CreateDIBPalette(dib)) : Surface();
    DestroyDIB(dib);
    return picture;
}

Surface loadBackground() {
    for (const std::string& folder : {dataHome() + "/quilite", dataFolder()}) {
        Surface picture = loadPicture(folder + "/baduk.bmp");
        if (!picture.empty()) return picture;
    }
    Surface texture = loadPicture(BoardArtFolder() + "/" + BoardArt::kTextureName + ".bmp");
    return texture.empty() ? BoardArt::Texture() : texture;
}

}  // namespace

std::string BoardArtFolder() {
    return dataFolder() + "/Baduk";
}

BoardBitmaps LoadBoardBitmaps(int b) {
    BoardBitmaps bitmaps;
    bitmaps.background = loadBackground();
    std::string folder = BoardArtFolder();
    bitmaps.stones = loadPicture(folder + "/" + BoardArt::StripName(b) + ".bmp");
    bitmaps.mask = loadPicture(folder + "/" + BoardArt::MaskName(b) + ".bmp");
    if (bitmaps.stones.width != 4 * b || bitmaps.stones.height != b)
        bitmaps.stones = BoardArt::StoneStrip(b);
    if (bitmaps.mask.width != 4 * b || bitmaps.mask.height != b)
        bitmaps.mask = BoardArt::StoneMask(b);
    return bitmaps;
}
