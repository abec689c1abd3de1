// quilite-baduk: feeds a captured Go service stream through the terminal with Baduk mode on and
// prints the board it builds as JSON; writes the board picture and the game record.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include <QGuiApplication>

#include "baduk/BadukDoc.h"
#include "baduk/BoardPainter.h"
#include "baduk/MgtRecord.h"
#include "image/DibFile.h"
#include "image/PngWrite.h"
#include "platform/TextCodec.h"
#include "term/OutlineGlyphs.h"
#include "tools/BadukDump.h"
#include "tools/ToolInput.h"

namespace {

const char kUsage[] =
    "usage: quilite-baduk [--service NAME] [--cell 19|25|33] [--numbering 0|1] [--png FILE]\n"
    "                     [--bmp FILE] [--mgt FILE] [--click X,Y]... [FILE|-]\n"
    "  Feeds the bytes of FILE (or standard input) through the terminal with Baduk mode on and\n"
    "  prints the board, the move list, the move numbers, the last move, the side and bottom\n"
    "  text and what each click would send as JSON.\n"
    "  --service NAME  the service's name, which chooses its commands (default none)\n"
    "  --cell N        cell size of the board view in pixels (default 25)\n"
    "  --numbering N   move numbers on the stones, 1 or 0 (default 1)\n"
    "  --png FILE      the board view as a PNG\n"
    "  --bmp FILE      the board picture as the window saves it (a BMP)\n"
    "  --mgt FILE      the game record\n"
    "  --click X,Y     a left click at a pixel of the board view\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "quilite-baduk: %s\n%s", message.c_str(), kUsage);
    return 2;
}

struct Options {
    std::string service;
    int cell = 25;
    int numbering = 1;
    std::string png, bmp, mgt;
    std::vector<std::pair<int, int>> clicks;
    const char* path = nullptr;
};

bool parseClick(const std::string& text, std::pair<int, int>& click) {
    size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    std::string x = text.substr(0, comma), y = text.substr(comma + 1);
    return ParseToolNumber(x.c_str(), -100000, 100000, click.first) &&
           ParseToolNumber(y.c_str(), -100000, 100000, click.second);
}

// An empty string, or what is wrong.
std::string parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool takesValue = arg == "--service" || arg == "--cell" || arg == "--numbering" ||
                          arg == "--png" || arg == "--bmp" || arg == "--mgt" || arg == "--click";
        if (takesValue && i + 1 >= argc) return arg + " needs a value";
        const char* value = takesValue ? argv[++i] : nullptr;
        if (arg == "--service") {
            options.service = utf8ToCp949Lossy(value);
        } else if (arg == "--cell") {
            if (!ParseToolNumber(value, 19, 33, options.cell) ||
                (options.cell != 19 && options.cell != 25 && options.cell != 33))
                return "cell must be 19, 25 or 33";
        } else if (arg == "--numbering") {
            if (!ParseToolNumber(value, 0, 1, options.numbering)) return "numbering must be 0 or 1";
        } else if (arg == "--png" || arg == "--bmp" || arg == "--mgt") {
            (arg == "--png" ? options.png : arg == "--bmp" ? options.bmp : options.mgt) = value;
        } else if (arg == "--click") {
            std::pair<int, int> click;
            if (!parseClick(value, click)) return "a click is X,Y";
            options.clicks.push_back(click);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else if (options.path) {
            return "only one input file";
        } else {
            options.path = argv[i];
        }
    }
    return {};
}

// The pictures, painted headless with the "Arial" stand-in.
bool writePictures(const CBadukDoc& doc, const Options& options, int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    OutlineGlyphs arial("Arial");
    BoardPainter painter(options.cell, LoadBoardBitmaps(options.cell), arial);
    bool ok = true;
    if (!options.png.empty()) {
        ok = SavePng(painter.Render(doc, options.numbering == 1, {-1, -1}), options.png);
        if (!ok) std::fprintf(stderr, "quilite-baduk: cannot write %s\n", options.png.c_str());
    }
    if (!options.bmp.empty()) {
        HDIB dib = painter.PictureDIB(doc, options.numbering == 1);
        bool saved = SaveDIB(dib, options.bmp) == kSaveOk;
        DestroyDIB(dib);
        if (!saved) std::fprintf(stderr, "quilite-baduk: cannot write %s\n", options.bmp.c_str());
        ok = ok && saved;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    Options options;
    std::string problem = parse(argc, argv, options);
    if (!problem.empty()) return fail(problem);
    const std::optional<std::string> input = ReadToolInput(options.path);
    if (!input)
        return fail(std::string("cannot read ") + options.path + ": " + std::strerror(errno));

    BadukDump dump(options.service);
    dump.Feed(*input);
    std::cout << dump.Json(options.cell, options.clicks);
    const CBadukDoc* doc = dump.Doc();
    bool wantsFiles = !options.png.empty() || !options.bmp.empty() || !options.mgt.empty();
    if (wantsFiles && !doc) {
        std::fputs("quilite-baduk: the stream draws no Go board\n", stderr);
        return 1;
    }
    bool ok = true;
    if (!options.mgt.empty()) {
        std::string error = SaveMgt(options.mgt, doc->Moves());
        if (!error.empty()) std::fprintf(stderr, "quilite-baduk: %s\n", error.c_str());
        ok = error.empty();
    }
    if (!options.png.empty() || !options.bmp.empty())
        ok = writePictures(*doc, options, argc, argv) && ok;
    return ok ? 0 : 1;
}
