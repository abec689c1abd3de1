#pragma once
// What the download benchmarks share: a timed ZMODEM download into a headless session over
// telnet, either through the session's transfer bridge (auto-ZMODEM) or by our engine alone on
// the session's link, and the pump that runs the loop until the screen shows a text.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "auto/CSettingsSection.h"
#include "bench/KeepingCaptureHost.h"
#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SessionHooks.h"
#include "link/SystemLinks.h"
#include "link/TransferBridge.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "platform/SoundPlayer.h"
#include "term/TWView.h"
#include "xfer/GFMonitor.h"
#include "xfer/GFTransfer.h"

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

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline bool screenHas(TWView& view, const char* text) {
    for (int y = 0; y < view.Rows(); ++y) {
        const auto* row = reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y));
        if (std::string(row, TWView::kColumns).find(text) != std::string::npos) return true;
    }
    return false;
}

inline bool pumpUntil(PollEventLoop& loop, TWView& view, const char* text) {
    const auto start = std::chrono::steady_clock::now();
    while (!screenHas(view, text)) {
        if (secondsSince(start) > 20) return false;
        loop.runFor(10);
    }
    return true;
}

// Brings the host to where `start` (typed) begins the transfer; false when it did not get there.
using DownloadPreparation = std::function<bool(PollEventLoop&, TWView&, CQuillonDoc&)>;

// One download of `name` (size bytes) into folder/down from the telnet host on port; bridged:
// through the session's transfer bridge, else the engine alone on the session's link with the
// pump stopped; codeCapture: while a code capture runs (its recording goes to TMPDIR). The
// seconds from typing `start` to the end, or -1.
inline double timedDownload(int port, const std::string& folder, bool bridged,
                            const DownloadPreparation& prepare, const std::string& start,
                            const std::string& name, uintmax_t size, bool codeCapture = false) {
    std::filesystem::remove(folder + "/profile.db");
    Registry::Opened store = Registry::open(folder + "/profile.db");
    PollEventLoop loop;
    ScriptedPrompt prompt;
    SilentSoundPlayer sound;
    TWView view;
    NoFrame frame;
    SystemLinks links(loop, prompt, *store.registry, frame);
    BridgeOnly hooks;
    CSettingsSection(*store.registry, "Folder").SetString("Download", folder + "/down");
    CQuillonDoc doc(SessionContext{loop, prompt, *store.registry, sound, view, links, frame,
                                   bridged ? &hooks : nullptr});
    hooks.bridge.Attach({doc, loop, prompt, *store.registry, sound, frame});
    KeepingCaptureHost captureHost(doc, frame);
    Capture capture(*store.registry, prompt, view, captureHost);
    capture.SetMode(Capture::Mode::Code);
    if (codeCapture && !capture.StartCapture()) return -1;
    loop.setIdleHook([&] { return doc.OnIdle(); });
    doc.Start({"127.0.0.1", std::to_string(port)});
    if (!prepare(loop, view, doc)) return -1;
    std::filesystem::remove(folder + "/down/" + name);
    const auto begun = std::chrono::steady_clock::now();
    if (bridged) {
        for (char c : start)
            doc.SendByte(static_cast<uint8_t>(c));
        while (!hooks.bridge.Running() && secondsSince(begun) < 20)
            loop.runFor(5);
        while (hooks.bridge.Running() || doc.TransferActive())
            loop.runFor(5);
    } else {
        doc.SetPumpSuspended(true);
        PlacingMonitor monitor(folder + "/down");
        std::unique_ptr<GFTransfer> engine(
            GFTransfer::CreateObject("ZMODEM", doc.Link(), &monitor));
        doc.Link()->WriteString(start.c_str());
        engine->ReceiveFile("");
    }
    const double seconds = secondsSince(begun);
    if (codeCapture) capture.FinishCaptureAndView();
    hooks.bridge.Detach();
    loop.setIdleHook(nullptr);
    std::error_code error;
    if (std::filesystem::file_size(folder + "/down/" + name, error) != size) {
        std::fprintf(stderr, "%s download incomplete\n", bridged ? "session" : "engine");
        return -1;
    }
    return seconds;
}
