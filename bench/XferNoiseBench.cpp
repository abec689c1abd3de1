// Transfers on a noisy line against the real peers, over more seeds than the tests run: a
// random file goes through a FaultRelay that flips bits at a seeded bit error rate in both
// directions. For each protocol and peer, quilite-xfer sends to the peer and receives from
// it, and the peer sends to itself. The table counts the runs that ended with an identical
// file and both sides content, ours beside the peer with itself. Every other run of ours must
// end with an error within its --timeout and a second; a hang, a success over a damaged or
// missing file, or a partial file left under its name (outside ZMODEM, which keeps it for
// resuming) is counted as a fault.
//   xfer_noise_bench [--seeds N] [--first-seed N] [--rates 1e-5,1e-4] [--size BYTES]
//                    [--timeout SECONDS]
//                    [--only LABEL-PREFIX] [--verbose] [--keep]
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/fixtures/NoisyLine.h"

namespace {

const std::string kTool = std::string(QUILITE_BINARY_DIR) + "/tools/quilite-xfer";
const char* const kName = "data.bin";

struct Settings {
    int seeds = 4;
    int firstSeed = 1;
    std::vector<double> rates = {1e-5, 1e-4};
    size_t size = 1u << 20;
    int timeoutSeconds = 60;
    std::string only;
    bool verbose = false;
    bool keep = false;  // keeps the folder with the programs' error output and fault logs
};

using Argv = std::vector<std::string>;

// A protocol and the peer that speaks it.
struct Peer {
    std::string label;
    std::string protocol;  // for quilite-xfer -p
    NoisyLine::Wire wire;
    std::function<Argv()> send, receive;
    bool receiverNamesFile = false;  // XMODEM carries no name
    bool keepsPartial = false;       // ZMODEM resumes a partial file
    bool receiverFirst = false;      // the sender's first packet would be purged otherwise
};

struct Run {
    int sender = -1, receiver = -1;
    bool senderHung = false, receiverHung = false;
    int64_t senderMs = 0, receiverMs = 0;
    bool identical = false;
    bool fileLeft = false;
    int faults = 0;
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
        for (char& c : data_) c = static_cast<char>(r() & 0xFF);
        std::ofstream(src_ + "/" + kName, std::ios::binary) << data_;
    }
    ~Bench() {
        if (settings_.keep) std::printf("logs kept in %s\n", root_.c_str());
        else std::filesystem::remove_all(root_);
    }

    std::vector<Peer> peers() const {
        const NoisyLine::Wire pipes = NoisyLine::Wire::kPipes, pty = NoisyLine::Wire::kPty;
        const std::string ksend = kermitScript("send.ksc", std::string("send ") + kName);
        const std::string kreceive = kermitScript("receive.ksc", "receive");
        return {
            {"ZMODEM sz/rz", "ZMODEM", pipes, [] { return Argv{"sz", kName}; },
             [] { return Argv{"rz"}; }, false, true},
            {"YMODEM sb/rb", "YMODEM", pipes, [] { return Argv{"sb", "-k", kName}; },
             [] { return Argv{"rb"}; }},
            {"XMODEM sx/rx", "XMODEM", pipes, [] { return Argv{"sx", "-b", kName}; },
             [] { return Argv{"rx", "-b", "-c", kName}; }, true},
            {"XMODEM-1K sx/rx", "XMODEM-1K", pipes, [] { return Argv{"sx", "-b", "-k", kName}; },
             [] { return Argv{"rx", "-b", "-c", kName}; }, true},
            {"KERMIT C-Kermit", "KERMIT", pty, [=] { return Argv{"kermit", ksend, "-Y"}; },
             [=] { return Argv{"kermit", kreceive, "-Y"}; }, false, false, true},
            {"KERMIT gkermit", "KERMIT", pty, [] { return Argv{"gkermit", "-q", "-i", "-s", kName}; },
             [] { return Argv{"gkermit", "-q", "-i", "-r"}; }, false, false, true},
        };
    }

    // quilite-xfer; with --keep its diagnostic lines go to the run's log.
    Argv oursSending(const Peer& p, const std::string& logName) const {
        Argv argv{kTool, "send", "-p", p.protocol, "--timeout", timeout()};
        if (settings_.keep) argv.insert(argv.end(), {"--log", root_ + "/" + logName + ".ours"});
        argv.push_back(src_ + "/" + kName);
        return argv;
    }
    Argv oursReceiving(const Peer& p, const std::string& logName) const {
        Argv argv{kTool, "receive", "-p", p.protocol, "--timeout", timeout(), "-d", dst_};
        if (settings_.keep) argv.insert(argv.end(), {"--log", root_ + "/" + logName + ".ours"});
        if (p.receiverNamesFile) argv.push_back(kName);
        return argv;
    }

    Run run(const Peer& p, const Argv& sender, const Argv& receiver, double rate, uint32_t seed,
            const std::string& logName) {
        std::filesystem::remove_all(dst_);
        std::filesystem::create_directories(dst_);
        FaultRelay::Noise noise;
        noise.bitErrorRate = rate;
        noise.seed = seed;
        NoisyLine line(noise, noise);
        const std::string logs = root_ + "/" + logName;
        if (p.receiverFirst) {
            line.addProgram(receiver, dst_, p.wire, logs + ".receiver");
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            line.addProgram(sender, src_, p.wire, logs + ".sender");
        } else {
            line.addProgram(sender, src_, p.wire, logs + ".sender");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            line.addProgram(receiver, dst_, p.wire, logs + ".receiver");
        }
        auto [first, second] = line.finish((settings_.timeoutSeconds + 10) * 1000);
        const NoisyLine::Outcome& s = p.receiverFirst ? second : first;
        const NoisyLine::Outcome& r = p.receiverFirst ? first : second;
        Run result{s.status, r.status, s.hung, r.hung, s.ms, r.ms};
        const std::string path = dst_ + "/" + kName;
        result.fileLeft = std::filesystem::exists(path);
        result.identical = !s.hung && !r.hung && s.status == 0 && r.status == 0 &&
                           result.fileLeft && readAll(path) == data_;
        result.faults = line.faultCount();
        if (settings_.keep) line.writeLog(logs + ".faults");
        return result;
    }

    const Settings& settings() const { return settings_; }

private:
    std::string timeout() const { return std::to_string(settings_.timeoutSeconds); }
    // C-Kermit as a user runs it, told only to overwrite and to keep quiet.
    std::string kermitScript(const std::string& name, const std::string& action) const {
        const std::string path = root_ + "/" + name;
        std::ofstream(path) << "set delay 0\nset file type binary\nset file names literal\n"
                               "set file collision overwrite\nset transfer display none\n"
                            << action << "\nif fail exit 1\nexit 0\n";
        return path;
    }

    Settings settings_;
    std::string root_, src_, dst_, data_;
};

// What one of our runs amounts to, beside the whole file: "", or what went wrong with it.
std::string oursVerdict(const Run& run, bool oursSends, const Peer& peer, int timeoutSeconds) {
    const bool hung = oursSends ? run.senderHung : run.receiverHung;
    const int status = oursSends ? run.sender : run.receiver;
    const int64_t ms = oursSends ? run.senderMs : run.receiverMs;
    if (run.identical) return "";
    if (hung) return "HUNG";
    if (status == 0) return "SUCCESS OVER A BAD FILE";
    if (!oursSends && run.fileLeft && !peer.keepsPartial) return "PARTIAL FILE LEFT";
    if (ms > (timeoutSeconds + 1) * 1000LL) return "LATE ERROR";
    return "error";
}

struct Tally {
    int identical = 0, runs = 0, faults = 0;
    std::string detail;
};

std::string cell(const Tally& t) {
    return std::to_string(t.identical) + "/" + std::to_string(t.runs);
}

Settings parse(int argc, char** argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : "";
        if (a == "--seeds") s.seeds = std::atoi(v), ++i;
        else if (a == "--first-seed") s.firstSeed = std::atoi(v), ++i;
        else if (a == "--size") s.size = std::strtoul(v, nullptr, 10), ++i;
        else if (a == "--timeout") s.timeoutSeconds = std::atoi(v), ++i;
        else if (a == "--only") s.only = v, ++i;
        else if (a == "--verbose") s.verbose = true;
        else if (a == "--keep") s.keep = true;
        else if (a == "--rates") {
            s.rates.clear();
            std::stringstream list(v);
            for (std::string r; std::getline(list, r, ',');) s.rates.push_back(std::stod(r));
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
                const std::string tag = std::to_string(seed) + "-" + std::to_string(rate);
                const Run pp = bench.run(peer, peer.send(), peer.receive(), rate, seed, "pp" + tag);
                const Run po = bench.run(peer, peer.send(), bench.oursReceiving(peer, "po" + tag),
                                         rate, seed, "po" + tag);
                const Run op = bench.run(peer, bench.oursSending(peer, "op" + tag), peer.receive(),
                                         rate, seed, "op" + tag);
                peers.runs++, toOurs.runs++, fromOurs.runs++;
                peers.identical += pp.identical;
                toOurs.identical += po.identical;
                fromOurs.identical += op.identical;
                for (auto [run, oursSends] : {std::pair{&po, false}, std::pair{&op, true}}) {
                    const std::string verdict = oursVerdict(*run, oursSends, peer, s.timeoutSeconds);
                    if (!verdict.empty() && verdict != "error") {
                        ++ourFaults;
                        (oursSends ? fromOurs : toOurs).detail += " " + verdict;
                    }
                }
                if (s.verbose) {
                    for (auto [what, run] : {std::pair{"peer->peer", &pp}, std::pair{"peer->ours", &po},
                                             std::pair{"ours->peer", &op}}) {
                        std::printf("  %s %g seed %u %s: sender %d%s %.1f s, receiver %d%s %.1f s,"
                                    " %d faults, %s\n",
                                    peer.label.c_str(), rate, seed, what, run->sender,
                                    run->senderHung ? " (hung)" : "", run->senderMs / 1000.0,
                                    run->receiver, run->receiverHung ? " (hung)" : "",
                                    run->receiverMs / 1000.0, run->faults,
                                    run->identical ? "identical" : "NOT identical");
                    }
                    std::fflush(stdout);
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
