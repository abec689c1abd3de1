// quilite-vtdump: feeds a file (or standard input) through the terminal engine and prints the
// resulting screen as JSON.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include <QGuiApplication>

#include "term/ScreenPainter.h"
#include "tools/ChatDump.h"
#include "tools/ToolInput.h"
#include "tools/VtDump.h"

namespace {

const char kUsage[] =
    "usage: quilite-vtdump [--rows N] [--johab] [--echo] [--png FILE [--font-size N]\n"
    "                      [--face NAME] [--hft FILE]]\n"
    "                      [--service NAME [--db PATH] [--own-id ID] [--colour ID=N]...] [FILE|-]\n"
    "  Feeds the bytes of FILE (or standard input) through the terminal engine and prints\n"
    "  the screen, the history, the replies sent to the host and the events as JSON.\n"
    "  --rows N        screen rows, 1..99 (default 25)\n"
    "  --johab         Johab display and sending\n"
    "  --echo          answer echo\n"
    "  --png FILE      also paint the final screen into FILE as the terminal window shows it\n"
    "  --font-size N   font height in pixels, 10..26 (default 16)\n"
    "  --face NAME     window face (default Fixedsys at size 16, else 굴림체)\n"
    "  --hft FILE      Hangul bitmap font for the raster face (default: the shipped one)\n"
    "  --service NAME  runs the chat-room assistant of that service on the lines as a\n"
    "                  connected session would and adds \"chat\" to the JSON; what it\n"
    "                  sends goes to the replies\n"
    "  --db PATH       the profile the service's values come from (default: the shipped one)\n"
    "  --own-id ID     the ID the session logged in with\n"
    "  --colour ID=N   the participant's lines in colour N (0..15, or -2 for reversed)\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "quilite-vtdump: %s\n%s", message.c_str(), kUsage);
    return 2;
}

struct PngOptions {
    std::string path;
    int fontSize = 16;
    std::string face;
    std::string hft;
};

// Paints the screen with the window's own painter, headless.
bool writePng(const TWView& view, const PngOptions& png, int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ScreenSettings settings;
    settings.fontSize = png.fontSize;
    settings.winFont = !png.face.empty()    ? png.face
                       : png.fontSize == 16 ? TermFonts::kRasterFaceName
                                            : TermFonts::kGulimFaceName;
    settings.hanFont16 = png.hft;
    TermFonts fonts;
    return RenderScreen(view, fonts, settings).save(QString::fromStdString(png.path), "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    VtDumpOptions options;
    PngOptions png;
    ChatDumpOptions chat;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--rows") {
            if (i + 1 >= argc) return fail("--rows needs a number");
            if (!ParseToolNumber(argv[++i], 1, TWView::kMaxRows, options.rows)) {
                return fail("rows must be 1..99");
            }
        } else if (arg == "--png" || arg == "--face" || arg == "--hft" || arg == "--font-size") {
            if (i + 1 >= argc) return fail(arg + " needs a value");
            const char* value = argv[++i];
            if (arg == "--png") png.path = value;
            if (arg == "--face") png.face = value;
            if (arg == "--hft") png.hft = value;
            if (arg == "--font-size" && !ParseToolNumber(value, 10, 26, png.fontSize)) {
                return fail("font size must be 10..26");
            }
        } else if (arg == "--service" || arg == "--db" || arg == "--own-id") {
            if (i + 1 >= argc) return fail(arg + " needs a value");
            const char* value = argv[++i];
            if (arg == "--service") chat.service = value;
            if (arg == "--db") chat.dbPath = value;
            if (arg == "--own-id") chat.ownId = value;
        } else if (arg == "--colour") {
            const std::string value = i + 1 < argc ? argv[++i] : "";
            const size_t equals = value.find('=');
            int colour = 0;
            if (equals == std::string::npos || equals == 0 ||
                !ParseToolNumber(value.c_str() + equals + 1, -2, 15, colour)) {
                return fail("--colour needs ID=N with N -2..15");
            }
            chat.colours[value.substr(0, equals)] = colour;
        } else if (arg == "--johab") {
            options.johab = true;
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return fail("unknown option " + arg);
        } else if (path) {
            return fail("only one input file");
        } else {
            path = argv[i];
        }
    }

    const std::optional<std::string> input = ReadToolInput(path);
    if (!input) return fail(std::string("cannot read ") + path + ": " + std::strerror(errno));

    VtDump dump(options);
    std::unique_ptr<ChatDump> chatDump;
    if (!chat.service.empty()) {
        std::string error;
        chatDump = ChatDump::Open(dump, chat, error);
        if (!chatDump) return fail(error);
    }
    dump.Feed(*input);
    std::string json = dump.Json();
    if (chatDump) json.insert(json.size() - 1, ",\"chat\":" + chatDump->Json());
    std::cout << json << "\n";
    if (!png.path.empty() && !writePng(dump.View(), png, argc, argv)) {
        std::fprintf(stderr, "quilite-vtdump: cannot write %s\n", png.path.c_str());
        return 1;
    }
    return 0;
}
