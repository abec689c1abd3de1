// The cost of reading the place a recognised service's screen shows: the session benchmark's
// 16 MiB of Korean ANSI text, a cleared page with a title line "게시판 (Bn)" every 64 KiB, sent
// by a loopback host through the telnet link and the session,
// once as the recognised service "하이텔" (its place read at every settled screen) and once as
// a service the program does not recognise. Five interleaved runs of each; the client times the
// stream's processor seconds from going online to its end, and the medians are compared.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchEntry.h"
#include "bench/EntrySession.h"
#include "bench/KoreanAnsiStream.h"
#include "bench/Median.h"
#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "platform/ProcessLauncher.h"
#include "platform/TextCodec.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

constexpr size_t kStreamSize = 16u << 20;
constexpr int kRuns = 5;
constexpr double kLimit = 1.05;
constexpr size_t kPageSize = 64u << 10;

// Counts the places the session showed.
class PlaceFrame : public NoFrame {
public:
    void ShowLocation(const std::string&, const std::string&) override { ++shown; }
    int shown = 0;
};

void makeProfile(const std::string& path, const std::string& service, int port) {
    std::filesystem::remove(path);
    Registry::Opened store = Registry::open(path);
    CRecordStore records(*store.registry);
    records.SelectKind(RecordKind::Service);
    records.WriteRecord(*records.AddRecord(records.Section()), {{"Title", service}});
    addBenchEntry(*store.registry, service, port);
}

// The client: connects through the entry and writes the processor seconds from going online
// to the end of the stream, and how many places it showed, into resultPath.
int runSession(const std::string& profile, const std::string& resultPath) {
    Registry::Opened store = Registry::open(profile);
    if (!store.registry) return 1;
    PlaceFrame frame;
    const StreamTimes times = runEntrySession(*store.registry, frame);
    std::ofstream(resultPath) << times.processor << ' ' << frame.shown;
    return times.online ? 0 : 1;
}

double timeSession(LoopbackListener& listener, const std::string& profile,
                   const std::string& stream, const std::string& folder, int& shown) {
    const std::string result = folder + "/seconds";
    PeerProcess client({ProcessLauncher::ownProgram(), "--client", profile, result}, -1, folder);
    const int host = listener.accept(10000);
    if (host < 0 || !sendAll(host, stream)) std::fprintf(stderr, "the host could not send\n");
    if (host >= 0) close(host);
    if (client.wait(120000) != 0) std::fprintf(stderr, "the session failed\n");
    double seconds = 0;
    std::ifstream(result) >> seconds >> shown;
    return seconds;
}

// The stream cut into pages, each cleared and titled with its own location.
std::string titledPages(const std::string& stream) {
    std::string pages;
    for (size_t at = 0; at < stream.size(); at += kPageSize)
        pages += "\x1b[2J\x1b[H" + utf8ToCp949("게시판").value() + " (B" +
                 std::to_string(at / kPageSize) + ")\r\n" + stream.substr(at, kPageSize);
    return pages;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--client") return runSession(argv[2], argv[3]);

    char pattern[] = "/tmp/quilite-location-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string stream = titledPages(makeKoreanAnsiStream(kStreamSize));
    LoopbackListener listener;
    const std::string services[] = {utf8ToCp949("하이텔").value(), "plain"};
    std::vector<double> seconds[2];
    int shown[2] = {0, 0};
    for (int i = 0; i < 2; ++i)
        makeProfile(folder + "/profile" + std::to_string(i) + ".db", services[i], listener.port());
    for (int run = 0; run < kRuns; ++run)
        for (int i = 0; i < 2; ++i)
            seconds[i].push_back(timeSession(listener,
                                             folder + "/profile" + std::to_string(i) + ".db",
                                             stream, folder, shown[i]));
    std::filesystem::remove_all(folder);

    const double recognised = median(seconds[0]), plain = median(seconds[1]);
    std::printf("recognised service: processor %.3f s (median of %d), %.1f MB/s, %d places shown\n",
                recognised, kRuns, stream.size() / recognised / 1e6, shown[0]);
    std::printf("type-0 service:     processor %.3f s (median of %d), %.1f MB/s\n", plain, kRuns,
                stream.size() / plain / 1e6);
    std::printf("ratio recognised / type 0: %.3f (target at most %.2f)\n", recognised / plain,
                kLimit);
    return recognised / plain <= kLimit ? 0 : 1;
}
