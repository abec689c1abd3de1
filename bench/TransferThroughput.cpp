// A 64 MiB ZMODEM download from lrzsz's sz behind telnetd over loopback: through the headless
// session (the host's request noticed by the interpreter, the transfer bridge, its worker
// thread and monitor) against our engine alone on the same kind of telnet link, driven
// directly on the main thread. Three runs each, alternating; the medians are compared.
#include <algorithm>
#include <chrono>
#include <cstdio>
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

// sz is started with the file and waits for the byte that lets it go.
double download(int port, const std::string& folder, const std::string& file, bool bridged) {
    const DownloadPreparation startSz = [&file](PollEventLoop& loop, TWView& view,
                                                CQuillonDoc& doc) {
        if (!pumpUntil(loop, view, "ready>")) return false;
        doc.SendLine("sz " + file);
        return pumpUntil(loop, view, "READY");
    };
    return timedDownload(port, folder, bridged, startSz, "g", "data.bin", kFileSize);
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

    TelnetServer server(TelnetServer::Kind::Inetutils);
    std::vector<double> engine, session;
    for (int run = 0; run < kRuns; ++run) {
        engine.push_back(download(server.port(), folder, file, false));
        session.push_back(download(server.port(), folder, file, true));
    }
    std::filesystem::remove_all(folder);
    if (*std::min_element(engine.begin(), engine.end()) < 0 ||
        *std::min_element(session.begin(), session.end()) < 0)
        return 2;
    const double e = median(engine), s = median(session);
    std::printf("engine alone over telnet:   %.3f s (median of %d), %.1f MB/s\n", e, kRuns,
                kFileSize / e / 1e6);
    std::printf("headless session, bridged:  %.3f s (median of %d), %.1f MB/s\n", s, kRuns,
                kFileSize / s / 1e6);
    std::printf("ratio session / engine:     %.2f (target at most 1.10)\n", s / e);
    return s / e <= 1.1 ? 0 : 1;
}
