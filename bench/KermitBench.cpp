// Kermit throughput against C-Kermit, in one process: 4 MiB of random data each way over a pty,
// five runs each (xfer_kermit_bench [MIB [RUNS]] for others), with C-Kermit configured like our
// engine (94-byte packets, one packet at a time, type-1 check, every control byte prefixed, no
// attributes, eighth-bit prefixing):
//   our sender -> C-Kermit   against   C-Kermit -> C-Kermit
//   C-Kermit -> our receiver against   C-Kermit -> C-Kermit
// C-Kermit to C-Kermit runs through a pty that the local C-Kermit opens for the remote one.
#include <stdlib.h>
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

size_t benchSize = 4u << 20;
int benchRuns = 5;
const char* const kName = "data.bin";

using Clock = std::chrono::steady_clock;

std::string randomData() {
    std::mt19937 r(1);
    std::string s(benchSize, '\0');
    for (char& c : s)
        c = static_cast<char>(r() & 0xFF);
    return s;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct Bench {
    std::string root, src, dst;

    // A C-Kermit command file: the settings that match our engine, then the commands.
    std::string script(const std::string& name, bool sending, const std::string& commands) const {
        std::string text =
            "set delay 0\nset file type binary\nset file names literal\n"
            "set file collision overwrite\nset transfer display none\nset prefixing all\n"
            "set send packet-length 94\nset receive packet-length 94\nset window 1\n"
            "set streaming off\nset block-check 1\nset attributes off\n";
        if (sending) text += "set parity space\n";
        text += commands + "\nif fail exit 1\nexit 0\n";
        const std::string path = root + "/" + name;
        writeText(path, text);
        return path;
    }
    std::string receiverScript() const { return script("receive.ksc", false, "receive"); }
    std::string senderScript() const {
        return script("send.ksc", true, std::string("send ") + kName);
    }

    double seconds(Clock::time_point start) const {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
    void clean() const { std::filesystem::remove(dst + "/" + kName); }
    bool arrived(const std::string& data) const {
        std::ifstream in(dst + "/" + kName, std::ios::binary);
        std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return got == data;
    }

    double oursToKermit() const {
        clean();
        PtyPair pty;
        const auto start = Clock::now();
        PeerProcess peer({"kermit", receiverScript(), "-Y"}, pty.theirs, dst);
        pty.closeTheirs();
        FolderMonitor monitor(dst);
        EngineThread::Options options;
        options.protocol = "KERMIT";
        EngineThread ours(pty.ours, true, src + "/" + kName, monitor, options);
        const int r = ours.result(600000);
        const int status = peer.wait(600000);
        if (r != 0 || status != 0) std::printf("  (ours %d, C-Kermit %d)\n", r, status);
        return seconds(start);
    }
    double kermitToOurs() const {
        clean();
        PtyPair pty;
        const auto start = Clock::now();
        PeerProcess peer({"kermit", senderScript(), "-Y"}, pty.theirs, src);
        pty.closeTheirs();
        FolderMonitor monitor(dst);
        EngineThread::Options options;
        options.protocol = "KERMIT";
        EngineThread ours(pty.ours, false, "", monitor, options);
        const int r = ours.result(600000);
        const double s = seconds(start);
        if (r != 0) std::printf("  (ours %d)\n", r);
        peer.wait(60000);
        return s;
    }
    // The local C-Kermit runs the other one on a pty of its own and sends to it; both run in
    // the receiving folder.
    double kermitToKermit() const {
        clean();
        const std::string remote =
            "set host /pty kermit " + receiverScript() + " -Y\nif fail exit 3\n";
        const std::string local = script("local.ksc", true, remote + "send " + src + "/" + kName);
        const auto start = Clock::now();
        PeerProcess sender({"kermit", local, "-Y"}, -1, dst);
        const int status = sender.wait(600000);
        if (status != 0) std::printf("  (C-Kermit %d)\n", status);
        return seconds(start);
    }
};

void compare(const Bench& b, const char* what, const std::string& data,
             const std::function<double()>& ours, const std::function<double()>& peer) {
    std::vector<double> oursRuns, peerRuns;
    for (int i = 0; i < benchRuns; ++i) {
        oursRuns.push_back(benchSize / ours() / 1e3);
        if (!b.arrived(data)) std::printf("  ours: file differs!\n");
        peerRuns.push_back(benchSize / peer() / 1e3);
        if (!b.arrived(data)) std::printf("  C-Kermit: file differs!\n");
    }
    std::printf("%-40s ours", what);
    for (double r : oursRuns)
        std::printf(" %6.0f", r);
    std::printf("   C-Kermit");
    for (double r : peerRuns)
        std::printf(" %6.0f", r);
    std::printf("  kB/s   ratio %.2f\n", median(oursRuns) / median(peerRuns));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) benchSize = std::strtoul(argv[1], nullptr, 10) << 20;
    if (argc > 2) benchRuns = std::atoi(argv[2]);
    std::string root = std::string(QUILITE_BINARY_DIR) + "/kermit-bench-XXXXXX";
    if (!mkdtemp(root.data())) return 1;
    Bench b{root, root + "/src", root + "/dst"};
    std::filesystem::create_directories(b.src);
    std::filesystem::create_directories(b.dst);
    const std::string data = randomData();
    writeText(b.src + "/" + kName, data);
    std::printf(
        "Kermit, %zu MiB of random data per run, %d runs each, median ratio ours/C-Kermit\n",
        benchSize >> 20, benchRuns);
    compare(
        b, "ours -> C-Kermit vs C-Kermit -> C-Kermit", data, [&] { return b.oursToKermit(); },
        [&] { return b.kermitToKermit(); });
    compare(
        b, "C-Kermit -> ours vs C-Kermit -> C-Kermit", data, [&] { return b.kermitToOurs(); },
        [&] { return b.kermitToKermit(); });
    std::filesystem::remove_all(root);
    return 0;
}
