// lrzsz as the host at the far end of a modem call: its files reach our ZMODEM engine
// byte-exact over the serial link in transfer mode, and ours reach it. The call is dialled
// and ends as a real one does: carrier drops when the host goes away.
#include "tests/fixtures/HayesModem.h"
#include "tests/fixtures/PeerProcess.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/link/SerialTestSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using xfertest::readFile;
using xfertest::sameBytes;
using xfertest::writeFile;

class SerialLrzsz : public SerialTest {
protected:
    SerialLrzsz()
        : src(folder.make("src")), dst(folder.make("dst")), modem(cable), link(context()) {
        writeFile(src + "/awkward.bin", xfertest::awkwardData());
        writeFile(src + "/random.bin", xfertest::randomData(4u << 20, 5));
        writeFile(src + "/text.txt", xfertest::textData(50000));
    }

    // Dials the host, which runs `peer` on the other end of a socket.
    std::unique_ptr<PeerProcess> call(const std::vector<std::string>& peer,
                                      const std::string& folderOfPeer) {
        SocketPair host;
        auto process =
            std::make_unique<PeerProcess>(peer, host.theirs, folderOfPeer, folder / "peer.log");
        host.closeTheirs();
        modem.connectRemote(host.ours);
        host.ours = -1;  // the modem's now
        EXPECT_TRUE(link.Open(cable.slavePath, SerialLink::kModem, 8192, 8192));
        pump(link);
        modem.onDial("0142", {{50, "CONNECT 33600"}});
        link.SendCommand("ATDT0142");
        EXPECT_TRUE(waitFor("CONNECT 33600\r\n"));
        EXPECT_TRUE(runUntil([&] { return link.IsOnline(); }));
        return process;
    }

    // Our engine on a transfer thread; the pump stays off the link meanwhile, as the session's
    // does.
    int transfer(bool send, const std::string& files) {
        loop.setIdleHook(nullptr);
        const int r = runZmodem(link, monitor, send, files);
        pump(link);
        return r;
    }

    void expectSame(const std::string& name) {
        EXPECT_TRUE(sameBytes(readFile(dst + "/" + name), readFile(src + "/" + name))) << name;
    }

    xfertest::TempFolder folder;
    std::string src, dst;
    HayesModem modem;
    SerialLink link;
    RecordingMonitor monitor{dst};
};

TEST_F(SerialLrzsz, SzSendsToOurReceiver) {
    auto sz = call({"sz", "awkward.bin", "random.bin", "text.txt"}, src);
    EXPECT_EQ(transfer(false, ""), 0);
    EXPECT_EQ(sz->wait(30000), 0);
    for (const char* name : {"awkward.bin", "random.bin", "text.txt"})
        expectSame(name);
    EXPECT_TRUE(runUntil([&] { return !link.IsOnline(); }));
}

class OurSender : public SerialLrzsz, public ::testing::WithParamInterface<int> {};

TEST_P(OurSender, SendsToRz) {
    comm.SetInt("ZmodemEscape", GetParam());
    auto rz = call({"rz"}, dst);
    EXPECT_EQ(transfer(true, src + "/awkward.bin\t" + src + "/random.bin\t" + src + "/text.txt"),
              0);
    EXPECT_EQ(rz->wait(30000), 0);
    for (const char* name : {"awkward.bin", "random.bin", "text.txt"})
        expectSame(name);
    EXPECT_TRUE(runUntil([&] { return !link.IsOnline(); }));
}

// Without and with every control byte escaped (the "ZmodemEscape" setting).
INSTANTIATE_TEST_SUITE_P(Escaping, OurSender, ::testing::Values(0, 1));

}  // namespace
