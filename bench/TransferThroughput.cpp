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

class SilentSound : public SoundPlayer {
public:
    void playFile(const std::string&, bool) override {}
};

// Received files go to the folder: what the engine needs of a monitor and no more.
class PlacingMonitor : public GFMonitor {
public:
    explicit PlacingMonitor(std::string folder) : folder_(std::move(folder)) {}
    void SetFileName(const char* name) override {
        GFMonitor::SetFileName((folder_ + "/" + name).c_str());
    }

private:
    std::string folder_;
};

class BridgeOnly : public SessionHooks {
public:
    void OnZmodemRequest(int code) override { bridge.OnZmodemRequest(code); }
    TransferBridge bridge;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool screenHas(TWView& view, const char* text) {
    for (int y = 0; y < view.Rows(); ++y) {
        const auto* row = reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y));
        if (std::string(row, TWView::kColumns).find(text) != std::string::npos) return true;
    }
    return false;
}

bool pumpUntil(PollEventLoop& loop, TWView& view, const char* text) {
    const auto start = std::chrono::steady_clock::now();
    while (!screenHas(view, text)) {
        if (secondsSince(start) > 20) return false;
        loop.runFor(10);
    }
    return true;
}

// One download; bridged: through the session's transfer bridge, else the engine alone on the
// session's link with the pump stopped. The seconds from the byte that starts sz to the end.
double download(int port, const std::string& folder, const std::string& file, bool bridged) {
    std::filesystem::remove(folder + "/profile.db");
    Registry::Opened store = Registry::open(folder + "/profile.db");
    PollEventLoop loop;
    ScriptedPrompt prompt;
    SilentSound sound;
    TWView view;
    NoFrame frame;
    SystemLinks links(loop, prompt, *store.registry, frame);
    BridgeOnly hooks;
    CSettingsSection(*store.registry, "Folder").SetString("Download", folder + "/down");
    CQuillonDoc doc(SessionContext{loop, prompt, *store.registry, sound, view, links, frame,
                                   bridged ? &hooks : nullptr});
    hooks.bridge.Attach({doc, loop, prompt, *store.registry, sound, frame});
    loop.setIdleHook([&] { return doc.OnIdle(); });
    doc.Start({"127.0.0.1", std::to_string(port)});
    if (!pumpUntil(loop, view, "ready>")) return -1;
    doc.SendLine("sz " + file);
    if (!pumpUntil(loop, view, "READY")) return -1;
    std::filesystem::remove(folder + "/down/data.bin");
    const auto start = std::chrono::steady_clock::now();
    if (bridged) {
        doc.SendByte('g');
        while (!hooks.bridge.Running() && secondsSince(start) < 20)
            loop.runFor(5);
        while (hooks.bridge.Running() || doc.TransferActive())
            loop.runFor(5);
    } else {
        doc.SetPumpSuspended(true);
        PlacingMonitor monitor(folder + "/down");
        std::unique_ptr<GFTransfer> engine(
            GFTransfer::CreateObject("ZMODEM", doc.Link(), &monitor));
        doc.Link()->WriteByte('g');
        engine->ReceiveFile("");
    }
    const double seconds = secondsSince(start);
    hooks.bridge.Detach();
    loop.setIdleHook(nullptr);
    std::error_code error;
    if (std::filesystem::file_size(folder + "/down/data.bin", error) != kFileSize) {
        std::fprintf(stderr, "%s download incomplete\n", bridged ? "session" : "engine");
        return -1;
    }
    return seconds;
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
