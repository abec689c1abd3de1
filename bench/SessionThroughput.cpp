// The session's receive path against quilite-vtdump: 16 MiB of Korean ANSI text sent by a host
// on a loopback port straight into the socket, through the telnet link and the session's pump
// into the screen (no drawing), against quilite-vtdump reading the same bytes from a file. Both
// are timed the same way, as a program from its start to its end, three runs each; the medians
// are compared.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/KoreanAnsiStream.h"
#include "bench/Median.h"
#include "bench/PumpSession.h"
#include "platform/ProcessLauncher.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

constexpr size_t kStreamSize = 16u << 20;
constexpr int kRuns = 3;

// The client side: a session connected to the port, pumped until the host has closed and
// everything it sent is on the screen.
int runSession(int port, const std::string& profile) {
    Registry::Opened store = Registry::open(profile);
    if (!store.registry) return 1;
    HeadlessSession session(*store.registry);
    return pumpUntilHostCloses(session.loop, session.doc, port) ? 0 : 1;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double timeVtdump(const std::string& file, const std::string& folder) {
    const auto start = std::chrono::steady_clock::now();
    PeerProcess vtdump({QUILITE_BINARY_DIR "/tools/quilite-vtdump", file}, -1, folder);
    if (vtdump.wait(120000) != 0) std::fprintf(stderr, "quilite-vtdump failed\n");
    return secondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--client")
        return runSession(std::atoi(argv[2]), argv[3]);

    char pattern[] = "/tmp/quilite-session-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string stream = makeKoreanAnsiStream(kStreamSize);
    const std::string file = folder + "/stream.bin";
    std::ofstream(file, std::ios::binary) << stream;

    std::vector<double> vtdump, session;
    for (int run = 0; run < kRuns; ++run) {
        vtdump.push_back(timeVtdump(file, folder));
        session.push_back(
            timeSessionClient({ProcessLauncher::ownProgram(), "--client"}, stream, folder));
    }
    std::filesystem::remove_all(folder);
    const double v = median(vtdump), s = median(session);
    std::printf("quilite-vtdump from a file: %.3f s (median of %d), %.1f MB/s\n", v, kRuns,
                stream.size() / v / 1e6);
    std::printf("session over telnet:        %.3f s (median of %d), %.1f MB/s\n", s, kRuns,
                stream.size() / s / 1e6);
    std::printf("ratio session / vtdump:     %.2f (target at most 1.30)\n", s / v);
    return s / v <= 1.3 ? 0 : 1;
}
