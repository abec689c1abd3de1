// quilite-fontgen: writes the fonts the program ships, from GNU Unifont's glyphs: the raster
// window face (8x16 cells) and the default Hangul bitmap font, fitted to Unifont's syllables.
// Run by the build.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "term/RasterFace.h"
#include "tools/JamoFit.h"
#include "tools/UnifontHex.h"

namespace {

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: quilite-fontgen UNIFONT.HEX RASTER-FACE-OUT HFT-OUT\n", stderr);
        return 2;
    }
    auto glyphs = readUnifontHex(argv[1]);
    if (glyphs.empty()) {
        std::fprintf(stderr, "quilite-fontgen: no glyphs in %s\n", argv[1]);
        return 1;
    }
    std::vector<RasterGlyph> raster;
    raster.reserve(glyphs.size());
    for (const auto& [code, g] : glyphs)
        raster.push_back({code, g.width, g.rows});
    std::string hft = fitHangulFont(glyphs);
    if (hft.empty()) {
        std::fprintf(stderr, "quilite-fontgen: %s lacks Hangul syllables\n", argv[1]);
        return 1;
    }
    if (!writeFile(argv[2], RasterFace::Serialise(raster)) || !writeFile(argv[3], hft)) {
        std::fputs("quilite-fontgen: cannot write the fonts\n", stderr);
        return 1;
    }
    return 0;
}
