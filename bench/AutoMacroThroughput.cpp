// The cost of auto macros on the receive path: the session benchmark's 16 MiB of Korean ANSI
// text sent by a loopback host through the telnet link and the session, whose view offers every
// line to the pipeline as the tty's view does (no drawing), with the service holding 0, 100 and
// 1000 rules. Rules are seeded so that none fires; every fifth starts with a piece the stream
// is full of. Five interleaved runs of each; the medians are compared with no rules. The client
// times the stream itself, from the connection to its end, so that loading the rules from the
// store (once per connection) is shown apart: it is the whole program's time less the stream's.
// It takes the stream's processor time too, which the targets are checked on: the rules cost
// about a tenth of it, while the stream's wall time moves by more than that with whatever else
// the machine runs (the client waits on the host about half of it on two busy cores).
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "bench/BenchEntry.h"
#include "bench/EntrySession.h"
#include "bench/KoreanAnsiStream.h"
#include "bench/Median.h"
#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/PollEventLoop.h"
#include "platform/ProcessLauncher.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/fixtures/TelnetHostData.h"

namespace {

constexpr size_t kStreamSize = 16u << 20;
constexpr int kRuns = 5;
const std::string kService = "bench";

// Pieces and variables in a random order: 1-3 pieces of 3-4 Hangul syllables or of upper-case
// words (the stream has none), 0-2 variables; `common` puts "a " (a letter and a space, as the
// stream has everywhere) first.
std::string seededPattern(std::mt19937& rng, bool common) {
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    std::vector<std::string> tokens;
    for (int n = 1 + pick(3); n > 0; --n) {
        std::string piece;
        if (pick(2)) {
            for (int s = 3 + pick(2); s > 0; --s) {
                piece += static_cast<char>(0xB0 + pick(25));
                piece += static_cast<char>(0xA1 + pick(94));
            }
        } else {
            for (int c = 4 + pick(4); c > 0; --c)
                piece += static_cast<char>('A' + pick(26));
        }
        tokens.push_back(piece);
    }
    for (int n = pick(3); n > 0; --n)
        tokens.insert(tokens.begin() + pick(static_cast<int>(tokens.size()) + 1),
                      "%" + std::to_string(1 + n));
    std::string pattern = common ? "a " : "";
    for (const std::string& token : tokens)
        pattern += token;
    return pattern;
}

// A profile whose service "bench" holds `count` rules, and a telnet entry of that service.
void makeProfile(const std::string& path, int count, int port) {
    std::filesystem::remove(path);
    Registry::Opened store = Registry::open(path);
    CRecordStore records(*store.registry);
    records.SelectKind(RecordKind::Service);
    records.WriteRecord(*records.AddRecord(records.Section()), {{"Title", kService}});
    addBenchEntry(*store.registry, kService, port);
    std::mt19937 rng(11);
    std::vector<Record> rules;
    for (int i = 0; i < count; ++i)
        rules.push_back({{"Title", "rule " + std::to_string(i)},
                         {"Pattern", seededPattern(rng, i % 5 == 0)},
                         {"SendString", "FIRED<Enter>"}});
    records.SaveList(kService, RecordKind::AutoMacro, rules);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The client: connects through the entry and writes the seconds from going online to the end
// of the stream, and the processor seconds it took, into resultPath.
int runSession(const std::string& profile, const std::string& resultPath) {
    Registry::Opened store = Registry::open(profile);
    if (!store.registry) return 1;
    NoFrame frame;
    const StreamTimes times = runEntrySession(*store.registry, frame);
    std::ofstream(resultPath) << times.seconds << ' ' << times.processor;
    return times.online ? 0 : 1;
}

struct Times {
    std::vector<double> program, stream, processor;
};

// One run; `fired` is set when the client sent anything but telnet options.
void timeSession(LoopbackListener& listener, const std::string& profile, const std::string& stream,
                 const std::string& folder, Times& times, bool& fired) {
    const std::string result = folder + "/seconds";
    const auto start = std::chrono::steady_clock::now();
    PeerProcess client({ProcessLauncher::ownProgram(), "--client", profile, result}, -1, folder);
    const int host = listener.accept(10000);
    if (host < 0 || !sendAll(host, stream)) std::fprintf(stderr, "the host could not send\n");
    if (host >= 0) {
        shutdown(host, SHUT_WR);
        fired |= !withoutOptions(receiveUntilQuiet(host, 200)).empty();
        close(host);
    }
    if (client.wait(120000) != 0) std::fprintf(stderr, "the session failed\n");
    times.program.push_back(secondsSince(start));
    double seconds = 0, processor = 0;
    std::ifstream(result) >> seconds >> processor;
    times.stream.push_back(seconds);
    times.processor.push_back(processor);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--client") return runSession(argv[2], argv[3]);

    char pattern[] = "/tmp/quilite-automacro-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string stream = makeKoreanAnsiStream(kStreamSize);
    LoopbackListener listener;
    const int counts[] = {0, 100, 1000};
    Times times[3];
    for (int i = 0; i < 3; ++i)
        makeProfile(folder + "/profile" + std::to_string(i) + ".db", counts[i], listener.port());
    bool fired = false;
    for (int run = 0; run < kRuns; ++run)
        for (int i = 0; i < 3; ++i)
            timeSession(listener, folder + "/profile" + std::to_string(i) + ".db", stream, folder,
                        times[i], fired);
    std::filesystem::remove_all(folder);

    const double none = median(times[0].stream), noneProcessor = median(times[0].processor);
    const double limits[] = {1.0, 1.15, 1.25};
    bool ok = !fired;
    for (int i = 0; i < 3; ++i) {
        const double t = median(times[i].stream), p = median(times[i].processor);
        std::printf(
            "%4d rules: stream %.3f s (median of %d), %.1f MB/s, ratio to none %.2f; processor "
            "%.3f s, ratio %.2f; whole program %.3f s",
            counts[i], t, kRuns, stream.size() / t / 1e6, t / none, p, p / noneProcessor,
            median(times[i].program));
        if (i > 0) std::printf(" (target at most %.2f)", limits[i]);
        std::printf("\n");
        if (i > 0 && p / noneProcessor > limits[i]) ok = false;
    }
    if (fired) std::printf("a rule fired: the seeded rules must not match the stream\n");
    return ok ? 0 : 1;
}
