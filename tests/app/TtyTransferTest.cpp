// quilite --tty in a tmux terminal, connected to telnetd whose test program runs lrzsz: the
// host's sz downloads into the download folder under its Korean name without a question, its
// rz asks for the files on the status line, and Esc on the progress line aborts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "auto/FirstRunSetup.h"
#include "auto/Folders.h"
#include "auto/ProfileStore.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/fixtures/TmuxSession.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using xfertest::readFile;

class TtyTransfer : public ::testing::Test {
protected:
    TtyTransfer() {
        char pattern[] = "/tmp/quilite-ttyx-XXXXXX";
        dir = mkdtemp(pattern);
        std::filesystem::create_directories(dir + "/src");
        std::filesystem::create_directories(dir + "/down");
        mkdir((dir + "/run").c_str(), 0700);
        ScriptedPrompt prompt;
        std::string error;
        std::unique_ptr<Registry> registry =
            openProfileStore(dir + "/config/quilite/profile.db", prompt, error);
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
        SetFolder(*registry, FolderKind::Download, dir + "/down");
    }
    ~TtyTransfer() override {
        tmux.reset();
        std::filesystem::remove_all(dir);
    }

    // Connects to the test program and has it run `command` (UTF-8, typed as the user would).
    void runOnHost(const std::string& command) {
        std::vector<std::string> env{
            "HOME=" + dir, "XDG_CONFIG_HOME=" + dir + "/config", "XDG_DATA_HOME=" + dir + "/data",
            "XDG_RUNTIME_DIR=" + dir + "/run", "QUILITE_DATA_DIR=" QUILITE_SOURCE_DIR "/data"};
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = getenv(name)) env.push_back(std::string(name) + "=" + value);
        tmux = std::make_unique<TmuxSession>(
            dir, 100, 25, env,
            std::vector<std::string>{QUILITE_BINARY_DIR "/app/quilite", "--tty", "127.0.0.1",
                                     std::to_string(server.port())});
        ASSERT_TRUE(tmux->WaitForScreen("ready>", 10000)) << tmux->Screen();
        tmux->Type(command);
        tmux->Keys({"Enter"});
        ASSERT_TRUE(tmux->WaitForScreen("READY", 10000)) << tmux->Screen();
        tmux->Type("g");
    }
    bool waitForFile(const std::string& path, size_t size, int timeoutMs = 60000) {
        for (int i = 0; i < timeoutMs / 50; ++i) {
            std::error_code error;
            if (std::filesystem::file_size(path, error) == size && !error) return true;
            usleep(50000);
        }
        return false;
    }

    std::string dir;
    TelnetServer server{TelnetServer::Kind::Inetutils};
    std::unique_ptr<TmuxSession> tmux;
};

TEST_F(TtyTransfer, HostSzDownloadsUnderItsKoreanName) {
    const std::string data = xfertest::randomData(200000, 4);
    xfertest::writeFile(dir + "/src/" + utf8ToCp949("받을자료.bin").value(), data);
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + dir + "/src/받을자료.bin"));
    ASSERT_TRUE(waitForFile(dir + "/down/받을자료.bin", data.size())) << tmux->Screen();
    EXPECT_TRUE(xfertest::sameBytes(readFile(dir + "/down/받을자료.bin"), data));
}

TEST_F(TtyTransfer, HostRzAsksForFilesOnTheStatusLine) {
    std::filesystem::create_directories(dir + "/dst");
    const std::string data = xfertest::randomData(50000, 5);
    xfertest::writeFile(dir + "/src/올림.bin", data);
    ASSERT_NO_FATAL_FAILURE(runOnHost("rz " + dir + "/dst"));
    ASSERT_TRUE(tmux->WaitForScreen("보낼 파일 찾기", 10000)) << tmux->Screen();
    tmux->Type(dir + "/src/올림.bin");
    tmux->Keys({"Enter"});
    tmux->Keys({"Enter"});  // an empty line ends the list; ZMODEM is not asked for
    const std::string arrived = dir + "/dst/" + utf8ToCp949("올림.bin").value();
    ASSERT_TRUE(waitForFile(arrived, data.size())) << tmux->Screen();
    EXPECT_TRUE(xfertest::sameBytes(readFile(arrived), data));
}

TEST_F(TtyTransfer, EscOnTheProgressLineAbortsKeepingThePartialFile) {
    xfertest::writeFile(dir + "/src/big.bin", xfertest::randomData(64u << 20, 6));
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + dir + "/src/big.bin"));
    ASSERT_TRUE(tmux->WaitForScreen("파일받기", 20000)) << tmux->Screen();
    EXPECT_TRUE(tmux->WaitForScreen("Esc 중지")) << tmux->Screen();
    tmux->Keys({"h"});
    EXPECT_TRUE(tmux->WaitForScreen("끝나면 끊기:예")) << tmux->Screen();
    tmux->Keys({"Escape"});
    for (int i = 0; i < 400 && tmux->Screen().find("파일받기") != std::string::npos; ++i)
        usleep(50000);
    EXPECT_EQ(tmux->Screen().find("파일받기"), std::string::npos) << tmux->Screen();
    EXPECT_EQ(tmux->Screen().find("실패"), std::string::npos) << tmux->Screen();
    std::error_code error;
    EXPECT_LT(std::filesystem::file_size(dir + "/down/big.bin", error), 64u << 20);
}

}  // namespace
