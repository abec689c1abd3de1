#include "baduk/BoardBitmaps.h"

#include <filesystem>

#include "baduk/BoardArt.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "platform/UserDirs.h"

namespace {

Surface loadPicture(const std::string& path) {
    HDIB dib = LoadDIB(path);
    Surface picture = dib ? DIBToBitmap(dib, CreateDIBPalette(dib)) : Surface();
    DestroyDIB(dib);
    return picture;
}

Surface loadBackground() {
    for (const std::string& folder : {dataHome() + "/quilite", std::string(QUILITE_DATA_DIR)}) {
        Surface picture = loadPicture(folder + "/baduk.bmp");
        if (!picture.empty()) return picture;
    }
    Surface texture = loadPicture(BoardArtFolder() + "/" + BoardArt::kTextureName + ".bmp");
    return texture.empty() ? BoardArt::Texture() : texture;
}

}  // namespace

std::string BoardArtFolder() {
    std::error_code ec;
    std::string texture = std::string(BoardArt::kTextureName) + ".bmp";
    if (std::filesystem::exists(std::filesystem::path(QUILITE_INSTALL_ART_DIR) / texture, ec))
        return QUILITE_INSTALL_ART_DIR;
    return QUILITE_BUILD_ART_DIR;
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
