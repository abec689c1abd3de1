// Transfers on a noisy line against the real peers, over more seeds than the tests run: a
// random file goes through a FaultRelay that flips bits at a seeded bit error rate in both
// directions. For each protocol and peer, quilite-xfer sends to the peer and receives from
// it, and the peer sends to itself. The table counts the runs that ended with an identical
// file and both sides content, ours beside the peer with itself. Every other run of ours must
// end with an error within its --timeout and a second; a hang, a success over a damaged or
// missing file, or a partial file left under its name (outside ZMODEM, which keeps it for
// resuming) is counted as a fault. The default --timeout of 60 seconds leaves room for Kermit
// against C-Kermit, whose 1 MiB at 1e-5 takes up to about 30 s on a busy machine: most of that
// is C-Kermit's own three-second wait each time a flip hits a packet's mark.
//   xfer_noise_bench [--seeds N] [--first-seed N] [--rates 1e-5,1e-4] [--size BYTES]
//                    [--timeout SECONDS] [--only LABEL-PREFIX] [--tool QUILITE-XFER] [--verbose]
//                    [--keep] [--ours-only]
#include <stdlib.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fixtures/NoisyTransfer.h"

namespace {

using noisy::Argv;
using noisy::Peer;

const char* const kName = "data.bin";

struct Settings {
    int seeds = 4;
    int firstSeed = 1;
    std::vector<double> rates = {1e-5, 1e-4};
    size_t size = 1u << 20;
    int timeoutSeconds = 60;
    std::string only;
    bool verbose = false;
    bool keep = false;      // keeps the folder with the programs' error output and fault logs
    bool oursOnly = false;  // leaves out the peer with itself (its column stays empty)
    std::string tool = std::string(QUILITE_BINARY_DIR) + "/tools/quilite-xfer";  // another build's
};

struct Outcome {
    noisy::Run run;
    bool identical = false;
    bool fileLeft = false;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Bench {
public:
    explicit Bench(Settings s) : settings_(std::move(s)) {
        root_ = std::string(QUILITE_BINARY_DIR) + "/noise-bench-XXXXXX";
        if (!mkdtemp(root_.data())) std::exit(1);
        src_ = root_ + "/src";
        dst_ = root_ + "/dst";
        std::filesystem::create_directories(src_);
        std::mt19937 r(1);
        data_.resize(settings_.size);
        for (char& c : data_)
            c = static_cast<char>(r() & 0xFF);
        std::ofstream(src_ + "/" + kName, std::ios::binary) << data_;
    }
    ~Bench() {
        if (settings_.keep)
            std::printf("logs kept in %s\n", root_.c_str());
        else
            std::filesystem::remove_all(root_);
    }

    std::vector<Peer> peers() const { return noisy::peers(kName, root_); }

    // quilite-xfer; with --keep its diagnostic lines go to the run's log.
    Argv oursSending(const Peer& p, const std::string& logName) const {
        return withLog(
            noisy::oursSending(p, settings_.tool, settings_.timeoutSeconds, src_ + "/" + kName),
            logName);
    }
    Argv oursReceiving(const Peer& p, const std::string& logName) const {
        return withLog(
            noisy::oursReceiving(p, settings_.tool, settings_.timeoutSeconds, dst_, kName),
            logName);
    }

    Outcome run(const Peer& p, const Argv& sender, const Argv& receiver, double rate, uint32_t seed,
                const std::string& logName) {
        std::filesystem::remove_all(dst_);
        std::filesystem::create_directories(dst_);
        FaultRelay::Noise noise;
        noise.bitErrorRate = rate;
        noise.seed = seed;
        Outcome o;
        o.run = noisy::transfer(p, sender, src_, receiver, dst_, noise,
                                (settings_.timeoutSeconds + 10) * 1000,
                                settings_.keep ? root_ + "/" + logName : "");
        const std::string path = dst_ + "/" + kName;
        o.fileLeft = std::filesystem::exists(path);
        const NoisyLine::Outcome &s = o.run.sender, &r = o.run.receiver;
        o.identical = !s.hung && !r.hung && s.status == 0 && r.status == 0 && o.fileLeft &&
                      readAll(path) == data_;
        return o;
    }

    const Settings& settings() const { return settings_; }

private:
    Argv withLog(Argv argv, const std::string& logName) const {
        if (settings_.keep)
            argv.insert(argv.begin() + 4, {"--log", root_ + "/" + logName + ".ours"});
        return argv;
    }

    Settings settings_;
    std::string root_, src_, dst_, data_;
};

// What one of our runs amounts to, beside the whole file: "", or what went wrong with it.
std::string oursVerdict(const Outcome& o, bool oursSends, const Peer& peer, int timeoutSeconds) {
    const NoisyLine::Outcome& ours = oursSends ? o.run.sender : o.run.receiver;
    if (o.identical) return "";
    if (ours.hung) return "HUNG";
    if (ours.status == 0) return "SUCCESS OVER A BAD FILE";
    if (!oursSends && o.fileLeft && !peer.keepsPartial) return "PARTIAL FILE LEFT";
    if (ours.ms > (timeoutSeconds + 1) * 1000LL) return "LATE ERROR";
    return "error";
}

struct Tally {
    int identical = 0, runs = 0;
    std::string detail;
};

// A peer's label as a part of a file name.
std::string fileTag(std::string label) {
    for (char& c : label)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return label;
}

std::string cell(const Tally& t) {
    return std::to_string(t.identical) + "/" + std::to_string(t.runs);
}

void printRun(const Peer& peer, double rate, uint32_t seed, const char* what, const Outcome& o) {
    const NoisyLine::Outcome &s = o.run.sender, &r = o.run.receiver;
    std::printf("  %s %g seed %u %s: sender %d%s %.1f s, receiver %d%s %.1f s, %d faults, %s\n",
                peer.label.c_str(), rate, seed, what, s.status, s.hung ? " (hung)" : "",
                s.ms / 1000.0, r.status, r.hung ? " (hung)" : "", r.ms / 1000.0, o.run.faults,
                o.identical ? "identical" : "NOT identical");
    std::fflush(stdout);
}

Settings parse(int argc, char** argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : "";
        if (a == "--seeds")
            s.seeds = std::atoi(v), ++i;
        else if (a == "--first-seed")
            s.firstSeed = std::atoi(v), ++i;
        else if (a == "--size")
            s.size = std::strtoul(v, nullptr, 10), ++i;
        else if (a == "--timeout")
            s.timeoutSeconds = std::atoi(v), ++i;
        else if (a == "--tool")
            s.tool = v, ++i;
        else if (a == "--only")
            s.only = v, ++i;
        else if (a == "--verbose")
            s.verbose = true;
        else if (a == "--keep")
            s.keep = true;
        else if (a == "--ours-only")
            s.oursOnly = true;
        else if (a == "--rates") {
            s.rates.clear();
            std::stringstream list(v);
            for (std::string r; std::getline(list, r, ',');)
                s.rates.push_back(std::stod(r));
            ++i;
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    Bench bench(parse(argc, argv));
    const Settings& s = bench.settings();
    std::printf("Noisy line: %zu-byte random file, %d seeds, bit flips both ways, --timeout %d\n",
                s.size, s.seeds, s.timeoutSeconds);
    std::printf("%-17s %7s  %-11s %-11s %-11s  %s\n", "protocol, peer", "rate", "peer->peer",
                "peer->ours", "ours->peer", "our faults");
    int ourFaults = 0;
    for (const Peer& peer : bench.peers()) {
        if (peer.label.rfind(s.only, 0) != 0) continue;
        for (double rate : s.rates) {
            Tally peers, toOurs, fromOurs;
            for (int i = 0; i < s.seeds; ++i) {
                const uint32_t seed = static_cast<uint32_t>(s.firstSeed + i);
                const std::string tag =
                    fileTag(peer.label) + "-" + std::to_string(seed) + "-" + std::to_string(rate);
                const Outcome pp =
                    s.oursOnly ? Outcome{}
                               : bench.run(peer, peer.send, peer.receive, rate, seed, "pp" + tag);
                const Outcome po = bench.run(peer, peer.send, bench.oursReceiving(peer, "po" + tag),
                                             rate, seed, "po" + tag);
                const Outcome op = bench.run(peer, bench.oursSending(peer, "op" + tag),
                                             peer.receive, rate, seed, "op" + tag);
                peers.runs += !s.oursOnly, toOurs.runs++, fromOurs.runs++;
                peers.identical += pp.identical;
                toOurs.identical += po.identical;
                fromOurs.identical += op.identical;
                for (auto [o, oursSends] : {std::pair{&po, false}, std::pair{&op, true}}) {
                    const std::string verdict = oursVerdict(*o, oursSends, peer, s.timeoutSeconds);
                    if (!verdict.empty() && verdict != "error") {
                        ++ourFaults;
                        (oursSends ? fromOurs : toOurs).detail += " " + verdict;
                    }
                }
                if (s.verbose) {
                    if (!s.oursOnly) printRun(peer, rate, seed, "peer->peer", pp);
                    printRun(peer, rate, seed, "peer->ours", po);
                    printRun(peer, rate, seed, "ours->peer", op);
                }
            }
            std::printf("%-17s %7.0e  %-11s %-11s %-11s %s%s\n", peer.label.c_str(), rate,
                        cell(peers).c_str(), cell(toOurs).c_str(), cell(fromOurs).c_str(),
                        toOurs.detail.c_str(), fromOurs.detail.c_str());
            std::fflush(stdout);
        }
    }
    std::printf("our runs that hung, claimed a bad file, ended late or left a partial file: %d\n",
                ourFaults);
    return ourFaults == 0 ? 0 : 1;
}
