// Video mail against ffmpeg in the same run: recording 3000 QCIF pictures from a file (H.263
// coding) and playing a message to RGB24 without pacing; then a 30-s message played in real
// time, its length and how close each picture came to its due moment.
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "videomail/H263Coder.h"
#include "videomail/TestPattern.h"

namespace {

const std::string kReelpost = QUILITE_BINARY_DIR "/videomail/reelpost";
const std::string kReelplay = QUILITE_BINARY_DIR "/videomail/reelplay";
constexpr int kRuns = 3;

double timed(const std::string& command) {
    auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::printf("  failed: %s\n", command.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The processor time a command takes: steadier than the wall clock on a shared machine.
double cpuTimed(const std::string& command) {
    double before = childCpuSeconds();
    timed(command);
    return childCpuSeconds() - before;
}

void compare(const char* what, const std::string& ours, const std::string& peer, double limit) {
    std::vector<double> oursRuns, peerRuns;
    for (int i = 0; i < kRuns; ++i) {
        oursRuns.push_back(cpuTimed(ours));
        peerRuns.push_back(cpuTimed(peer));
    }
    double ratio = median(oursRuns) / median(peerRuns);
    std::printf("%-40s ours %6.3f s  ffmpeg %6.3f s  (processor time)  ratio %.2f (at most %.2f)\n",
                what, median(oursRuns), median(peerRuns), ratio, limit);
}

// Plays the message in real time: from its first record to its last as the player measured,
// the whole run of the program, and the share of pictures shown within 20 ms of their moment.
void realTime(const std::string& message, const std::string& events) {
    double seconds = timed(kReelplay + " --headless --events '" + message + "' > '" + events + "'");
    std::ifstream in(events);
    int pictures = 0, onTime = 0;
    long long type, sequence, length, due, actual, lastDue = 0, lastActual = 0;
    while (in >> type >> sequence >> length >> due >> actual) {
        lastDue = due;
        lastActual = actual;
        if (type != 1) continue;
        ++pictures;
        onTime += std::llabs(actual - due) <= 20;
    }
    std::printf("%-40s time line %.3f s, played %.3f s (30 +- 0.1), program %.3f s\n",
                "30-s message played in real time", lastDue / 1000.0, lastActual / 1000.0, seconds);
    std::printf("%-40s %d of %d (%.1f %%, at least 95) within 20 ms of due\n", "  pictures", onTime,
                pictures, 100.0 * onTime / std::max(pictures, 1));
}

}  // namespace

int main() {
    std::string root = std::filesystem::temp_directory_path() / "quilite-vmbench-XXXXXX";
    if (!mkdtemp(root.data())) return 1;
    auto at = [&](const char* name) { return root + "/" + name; };
    {
        std::ofstream yuv(at("in.yuv"), std::ios::binary);
        for (int n = 0; n < 3000; ++n)
            yuv << testPatternPicture(n);
    }
    std::printf("Video mail, %d runs each, median ratio ours/ffmpeg\n", kRuns);
    std::string settings = " -b:v " + std::to_string(h263settings::kBitRate) + " -g " +
                           std::to_string(h263settings::kGopSize) + " -bf 0 -threads 1";
    compare("record 3000 QCIF pictures (H.263)",
            kReelpost + " record '" + at("m.vmi") + "' --seconds 100 --video 'yuv:" + at("in.yuv") +
                "' --simulated-clock",
            "ffmpeg -nostdin -v error -y -f rawvideo -s 176x144 -pix_fmt yuv420p -r 30 -i '" +
                at("in.yuv") + "' -c:v h263" + settings + " -f h263 '" + at("peer.h263") + "'",
            1.15);
    compare(
        "play 3000 pictures to RGB24, unpaced",
        kReelplay + " --headless --no-pacing --rgb '" + at("ours.rgb") + "' '" + at("m.vmi") + "'",
        "ffmpeg -nostdin -v error -y -threads 1 -f h263 -i '" + at("peer.h263") +
            "' -pix_fmt rgb24 -f rawvideo '" + at("peer.rgb") + "'",
        1.2);
    std::system((kReelpost + " record '" + at("30s.vmi") +
                 "' --seconds 30 --video pattern --audio tone --simulated-clock")
                    .c_str());
    realTime(at("30s.vmi"), at("events"));
    std::filesystem::remove_all(root);
    return 0;
}
