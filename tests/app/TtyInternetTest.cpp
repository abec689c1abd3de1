// Dial-up networking through the real pppd, started by the real pon and poff, as root in a mount
// and network namespace of the test's own with a peers folder bind-mounted over the system's.
// A dial that fails (no PPP in the kernel, or a peer that hangs up at once) is driven through
// quilite --tty in tmux; a link to a far pppd in a network namespace of its own needs kernel
// PPP. Each case skips, saying why, where this machine does not allow it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "link/InternetSettings.h"
#include "link/PppdBackend.h"
#include "platform/PollEventLoop.h"
#include "tests/app/TtyModemProfile.h"
#include "tests/fixtures/HayesModem.h"
#include "tests/fixtures/LoopWait.h"
#include "tests/fixtures/TmuxSession.h"

namespace fs = std::filesystem;

namespace {

const char* const kPeers = "/etc/ppp/peers";

// Why this process cannot dial with pppd in namespaces of its own; "" when it now runs in them
// with `peers` mounted over the system's peers folder.
std::string enterPppNamespace(const std::string& peers) {
    if (geteuid() != 0) return "not root";
    if (!ProcessLauncher::programFound("pon") ||
        !ProcessLauncher::programFound("pppd", "/usr/sbin:/sbin") || !fs::is_directory(kPeers)) {
        return "pppd, pon or " + std::string(kPeers) + " missing (Debian package ppp)";
    }
    if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0) return "unshare: " + std::string(strerror(errno));
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(peers.c_str(), kPeers, nullptr, MS_BIND, nullptr) != 0) {
        return "mount: " + std::string(strerror(errno));
    }
    return "";
}

// Why kernel PPP cannot be used; "" when /dev/ppp opens.
std::string kernelPppMissing() {
    const int fd = open("/dev/ppp", O_RDWR);
    if (fd >= 0) {
        close(fd);
        return "";
    }
    return std::string("/dev/ppp: ") + strerror(errno) +
           (errno == ENXIO ? " (no ppp_generic driver)" : "");
}

class PppdPeers : public ::testing::Test {
protected:
    PppdPeers() {
        char pattern[] = "/tmp/quilite-ppp-XXXXXX";
        dir = mkdtemp(pattern);
        fs::create_directories(dir + "/peers");
        // A peer that hangs up at once, and a far pppd in a network namespace of its own.
        std::ofstream(dir + "/peers/qfail") << "pty /bin/false\nnoauth\nlocal\nnodefaultroute\n";
        std::ofstream(dir + "/peers/qlink")
            << "pty \"unshare --net pppd notty nodetach noauth local nodefaultroute "
               "10.64.0.2:10.64.0.1\"\nnoauth\nlocal\nnodefaultroute\n10.64.0.1:10.64.0.2\n";
        why = enterPppNamespace(dir + "/peers");
    }
    ~PppdPeers() override {
        if (why.empty()) umount2(kPeers, MNT_DETACH);
        fs::remove_all(dir);
    }

    std::string dir;
    std::string why;  // why pppd cannot be run here
};

class TtyInternet : public PppdPeers {
protected:
    TtyInternet() : modem(cable) {
        std::unique_ptr<Registry> registry = openTtyModemProfile(dir, cable.slavePath);
        StoreInternetSettings(*registry, {false, false, true, "qfail"});
    }
    ~TtyInternet() override { tmux.reset(); }

    int initsSeen() {
        int count = 0;
        for (const std::string& got : modem.commands())
            count += got == "AT&F E1 V1";
        return count;
    }

    PtyCable cable;
    HayesModem modem;
    std::unique_ptr<TmuxSession> tmux;
};

// Ctrl-] w and Enter dial the connection of the settings; pppd fails, the status line says why
// and the modem is opened and initialised again.
TEST_F(TtyInternet, AFailedDialShowsWhyAndTheModemComesBack) {
    if (!why.empty()) GTEST_SKIP() << why;
    fs::create_directories(dir + "/run");
    tmux = std::make_unique<TmuxSession>(
        dir, 80, 25,
        std::vector<std::string>{
            "HOME=" + dir, "XDG_CONFIG_HOME=" + dir + "/config", "XDG_DATA_HOME=" + dir + "/data",
            "XDG_RUNTIME_DIR=" + dir + "/run", "QUILITE_DATA_DIR=" QUILITE_SOURCE_DIR "/data"},
        std::vector<std::string>{QUILITE_BINARY_DIR "/app/quilite", "--tty"});
    ASSERT_TRUE(tmux->WaitForScreen("OK")) << tmux->Screen();
    const int inits = initsSeen();
    tmux->Keys({"C-]", "w"});
    ASSERT_TRUE(tmux->WaitForScreen("인터넷 주소:")) << tmux->Screen();
    tmux->Keys({"Enter"});
    const std::string reason = kernelPppMissing().empty() ? "" : "커널에 PPP가 없습니다";
    ASSERT_TRUE(tmux->WaitForScreen("인터넷 연결 실패: " + reason, 30000)) << tmux->Screen();
    for (int i = 0; i < 500 && initsSeen() == inits; ++i)
        usleep(20000);
    EXPECT_EQ(initsSeen(), inits + 1);
}

// A link to a far pppd: up with both addresses, then hung up and gone.
TEST_F(PppdPeers, ALinkComesUpAndGoesDown) {
    if (!why.empty()) GTEST_SKIP() << why;
    if (const std::string missing = kernelPppMissing(); !missing.empty()) GTEST_SKIP() << missing;
    PollEventLoop loop;
    ProcessLauncher launcher;
    PppdBackend backend(loop, launcher);
    int result = -1;
    backend.dial("qlink", [&](int code) { result = code; });
    ASSERT_TRUE(runLoopUntil(
        loop, [&] { return result != -1; }, 30000));
    ASSERT_EQ(result, 0) << backend.errorText(result);
    EXPECT_TRUE(backend.connectStatus("qlink"));
    EXPECT_EQ(backend.activeConnections(), std::vector<std::string>{"qlink"});

    const int ip = launcher.start({"sh", "-c", "ip -4 addr > " + dir + "/addr"}).pid;
    launcher.wait(ip, 5000);
    std::ifstream in(dir + "/addr");
    const std::string addresses(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(addresses.find("inet 10.64.0.1 peer 10.64.0.2"), std::string::npos) << addresses;

    backend.hangUp("qlink");
    EXPECT_FALSE(backend.connectStatus("qlink"));
    EXPECT_TRUE(backend.activeConnections().empty());
}

}  // namespace
