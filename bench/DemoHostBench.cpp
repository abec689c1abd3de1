// quilite-demohost measured: an 8 MiB download into the headless session (the host's offer
// taken up by auto-ZMODEM through the transfer bridge) against our engine alone on the same
// session's telnet link, three runs each, alternating; and the time a menu takes to answer
// while 20 sessions send random bytes, against the same with the host idle.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "auto/CSettingsSection.h"
#include "bench/DownloadSupport.h"
#include "bench/Median.h"
#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/ScriptedPrompt.h"
#include "platform/SoundPlayer.h"
#include "platform/TextCodec.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/tools/DemoHostProcess.h"
#include "xfer/GFTransfer.h"

namespace {

constexpr size_t kFileSize = 8u << 20;
constexpr int kRuns = 3;
constexpr int kMenuRounds = 30;

// Logs in and goes to the download room; false when a screen did not come.
bool enterFiles(PollEventLoop& loop, TWView& view, CQuillonDoc& doc) {
    if (!pumpUntil(loop, view, "login:")) return false;
    doc.SendLine("bench");
    if (!pumpUntil(loop, view, "Password:")) return false;
    doc.SendLine("pw");
    if (!pumpUntil(loop, view, cp949("초기 화면 (TOP)").c_str())) return false;
    doc.SendLine("go files");
    return pumpUntil(loop, view, cp949("자료실 (FILES)").c_str());
}

// One download of the only file offered: chosen by its number in the download room.
double download(int port, const std::string& folder, bool bridged) {
    return timedDownload(port, folder, bridged, enterFiles, "1\r", "data.bin", kFileSize);
}

// Milliseconds each of kMenuRounds menus took to answer a logged-in user.
std::vector<double> menuTimes(DemoHostProcess& host) {
    std::vector<double> times;
    const int fd = host.logIn("menus", "pw");
    for (int i = 0; i < kMenuRounds && fd >= 0; ++i) {
        const auto start = std::chrono::steady_clock::now();
        std::string seen;
        sendAll(fd, i % 2 ? "go art\r" : "top\r");
        if (!receiveUntil(fd, demoMenuPrompt(), seen, 5000)) break;
        times.push_back(secondsSince(start) * 1000);
    }
    if (fd >= 0) close(fd);
    return times;
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-demohost-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::filesystem::create_directories(folder + "/down");
    std::filesystem::create_directories(folder + "/files");
    std::string data(kFileSize, '\0');
    std::mt19937 random(8);
    for (char& c : data)
        c = static_cast<char>(random());
    std::ofstream(folder + "/files/data.bin", std::ios::binary) << data;

    int status = 0;
    {
        DemoHostProcess host(folder, {"--files", folder + "/files"});
        std::vector<double> engine, session;
        for (int run = 0; run < kRuns; ++run) {
            engine.push_back(download(host.port(), folder, false));
            session.push_back(download(host.port(), folder, true));
        }
        if (*std::min_element(engine.begin(), engine.end()) < 0 ||
            *std::min_element(session.begin(), session.end()) < 0)
            return 2;
        const double e = median(engine), s = median(session);
        std::printf("8 MiB, engine alone over telnet:   %.3f s (median of %d), %.1f MB/s\n", e,
                    kRuns, kFileSize / e / 1e6);
        std::printf("8 MiB, headless session, bridged:  %.3f s (median of %d), %.1f MB/s\n", s,
                    kRuns, kFileSize / s / 1e6);
        std::printf("ratio session / engine:            %.2f (target at most 1.25)\n", s / e);
        status |= s / e <= 1.25 ? 0 : 1;

        const std::vector<double> idle = menuTimes(host);
        std::atomic<bool> stop{false};
        std::vector<std::thread> noise;
        for (unsigned i = 0; i < 20; ++i)
            noise.emplace_back(sendNoise, host.port(), i + 1, std::cref(stop));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const std::vector<double> loaded = menuTimes(host);
        stop = true;
        for (std::thread& t : noise)
            t.join();
        if (idle.size() != kMenuRounds || loaded.size() != kMenuRounds) return 2;
        const double worst = *std::max_element(loaded.begin(), loaded.end());
        std::printf("menu answer, host idle:            %.2f ms median, %.2f ms worst\n",
                    median(idle), *std::max_element(idle.begin(), idle.end()));
        std::printf(
            "menu answer, 20 noise sessions:    %.2f ms median, %.2f ms worst "
            "(target at most 50 ms)\n",
            median(loaded), worst);
        std::printf("ratio loaded / idle (medians):     %.2f\n", median(loaded) / median(idle));
        status |= worst <= 50 ? 0 : 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}
