// The cost of Baduk mode on the receive path: 16 MiB of Go screens (CP949; full redraws of the
// board with its side text and single-stone updates, a fresh board after every 200 moves) sent
// by a host on a loopback port through the telnet link and the session's pump into a screen
// that hands boards over as the terminal window does, with Baduk mode on (the board document
// sees every character) and off. Each is timed as a program from its start to its end, three
// interleaved runs each; the medians are compared.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "bench/PumpSession.h"
#include "platform/ProcessLauncher.h"
#include "tools/BadukDump.h"
#include "tools/demohost/GoScreen.h"

namespace {

constexpr size_t kStreamSize = 16u << 20;
constexpr int kRuns = 3;
constexpr int kMovesPerGame = 200;
constexpr int kMovesPerRedraw = 10;

struct BadukOn : BadukTerminal {
    BadukOn() : BadukTerminal(nullptr, true) {}
};
struct BadukOff : BadukTerminal {
    BadukOff() : BadukTerminal(nullptr, false) {}
};

// "흑: ..." and "백: ..." lines and a status line, as a service draws beside the board.
std::vector<std::string> sideText(int move) {
    return {"\xB4\xEB\xB1\xB9\xBD\xC7 1", "", "\xC8\xE6: player " + std::to_string(move),
            "\xB9\xE9: opponent", "\xBC\xF6: " + std::to_string(move)};
}

std::string makeGoStream(size_t size) {
    std::mt19937 rng(26);
    std::string stream;
    while (stream.size() < size) {
        GoScreen::Game game;
        stream += "\x1b[2J" + GoScreen::Board(game.Stones(), game.Last(), sideText(0), {});
        for (int move = 1; move <= kMovesPerGame && stream.size() < size; ++move) {
            GoScreen::Point point;
            do {
                point = {static_cast<int>(rng() % 19), static_cast<int>(rng() % 19)};
            } while (game.Stones()[point.column][point.row] != GoScreen::kEmpty);
            stream += game.Play(point, move % 2 ? GoScreen::kBlack : GoScreen::kWhite);
            if (move % kMovesPerRedraw == 0)
                stream += GoScreen::Board(game.Stones(), game.Last(), sideText(move), {});
        }
    }
    return stream;
}

template <typename View>
int runSession(int port, const std::string& profile) {
    Registry::Opened store = Registry::open(profile);
    if (!store.registry) return 1;
    HeadlessSessionWith<View> session(*store.registry);
    return pumpUntilHostCloses(session.loop, session.doc, port) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--client") {
        return std::string(argv[2]) == "on" ? runSession<BadukOn>(std::atoi(argv[3]), argv[4])
                                            : runSession<BadukOff>(std::atoi(argv[3]), argv[4]);
    }
    char pattern[] = "/tmp/quilite-baduk-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string stream = makeGoStream(kStreamSize);

    std::vector<double> on, off;
    for (int run = 0; run < kRuns; ++run) {
        off.push_back(
            timeSessionClient({ProcessLauncher::ownProgram(), "--client", "off"}, stream, folder));
        on.push_back(
            timeSessionClient({ProcessLauncher::ownProgram(), "--client", "on"}, stream, folder));
    }
    std::filesystem::remove_all(folder);
    const double a = median(off), b = median(on);
    std::printf("Go screens, Baduk mode off: %.3f s (median of %d), %.1f MB/s\n", a, kRuns,
                stream.size() / a / 1e6);
    std::printf("Go screens, Baduk mode on:  %.3f s (median of %d), %.1f MB/s\n", b, kRuns,
                stream.size() / b / 1e6);
    std::printf("ratio on / off:             %.2f (target at most 1.15)\n", b / a);
    return b / a <= 1.15 ? 0 : 1;
}
