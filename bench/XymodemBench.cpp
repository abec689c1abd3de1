// XMODEM and YMODEM throughput against lrzsz, in one process: 1 MiB of random data over a
// socketpair, seven runs each, each timed from the receiver's start to its end. Every pair
// keeps one side and the variant and check fixed and swaps the other side:
//   ours -> rx/rb   against   sx/sb -> rx/rb
//   sx/sb -> ours   against   sx/sb -> rx/rb
// lrzsz's receivers wait about a second for a quiet line after each EOT (rb also before each
// header block); that wait is part of their time. The streaming types (ours -> ours, and
// sb -> ours for YMODEM-G) are shown beside the raw throughput of the same kind of socketpair,
// alone and with the file read and written around it.
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/Median.h"
#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/FolderMonitor.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

constexpr size_t kSize = 1u << 20;
constexpr int kRuns = 7;

using Clock = std::chrono::steady_clock;

// One end of a session: a lrzsz program, or our engine of a protocol and type.
struct End {
    std::vector<std::string> peer;
    const char* protocol = nullptr;
    int type = -1;
};

End lrzsz(std::vector<std::string> args) {
    return End{std::move(args)};
}
End ours(const char* protocol, int type) {
    return End{{}, protocol, type};
}

struct Bench {
    std::string src, dst, name = "data.bin", data;

    // One session; the seconds from the receiver's start to its end.
    double session(const End& sender, const End& receiver) const {
        std::filesystem::remove(dst + "/" + name);
        SocketPair pair;
        FolderMonitor sendMonitor(src), receiveMonitor(dst);
        std::optional<PeerProcess> peerSending, peerReceiving;
        std::optional<EngineThread> oursSending, oursReceiving;
        // The sender starts first: ours drops what it finds waiting when it starts.
        if (sender.protocol) {
            oursSending.emplace(pair.ours, true, src + "/" + name, sendMonitor, options(sender));
        } else {
            peerSending.emplace(withName(sender.peer), pair.ours, src);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto start = Clock::now();
        int result;
        if (receiver.protocol) {
            oursReceiving.emplace(pair.theirs, false, name, receiveMonitor, options(receiver));
            result = oursReceiving->result(600000);
        } else {
            peerReceiving.emplace(withName(receiver.peer), pair.theirs, dst);
            result = peerReceiving->wait(600000);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (result != 0) std::printf("  (receiver %d)\n", result);
        if (!arrived()) std::printf("  (file differs)\n");
        if (oursSending) oursSending->result(60000);
        if (peerSending) peerSending->wait(60000);
        return seconds;
    }
    EngineThread::Options options(const End& end) const {
        EngineThread::Options o;
        o.protocol = end.protocol;
        o.transferType = end.type;
        return o;
    }
    // sx, rx and sb take the file name as their last argument.
    std::vector<std::string> withName(std::vector<std::string> args) const {
        if (args[0] != "rb") args.push_back(name);
        return args;
    }
    bool arrived() const {
        std::ifstream in(dst + "/" + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {}) == data;
    }
    double mbps(double seconds) const { return kSize / seconds / 1e6; }
};

std::vector<double> rates(const std::function<double()>& run, int runs = kRuns) {
    std::vector<double> v;
    for (int i = 0; i < runs; ++i)
        v.push_back(kSize / run() / 1e6);
    return v;
}

void printRates(const char* who, const std::vector<double>& v) {
    std::printf(" %s", who);
    for (double r : v)
        std::printf(" %6.2f", r);
}

// Runs a and b alternately; prints both, the ratio of their medians and of their best runs (a
// busy machine puts runs into a fast and a slow group; the best runs compare like with like).
void compare(const char* what, const std::function<double()>& a, const std::function<double()>& b) {
    std::vector<double> ra, rb;
    for (int i = 0; i < kRuns; ++i) {
        ra.push_back(kSize / a() / 1e6);
        rb.push_back(kSize / b() / 1e6);
    }
    std::printf("%-44s", what);
    printRates("ours", ra);
    printRates("  lrzsz", rb);
    std::printf("  MB/s  ratio %.2f, best %.2f\n", median(ra) / median(rb),
                *std::max_element(ra.begin(), ra.end()) / *std::max_element(rb.begin(), rb.end()));
}

// 1 MiB through a socketpair in 64 KiB pieces, one thread writing and one reading; with files,
// read from the source file and written to a new file, as a plain copy without a protocol.
double rawSocketpair(const Bench* files) {
    SocketPair pair;
    std::vector<char> out(65536, 'r'), in(65536);
    const auto start = Clock::now();
    std::thread writer([&] {
        FILE* source = files ? std::fopen((files->src + "/" + files->name).c_str(), "rb") : nullptr;
        for (size_t sent = 0; sent < kSize;) {
            const size_t n = std::min(out.size(), kSize - sent);
            if (source && std::fread(out.data(), 1, n, source) != n) break;
            if (write(pair.ours, out.data(), n) != static_cast<ssize_t>(n)) break;
            sent += n;
        }
        if (source) std::fclose(source);
    });
    FILE* target = files ? std::fopen((files->dst + "/" + files->name).c_str(), "wb") : nullptr;
    for (size_t got = 0; got < kSize;) {
        const ssize_t n = read(pair.theirs, in.data(), in.size());
        if (n <= 0) break;
        if (target) std::fwrite(in.data(), 1, n, target);
        got += static_cast<size_t>(n);
    }
    if (target) std::fclose(target);
    writer.join();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    // An argument keeps only the rows whose title contains it.
    const std::string only = argc > 1 ? argv[1] : "";
    std::string root = std::string(QUILITE_BINARY_DIR) + "/xymodem-bench-XXXXXX";
    if (!mkdtemp(root.data())) return 1;
    Bench b{root + "/src", root + "/dst", "data.bin", {}};
    std::filesystem::create_directories(b.src);
    std::filesystem::create_directories(b.dst);
    std::mt19937 r(1);
    b.data.resize(kSize);
    for (char& c : b.data)
        c = static_cast<char>(r() & 0xFF);
    std::ofstream(b.src + "/" + b.name, std::ios::binary) << b.data;
    std::printf("XMODEM and YMODEM, 1 MiB per run, %d runs each, ratios ours/lrzsz\n", kRuns);

    const End rxSum = lrzsz({"rx", "-b"}), rxCrc = lrzsz({"rx", "-b", "-c"}), rb = lrzsz({"rb"});
    const End sx = lrzsz({"sx", "-b"}), sx1k = lrzsz({"sx", "-b", "-k"}), sb = lrzsz({"sb"}),
              sb1k = lrzsz({"sb", "-k"});
    struct Row {
        const char* what;
        End a1, a2, b1, b2;
    };
    const Row rows[] = {
        {"XMODEM sum: ours -> rx vs sx -> rx", ours("XMODEM", 0), rxSum, sx, rxSum},
        {"XMODEM CRC: ours -> rx -c vs sx -> rx -c", ours("XMODEM", 0), rxCrc, sx, rxCrc},
        {"XMODEM CRC: sx -> ours vs sx -> rx -c", sx, ours("XMODEM", 0), sx, rxCrc},
        {"XMODEM-1K: ours -> rx -c vs sx -k -> rx -c", ours("XMODEM", 1), rxCrc, sx1k, rxCrc},
        {"XMODEM-1K: sx -k -> ours vs sx -k -> rx -c", sx1k, ours("XMODEM", 1), sx1k, rxCrc},
        {"YMODEM: ours -> rb vs sb -k -> rb", ours("YMODEM", 2), rb, sb1k, rb},
        {"YMODEM: sb -k -> ours vs sb -k -> rb", sb1k, ours("YMODEM", 2), sb1k, rb},
        {"YMODEM 128: sb -> ours vs sb -> rb", sb, ours("YMODEM", 2), sb, rb},
    };
    for (const Row& row : rows) {
        if (std::string(row.what).find(only) == std::string::npos) continue;
        compare(
            row.what, [&] { return b.session(row.a1, row.a2); },
            [&] { return b.session(row.b1, row.b2); });
    }

    // A raw run lasts a fraction of a millisecond: more of them make its median steady.
    const double raw = median(rates([] { return rawSocketpair(nullptr); }, 25));
    const double copy = median(rates([&] { return rawSocketpair(&b); }, 25));
    std::printf("raw socketpair, 64 KiB writes: %.1f MB/s; file to file through it: %.1f MB/s\n",
                raw, copy);
    const std::pair<const char*, std::pair<End, End>> streams[] = {
        {"XMODEM-1KG: ours -> ours", {ours("XMODEM", 3), ours("XMODEM", 3)}},
        {"YMODEM-G: ours -> ours", {ours("YMODEM", 4), ours("YMODEM", 4)}},
        {"YMODEM-G: sb -> ours", {sb, ours("YMODEM", 4)}},
    };
    for (const auto& [what, ends] : streams) {
        if (std::string(what).find(only) == std::string::npos) continue;
        const std::vector<double> v = rates([&] { return b.session(ends.first, ends.second); });
        std::printf("%-44s", what);
        printRates("", v);
        std::printf("  MB/s  %.0f%% of raw, %.0f%% of file to file\n", 100 * median(v) / raw,
                    100 * median(v) / copy);
    }
    std::filesystem::remove_all(root);
    return 0;
}
