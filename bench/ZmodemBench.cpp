// ZMODEM throughput against lrzsz, in one process: 32 MiB of random data and 32 MiB of text,
// three runs each, over a socketpair:
//   our sender -> rz   against   sz -e -> rz and against sz -> rz   (our sender escapes only the
//                                 bytes the protocol requires, sz -e every control byte)
//   sz -> our receiver against   sz -> rz
// Each run is timed until the receiver has the whole file. One run each way over a pty follows
// (lrzsz to lrzsz stalls at the end on a pty, so those are not compared). An argument keeps only
// the rows whose title contains it, and leaves out the pty runs.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/FolderMonitor.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

constexpr size_t kSize = 32u << 20;
constexpr int kRuns = 3;

using Clock = std::chrono::steady_clock;

std::string randomData() {
    std::mt19937 r(1);
    std::string s(kSize, '\0');
    for (char& c : s)
        c = static_cast<char>(r() & 0xFF);
    return s;
}

std::string textData() {
    static const char* words[] = {"the ",     "ZMODEM ", "file ",   "transfer ", "of ",
                                  "text\r\n", "with ",   "lines\n", "1998 ",     "BBS "};
    std::mt19937 r(2);
    std::string s;
    while (s.size() < kSize)
        s += words[r() % 10];
    s.resize(kSize);
    return s;
}

struct Bench {
    std::string root, src, dst, name;

    double mbps(double seconds) const { return kSize / seconds / 1e6; }
    void clean() const { std::filesystem::remove(dst + "/" + name); }
    bool arrived(const std::string& data) const {
        std::ifstream in(dst + "/" + name, std::ios::binary);
        std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return got == data;
    }

    template <class Pair>
    double oursToRz() const {
        clean();
        Pair pair;
        const auto start = Clock::now();
        PeerProcess rz({"rz"}, pair.theirs, dst);
        pair.closeTheirs();
        FolderMonitor monitor(dst);
        EngineThread ours(pair.ours, true, src + "/" + name, monitor);
        const int r = ours.result(600000);
        const int peer = rz.wait(600000);
        if (r != 0 || peer != 0) std::printf("  (ours %d, rz %d)\n", r, peer);
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    template <class Pair>
    double szToOurs() const {
        clean();
        Pair pair;
        const auto start = Clock::now();
        PeerProcess sz({"sz", name}, pair.theirs, src);
        pair.closeTheirs();
        FolderMonitor monitor(dst);
        EngineThread ours(pair.ours, false, "", monitor);
        const int r = ours.result(600000);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (r != 0) std::printf("  (ours %d)\n", r);
        sz.wait(60000);
        return seconds;
    }

    double szToRz(bool escapeAll) const {
        clean();
        SocketPair pair;
        const auto start = Clock::now();
        PeerProcess rz({"rz"}, pair.theirs, dst);
        std::vector<std::string> args{"sz"};
        if (escapeAll) args.push_back("-e");
        args.push_back(name);
        PeerProcess sz(args, pair.ours, src);
        pair.closeOurs();
        pair.closeTheirs();
        rz.wait(600000);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        sz.wait(60000);
        return seconds;
    }
};

// An argument keeps only the rows whose title contains it.
std::string only;

void compare(const Bench& b, const std::string& what, const std::string& data,
             const std::function<double()>& ours, const std::function<double()>& peer) {
    if (what.find(only) == std::string::npos) return;
    std::vector<double> oursRuns, peerRuns;
    for (int i = 0; i < kRuns; ++i) {
        oursRuns.push_back(b.mbps(ours()));
        if (!b.arrived(data)) std::printf("  ours: file differs!\n");
        peerRuns.push_back(b.mbps(peer()));
    }
    std::printf("%-34s ours", what.c_str());
    for (double r : oursRuns)
        std::printf(" %7.1f", r);
    std::printf("   lrzsz");
    for (double r : peerRuns)
        std::printf(" %7.1f", r);
    std::printf("  MB/s   ratio %.2f\n", median(oursRuns) / median(peerRuns));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) only = argv[1];
    std::string root = std::string(QUILITE_BINARY_DIR) + "/zmodem-bench-XXXXXX";
    if (!mkdtemp(root.data())) return 1;
    Bench b{root, root + "/src", root + "/dst", "data.bin"};
    std::filesystem::create_directories(b.src);
    std::filesystem::create_directories(b.dst);
    std::printf("ZMODEM, %zu MiB per run, %d runs each, median ratio ours/lrzsz\n", kSize >> 20,
                kRuns);
    for (const auto& [kind, data] :
         {std::pair<const char*, std::string>{"random", randomData()}, {"text", textData()}}) {
        std::ofstream(b.src + "/" + b.name, std::ios::binary) << data;
        compare(
            b, std::string(kind) + ": ours -> rz vs sz -e -> rz", data,
            [&] { return b.oursToRz<SocketPair>(); }, [&] { return b.szToRz(true); });
        compare(
            b, std::string(kind) + ": ours -> rz vs sz -> rz", data,
            [&] { return b.oursToRz<SocketPair>(); }, [&] { return b.szToRz(false); });
        compare(
            b, std::string(kind) + ": sz -> ours vs sz -> rz", data,
            [&] { return b.szToOurs<SocketPair>(); }, [&] { return b.szToRz(false); });
    }
    if (only.empty()) {
        std::printf("pty, random: ours -> rz %.1f MB/s, sz -> ours %.1f MB/s\n",
                    b.mbps(b.oursToRz<PtyPair>()), b.mbps(b.szToOurs<PtyPair>()));
    }
    std::filesystem::remove_all(root);
    return 0;
}
