// pppd's files as the backend reads them, in folders of the test's own: peer files, pid files
// (garbage, stale, another program's), interfaces that are up or not; dials through a scripted
// pon whose arguments and exit status the test sees.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "link/PppdBackend.h"
#include "platform/PollEventLoop.h"
#include "tests/fixtures/LoopWait.h"

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& text, bool executable = false) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    if (executable) chmod(path.c_str(), 0755);
}

class PppdBackendTest : public ::testing::Test {
protected:
    PppdBackendTest() {
        char pattern[] = "/tmp/quilite-pppd-XXXXXX";
        root_ = mkdtemp(pattern);
        paths_.peers = root_ / "peers";
        paths_.run = root_ / "run";
        paths_.proc = root_ / "proc";
        paths_.net = root_ / "net";
        paths_.pon = root_ / "bin/pon";
        paths_.poff = root_ / "bin/poff";
        paths_.pppd = root_ / "bin/pppd";
        fs::create_directories(paths_.peers);
        fs::create_directories(paths_.run);
        // pon records its words and exits with the status the test left for it.
        writeFile(paths_.pon,
                  "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/pon.args\"\n"
                  "exit $(cat \"$(dirname \"$0\")/pon.status\")\n",
                  true);
        writeFile(paths_.poff, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/poff.args\"\n", true);
        writeFile(paths_.pppd, "#!/bin/sh\n", true);
        backend_.emplace(loop_, launcher_, paths_);
    }
    ~PppdBackendTest() override { fs::remove_all(root_); }

    // Interface name (type 512 is PPP) with its up flag, and the pppd its pid file names.
    void addInterface(const std::string& name, bool up, int type = 512) {
        writeFile(root_ / "net" / name / "type", std::to_string(type) + "\n");
        writeFile(root_ / "net" / name / "flags", up ? "0x1091\n" : "0x1090\n");
    }
    void addProcess(int pid, const std::string& cmdline) {
        writeFile(root_ / "proc" / std::to_string(pid) / "cmdline", cmdline);
    }
    int dial(const std::string& name, int ponStatus) {
        writeFile(root_ / "bin/pon.status", std::to_string(ponStatus));
        int result = -1;
        backend_->dial(name, [&result](int code) { result = code; });
        EXPECT_EQ(result, -1);  // never from inside dial
        EXPECT_TRUE(runLoopUntil(
            loop_, [&] { return result != -1; }, 5000));
        return result;
    }
    std::string ponArgs() {
        std::ifstream in(root_ / "bin/pon.args");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
    PppdPaths paths_;
    PollEventLoop loop_;
    ProcessLauncher launcher_;
    std::optional<PppdBackend> backend_;
};

TEST_F(PppdBackendTest, EntriesArePlainFilesWithPlainNames) {
    writeFile(root_ / "peers/isp", "pty /bin/false\n");
    writeFile(root_ / "peers/another", "");
    writeFile(root_ / "peers/.hidden", "");
    writeFile(root_ / "peers/-x", "");
    writeFile(root_ / "peers/with space", "");
    fs::create_directories(root_ / "peers/folder");
    EXPECT_EQ(backend_->entries(), (std::vector<std::string>{"another", "isp"}));
    EXPECT_EQ(backend_->entryFile("isp"), (root_ / "peers/isp").string());
    EXPECT_EQ(backend_->entryFile("../peers/isp"), "");
    EXPECT_EQ(backend_->entryFile("folder"), "");
}

TEST_F(PppdBackendTest, UnreadablePeersFolderHasNoEntries) {
    fs::remove_all(root_ / "peers");
    EXPECT_TRUE(backend_->entries().empty());
    std::string reason;
    EXPECT_FALSE(backend_->installed(reason));
    EXPECT_EQ(reason, "ppp 패키지가 없습니다");
    if (geteuid() != 0) {  // root reads any folder
        fs::create_directories(root_ / "peers");
        chmod((root_ / "peers").c_str(), 0);
        EXPECT_FALSE(backend_->installed(reason));
        EXPECT_EQ(reason, "dip 그룹의 사용자가 아닙니다");
        EXPECT_TRUE(backend_->entries().empty());
    }
}

TEST_F(PppdBackendTest, InstalledNeedsEveryCommand) {
    std::string reason;
    EXPECT_TRUE(backend_->installed(reason) || geteuid() != 0) << reason;
    fs::remove(paths_.poff);
    EXPECT_FALSE(backend_->installed(reason));
    EXPECT_EQ(reason, "ppp 패키지가 없습니다");
}

// Which connections count as up: the pid file must name a running "pppd call NAME" and the
// interface must be up; other PPP interfaces that are up are someone else's connections.
TEST_F(PppdBackendTest, ConnectionsFromPidFilesAndInterfaces) {
    addInterface("ppp0", true);
    writeFile(root_ / "run/ppp0.pid", "4242\n");
    addProcess(4242, std::string("/usr/sbin/pppd\0call\0isp\0updetach\0", 34));
    addInterface("ppp1", true);  // garbage pid file
    writeFile(root_ / "run/ppp1.pid", "12ab\n");
    addInterface("ppp2", true);  // stale pid: no such process
    writeFile(root_ / "run/ppp2.pid", "5555\n");
    addInterface("ppp3", true);  // the pid is not a pppd
    writeFile(root_ / "run/ppp3.pid", "6666");
    addProcess(6666, std::string("/bin/sh\0call\0other\0", 19));
    addInterface("ppp4", false);  // down
    writeFile(root_ / "run/ppp4.pid", "7777\n");
    addProcess(7777, std::string("pppd\0call\0down\0", 15));
    addInterface("eth0", true, 1);  // not PPP
    addInterface("ppp5", true);     // a peer name that is not plain
    writeFile(root_ / "run/ppp5.pid", "8888\n");
    addProcess(8888, std::string("pppd\0call\0../x\0", 15));

    EXPECT_EQ(backend_->activeConnections(),
              (std::vector<std::string>{"isp", "ppp1", "ppp2", "ppp3", "ppp5"}));
    EXPECT_TRUE(backend_->connectStatus("isp"));
    EXPECT_TRUE(backend_->connectStatus("ppp1"));
    for (const char* name : {"other", "down", "../x", "ppp0", "ppp4", ""})
        EXPECT_FALSE(backend_->connectStatus(name)) << name;
    EXPECT_EQ(backend_->pppdOf("isp"), 4242);
    EXPECT_EQ(backend_->pppdOf("down"), 7777);
    EXPECT_EQ(backend_->pppdOf("other"), -1);
}

TEST_F(PppdBackendTest, NoInterfacesFolderMeansNothingUp) {
    EXPECT_TRUE(backend_->activeConnections().empty());
    EXPECT_FALSE(backend_->connectStatus("isp"));
}

TEST_F(PppdBackendTest, DialRunsPonWithOneWordAndReportsItsStatus) {
    EXPECT_EQ(dial("isp", 0), 0);
    EXPECT_EQ(ponArgs(), "isp|updetach|");
    EXPECT_EQ(dial("my isp", 0), PppdBackend::kBadName);
    EXPECT_EQ(dial("-x", 0), PppdBackend::kBadName);  // pon -x would print its usage and exit 0
    EXPECT_EQ(dial("../isp", 0), PppdBackend::kBadName);
    EXPECT_EQ(ponArgs(), "isp|updetach|");
    EXPECT_EQ(dial("isp", 8), 8);
    EXPECT_EQ(backend_->errorText(8), "연결 스크립트가 실패했습니다");
    EXPECT_EQ(backend_->errorText(4), "커널에 PPP가 없습니다");
    EXPECT_EQ(backend_->errorText(99), "전화 접속 네트워킹 오류 99");
    fs::remove(paths_.pon);
    EXPECT_EQ(dial("isp", 0), PppdBackend::kNotStarted);
}

TEST_F(PppdBackendTest, HangUpRunsPoffWithTheName) {
    backend_->hangUp("isp");
    std::ifstream in(root_ / "bin/poff.args");
    std::string words;
    std::getline(in, words);
    EXPECT_EQ(words, "isp");
    fs::remove(root_ / "bin/poff.args");
    backend_->hangUp("-a");  // poff -a would end every connection
    EXPECT_FALSE(fs::exists(root_ / "bin/poff.args"));
}

}  // namespace
