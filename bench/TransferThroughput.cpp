// A 64 MiB ZMODEM download from lrzsz's sz behind telnetd over loopback: through the headless
// session (the host's request noticed by the interpreter, the transfer bridge, its worker
// thread and monitor), without and with a code capture running, against our engine alone on
// the same kind of telnet link, driven directly on the main thread. Three runs each,
// alternating; the medians are compared.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "auto/CSettingsSection.h"
#include "bench/DownloadSupport.h"
#include "bench/Median.h"
#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "link/TransferBridge.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/TelnetServer.h"
#include "xfer/GFTransfer.h"

namespace {

constexpr size_t kFileSize = 64u << 20;
constexpr int kRuns = 3;

enum class Way { Engine, Session, Capturing };

// sz is started with the file and waits for the byte that lets it go.
double download(int port, const std::string& folder, const std::string& file, Way way) {
    const DownloadPreparation startSz = [&file](PollEventLoop& loop, TWView& view,
                                                CQuillonDoc& doc) {
        if (!pumpUntil(loop, view, "ready>")) return false;
        doc.SendLine("sz " + file);
        return pumpUntil(loop, view, "READY");
    };
    return timedDownload(port, folder, way != Way::Engine, startSz, "g", "data.bin", kFileSize,
                         way == Way::Capturing);
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-transfer-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::filesystem::create_directories(folder + "/down");
    std::string data(kFileSize, '\0');
    uint32_t x = 12345;
    for (char& c : data)
        c = static_cast<char>((x = x * 1664525 + 1013904223) >> 24);
    const std::string file = folder + "/data.bin";
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out || std::fwrite(data.data(), 1, data.size(), out) != data.size()) return 2;
    std::fclose(out);

    setenv("TMPDIR", folder.c_str(), 1);  // the recordings go where the benchmark cleans up
    TelnetServer server(TelnetServer::Kind::Inetutils);
    std::vector<double> engine, session, capturing;
    for (int run = 0; run < kRuns; ++run) {
        engine.push_back(download(server.port(), folder, file, Way::Engine));
        session.push_back(download(server.port(), folder, file, Way::Session));
        capturing.push_back(download(server.port(), folder, file, Way::Capturing));
    }
    std::filesystem::remove_all(folder);
    for (const auto* times : {&engine, &session, &capturing})
        if (*std::min_element(times->begin(), times->end()) < 0) return 2;
    const double e = median(engine), s = median(session), c = median(capturing);
    std::printf("engine alone over telnet:   %.3f s (median of %d), %.1f MB/s\n", e, kRuns,
                kFileSize / e / 1e6);
    std::printf("headless session, bridged:  %.3f s (median of %d), %.1f MB/s\n", s, kRuns,
                kFileSize / s / 1e6);
    std::printf("the same, code capture on:  %.3f s (median of %d), %.1f MB/s\n", c, kRuns,
                kFileSize / c / 1e6);
    std::printf("ratio session / engine:     %.2f (target at most 1.10)\n", s / e);
    std::printf("ratio capturing / engine:   %.2f (target at most 1.10)\n", c / e);
    return s / e <= 1.1 && c / e <= 1.1 ? 0 : 1;
}
