// What capture costs the session's receive path: 16 MiB of Korean ANSI text sent by a host on a
// loopback port through the telnet link and the session's pump into the screen, without a
// capture, with text capture (every byte shown goes through the line-end normaliser into the
// capture file) and with code capture (every byte received goes into it). Each is timed as a
// program from its start to its end, and by the processor time it took, five runs each; the
// medians are compared with the run without capture.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/KeepingCaptureHost.h"
#include "bench/KoreanAnsiStream.h"
#include "bench/Median.h"
#include "bench/PumpSession.h"
#include "platform/ProcessLauncher.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

constexpr size_t kStreamSize = 16u << 20;
constexpr int kRuns = 5;

// The client side: a session connected to the port, with a capture of `mode` ("none", "text",
// "code"), pumped until the host has closed and everything it sent is on the screen. The
// recording must hold at least what the host sent.
int runSession(int port, const std::string& profile, const std::string& mode) {
    Registry::Opened store = Registry::open(profile);
    if (!store.registry) return 1;
    HeadlessSession session(*store.registry);
    KeepingCaptureHost host(session.doc, session.frame);
    Capture capture(*store.registry, session.prompt, session.view, host);
    if (mode != "none") {
        capture.SetMode(mode == "code" ? Capture::Mode::Code : Capture::Mode::Text);
        if (!capture.StartCapture()) return 1;
    }
    const bool wasOnline = pumpUntilHostCloses(session.loop, session.doc, port);
    if (mode == "none") return wasOnline ? 0 : 1;
    capture.FinishCaptureAndView();
    const auto size = std::filesystem::file_size(host.recording);
    return wasOnline && size >= kStreamSize / 2 ? 0 : 1;
}

struct Times {
    std::vector<double> wall, cpu;
};

double cpuSecondsOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Times the client's run as a whole and, as a busy machine disturbs less, its processor time.
void timeSession(const std::string& self, const std::string& stream, const std::string& folder,
                 const std::string& mode, Times& times) {
    LoopbackListener listener;
    std::filesystem::remove(folder + "/profile.db");
    const double cpuBefore = cpuSecondsOfChildren();
    const auto start = std::chrono::steady_clock::now();
    PeerProcess client(
        {self, "--client", std::to_string(listener.port()), folder + "/profile.db", mode}, -1,
        folder);
    const int host = listener.accept(10000);
    if (host < 0 || !sendAll(host, stream)) std::fprintf(stderr, "the host could not send\n");
    if (host >= 0) close(host);
    if (client.wait(120000) != 0) std::fprintf(stderr, "the session (%s) failed\n", mode.c_str());
    times.wall.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    times.cpu.push_back(cpuSecondsOfChildren() - cpuBefore);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--client")
        return runSession(std::atoi(argv[2]), argv[3], argv[4]);

    char pattern[] = "/tmp/quilite-capture-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    setenv("TMPDIR", folder.c_str(), 1);  // the recordings go where the benchmark cleans up
    const std::string stream = makeKoreanAnsiStream(kStreamSize);

    Times none, text, code;
    const std::string self = ProcessLauncher::ownProgram();
    for (int run = 0; run < kRuns; ++run) {
        timeSession(self, stream, folder, "none", none);
        timeSession(self, stream, folder, "text", text);
        timeSession(self, stream, folder, "code", code);
    }
    std::filesystem::remove_all(folder);
    const double n = median(none.wall), t = median(text.wall), c = median(code.wall);
    const double nCpu = median(none.cpu), tCpu = median(text.cpu), cCpu = median(code.cpu);
    std::printf("session without capture: %.3f s (median of %d), %.1f MB/s, processor %.3f s\n", n,
                kRuns, stream.size() / n / 1e6, nCpu);
    std::printf("with text capture:       %.3f s, %.1f MB/s, processor %.3f s\n", t,
                stream.size() / t / 1e6, tCpu);
    std::printf("with code capture:       %.3f s, %.1f MB/s, processor %.3f s\n", c,
                stream.size() / c / 1e6, cCpu);
    std::printf("ratio text / none:       %.2f (target at most 1.10), processor %.2f\n", t / n,
                tCpu / nCpu);
    std::printf("ratio code / none:       %.2f, processor %.2f\n", c / n, cCpu / nCpu);
    return t / n <= 1.1 ? 0 : 1;
}
