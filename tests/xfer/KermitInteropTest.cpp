// Our Kermit engine against C-Kermit and gkermit over a pty, in both directions: every byte
// value, long runs of prefix characters, awkward names, and eighth-bit prefixing forced by
// space parity on the peer's side. Each peer runs in a session of its own with the pty as its
// controlling terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "tests/fixtures/EngineThread.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/xfer/KermitFaultyLink.h"
#include "tests/xfer/KermitTestSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;

enum class Peer { kCKermit, kGkermit };

struct PeerCase {
    Peer peer;
    bool paritySpace;
};

std::string caseName(const ::testing::TestParamInfo<PeerCase>& info) {
    return std::string(info.param.peer == Peer::kCKermit ? "CKermit" : "Gkermit") +
           (info.param.paritySpace ? "SpaceParity" : "NoParity");
}

class KermitPeer : public ::testing::TestWithParam<PeerCase> {
protected:
    KermitPeer() : src(dir.make("src")), dst(dir.make("dst")), ours(dst) {}

    void add(const std::string& name, const std::string& data) {
        xfertest::writeFile(src + "/" + name, data);
        expected[name] = data;
        names.push_back(name);
    }
    // gkermit cannot put a name with bytes above 127 in a packet (it sends an empty one), so
    // it sends no Korean names.
    void addAwkwardFiles(bool peerSends) {
        const std::vector<std::string> awkward = kermittest::awkwardNames();
        add(awkward[0], kermittest::awkwardData());
        for (size_t i = 1; i < awkward.size(); ++i) {
            const bool ascii = std::all_of(awkward[i].begin(), awkward[i].end(),
                                           [](char c) { return (c & 0x80) == 0; });
            if (!ascii && peerSends && GetParam().peer == Peer::kGkermit) continue;
            add(awkward[i], xfertest::randomData(5000 * i, static_cast<uint32_t>(i)));
        }
    }
    // A name inside braces in a C-Kermit command, with its escapes.
    static std::string quoted(const std::string& name) {
        std::string out = "{";
        for (char c : name) {
            if (c == '\\' || c == '#') out += '\\';
            out += c;
        }
        return out + "}";
    }
    // C-Kermit reads its commands from a file given as its first argument.
    std::vector<std::string> ckermit(const std::string& action) {
        const std::string script = dir / "commands.ksc";
        std::string text =
            "set delay 0\nset file type binary\nset file names literal\n"
            "set file collision overwrite\nset transfer display none\n";
        if (GetParam().paritySpace) text += "set parity space\n";
        text += action + "\nif fail exit 1\nexit 0\n";
        xfertest::writeFile(script, text);
        return {"kermit", script, "-Y"};
    }
    std::vector<std::string> peerSending() {
        if (GetParam().peer == Peer::kGkermit) {
            std::vector<std::string> argv = gkermit();
            argv.push_back("-s");
            argv.insert(argv.end(), names.begin(), names.end());
            return argv;
        }
        std::string action = "msend";
        for (const std::string& n : names)
            action += " " + quoted(n);
        return ckermit(action);
    }
    std::vector<std::string> peerReceiving() {
        if (GetParam().peer == Peer::kCKermit) return ckermit("receive");
        std::vector<std::string> argv = gkermit();
        argv.push_back("-r");
        return argv;
    }
    std::vector<std::string> gkermit() {
        std::vector<std::string> argv{"gkermit", "-q", "-i", "-P", "-w"};
        if (GetParam().paritySpace) argv.insert(argv.end(), {"-p", "s"});
        return argv;
    }

    EngineThread::Options options() const {
        EngineThread::Options o;
        o.protocol = "KERMIT";
        if (corrupt > 0) {
            o.wrapLink = [rate = corrupt](GFComLink& inner, Clock& clock) {
                return std::make_unique<KermitFaultyLink>(inner, clock,
                                                          KermitFaultyLink::Rates{0, 0, rate, 7});
            };
        }
        return o;
    }
    // {our result, the peer's exit status}
    std::pair<int, int> fromPeer() {
        PtyPair pty;
        PeerProcess peer(peerSending(), pty.theirs, src, dir / "peer.log");
        pty.closeTheirs();
        EngineThread engine(pty.ours, false, "", ours, options());
        const int r = engine.result(120000);
        return {r, peer.wait(30000)};
    }
    std::pair<int, int> toPeer() {
        PtyPair pty;
        PeerProcess peer(peerReceiving(), pty.theirs, dst, dir / "peer.log");
        pty.closeTheirs();
        std::string files;
        for (const std::string& n : names)
            files += (files.empty() ? "" : "\t") + src + "/" + n;
        EngineThread engine(pty.ours, true, files, ours, options());
        const int r = engine.result(120000);
        return {r, peer.wait(30000)};
    }
    void expectArrived() {
        for (auto& [name, data] : expected)
            EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), data)) << name;
    }

    xfertest::TempFolder dir;
    std::string src, dst;
    std::vector<std::string> names;
    std::map<std::string, std::string> expected;
    RecordingMonitor ours;
    // The share of packets damaged on our side of the line, both ways.
    double corrupt = 0;
};

TEST_P(KermitPeer, SendsToUs) {
    addAwkwardFiles(true);
    add("random.bin", xfertest::randomData(300000, 11));
    EXPECT_EQ(fromPeer(), std::make_pair(0, 0));
    expectArrived();
    EXPECT_EQ(ours.GetFileCount(), static_cast<int>(names.size()));
    // Space parity makes the peer ask for eighth-bit prefixing; otherwise it sends 8 bits.
    EXPECT_EQ(ours.indexOf("msg qbin=1 his_qbin=&") >= 0, GetParam().paritySpace);
    EXPECT_GE(ours.indexOf("msg block check type 3"), 0);  // every peer asks for the CRC
}

TEST_P(KermitPeer, ReceivesFromUs) {
    addAwkwardFiles(false);
    add("random.bin", xfertest::randomData(300000, 11));
    EXPECT_EQ(toPeer(), std::make_pair(0, 0));
    expectArrived();
    EXPECT_GE(ours.indexOf("msg qbin=1"), 0);  // every peer agrees to our eighth-bit prefix
    EXPECT_GE(ours.indexOf("msg rpt flag=1"), 0);
    EXPECT_GE(ours.indexOf("msg block check type 3"), 0);  // and every peer agrees to ours
}

// One bit flipped in one packet out of ten, both ways: the peer and we ask again and go on.
TEST_P(KermitPeer, DamagedPacketsAreSentAgain) {
    corrupt = 0.1;
    add("random.bin", xfertest::randomData(50000, 12));
    EXPECT_EQ(fromPeer(), std::make_pair(0, 0));
    expectArrived();
    EXPECT_GT(ours.GetErrors(), 0);
    std::filesystem::remove_all(dst);
    dst = dir.make("dst2");
    EXPECT_EQ(toPeer(), std::make_pair(0, 0));
    expectArrived();
    EXPECT_GT(ours.GetErrors(), 0);
}

INSTANTIATE_TEST_SUITE_P(Peers, KermitPeer,
                         ::testing::Values(PeerCase{Peer::kCKermit, false},
                                           PeerCase{Peer::kCKermit, true},
                                           PeerCase{Peer::kGkermit, false},
                                           PeerCase{Peer::kGkermit, true}),
                         caseName);

}  // namespace
