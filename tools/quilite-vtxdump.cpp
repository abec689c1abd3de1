// quilite-vtxdump: feeds a NAPLPS page (a file or standard input) through the videotex
// decoder, types keys into it, prints the outcome as JSON and can write the page as a PNG.
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "term/OutlineGlyphs.h"
#include "term/RasterGlyphs.h"
#include "term/TermFonts.h"
#include "tools/ToolInput.h"
#include "tools/VtxDump.h"
#include "vtx/VtxImage.h"

namespace {

const char kUsage[] =
    "usage: quilite-vtxdump [--height N] [--chunk N] [--keys TEXT] [--face NAME] [--png FILE]\n"
    "                       [FILE|-]\n"
    "  Feeds the bytes of FILE (or standard input) through the videotex decoder and prints the\n"
    "  Run results, whether the session ended, the bytes sent (hex), the mirror's size, the\n"
    "  colour map, the field and the key buffer as JSON.\n"
    "  --height N   client height in pixels, 16..2000 (default 400; the page is 1.3 x as wide)\n"
    "  --chunk N    bytes made available per piece, 1.. (default: all at once)\n"
    "  --keys TEXT  typed after the page (UTF-8), with <Enter>, <BS>, <F1>..<F10>, <Left>,\n"
    "               <Up>, <Right>, <Down>\n"
    "  --face NAME  text face (default 굴림체; Fixedsys: the raster face)\n"
    "  --png FILE   also write the page through its colour map as a PNG\n";

int usage(const std::string& message) {
    std::fprintf(stderr, "quilite-vtxdump: %s\n%s", message.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    long height = 400, chunk = 0;
    std::string keys, face = TermFonts::kGulimFaceName, png;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--height" || arg == "--chunk" || arg == "--keys" || arg == "--face" ||
                   arg == "--png") {
            if (i + 1 >= argc) return usage(arg + " needs a value");
            const char* value = argv[++i];
            if (arg == "--height" && !ParseToolNumber(value, 16, 2000, height))
                return usage("height must be 16..2000");
            if (arg == "--chunk" && !ParseToolNumber(value, 1, 1L << 30, chunk))
                return usage("chunk must be a positive number");
            if (arg == "--keys") keys = value;
            if (arg == "--face") face = value;
            if (arg == "--png") png = value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else if (path) {
            return usage("only one input file");
        } else {
            path = argv[i];
        }
    }

    const std::optional<std::string> input = ReadToolInput(path);
    if (!input) {
        std::fprintf(stderr, "quilite-vtxdump: cannot read %s: %s\n", path, std::strerror(errno));
        return 1;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::unique_ptr<GlyphSource> glyphs;
    if (face == TermFonts::kRasterFaceName)
        glyphs = std::make_unique<RasterGlyphs>();
    else
        glyphs = std::make_unique<OutlineGlyphs>(QString::fromStdString(face));

    VtxDump dump(int(height), *glyphs);
    dump.Feed(*input, chunk > 0 ? size_t(chunk) : input->size());
    if (!keys.empty() && !dump.Type(keys)) return usage("--keys is not text with a CP949 form");
    std::cout << dump.Json() << "\n";
    if (!png.empty() &&
        !VtxImage(dump.Session().GetVtxBitmap()).save(QString::fromStdString(png), "PNG")) {
        std::fprintf(stderr, "quilite-vtxdump: cannot write %s\n", png.c_str());
        return 1;
    }
    return 0;
}
