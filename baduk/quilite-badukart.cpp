// quilite-badukart: writes the Go board's artwork (the texture and the stone strips with their
// masks for cells of 19, 25 and 33 pixels) as bitmap files into a folder. The build runs it.
#include <cstdio>
#include <string>

#include "baduk/BoardArt.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"

namespace {

bool save(const Surface& picture, const std::string& path) {
    HDIB dib = BitmapToDIB(picture, GetPalette(picture));
    bool ok = SaveDIB(dib, path) == kSaveOk;
    DestroyDIB(dib);
    if (!ok) std::fprintf(stderr, "quilite-badukart: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: quilite-badukart FOLDER\n", stderr);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = save(BoardArt::Texture(), folder + "/" + BoardArt::kTextureName + ".bmp");
    for (int b : {19, 25, 33}) {
        ok = save(BoardArt::StoneStrip(b), folder + "/" + BoardArt::StripName(b) + ".bmp") && ok;
        ok = save(BoardArt::StoneMask(b), folder + "/" + BoardArt::MaskName(b) + ".bmp") && ok;
    }
    return ok ? 0 : 1;
}
