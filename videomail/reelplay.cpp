// reelplay: plays a video message, or the message appended to this program's own file.
//   reelplay FILE
//   reelplay --headless [--no-pacing] [--frames DIR] [--rgb FILE] [--raw-video FILE]
//            [--wav FILE] [--events] FILE
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ProgramHelp.h"
#include "videomail/CaptionPainter.h"
#include "videomail/PlayerOutputs.h"
#include "videomail/PlayerWindow.h"
#include "videomail/VmiPlayer.h"

namespace {

struct Arguments {
    bool headless = false;
    bool pacing = true;
    HeadlessOptions outputs;
    std::string file;
};

const char* const kUsage =
    "usage: reelplay FILE\n"
    "       reelplay --headless [--no-pacing] [--frames DIR] [--rgb FILE] [--raw-video FILE]\n"
    "                [--wav FILE] [--events] FILE\n";

// The file name as given, surrounding quotes removed.
std::string unquoted(std::string name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    return name;
}

bool parse(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--headless") {
            args.headless = true;
        } else if (arg == "--no-pacing") {
            args.pacing = false;
        } else if (arg == "--events") {
            args.outputs.events = true;
        } else if (arg == "--frames" && hasValue) {
            args.outputs.framesFolder = argv[++i];
        } else if (arg == "--rgb" && hasValue) {
            args.outputs.rgbPath = argv[++i];
        } else if (arg == "--raw-video" && hasValue) {
            args.outputs.rawVideoPath = argv[++i];
        } else if (arg == "--wav" && hasValue) {
            args.outputs.wavPath = argv[++i];
        } else if (arg.starts_with("--") || !args.file.empty()) {
            return false;
        } else {
            args.file = unquoted(arg);
        }
    }
    return !args.file.empty();
}

int playHeadless(const Arguments& args) {
    HeadlessOutput output(args.outputs);
    if (!output.ok()) {
        fprintf(stderr, "reelplay: cannot create the output files\n");
        return 1;
    }
    VmiPlayer player(Clock::steady(), output, drawCaption);
    player.setPacing(args.pacing);
    if (!player.Play(args.file)) {
        fprintf(stderr, "File Open Error\n");
        return 1;
    }
    player.Wait();
    if (!output.finish()) {
        fprintf(stderr, "reelplay: cannot write the output files\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    Arguments args;
    if (!parse(argc, argv, args)) {
        fputs(kUsage, stderr);
        return 2;
    }
    if (!args.headless) {
        QApplication app(argc, argv);
        PlayerWindow window(args.file);
        window.show();
        if (!window.Play()) return 1;
        return app.exec();
    }
    // Captions are drawn with Qt's fonts, which need an application but no display.
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return playHeadless(args);
}
