// quilite --tty inside xterm on an X server of the test's own, keys typed through xdotool: while
// the program runs xterm sends Alt with a key as Esc and the key (the program switches that mode
// on), so Alt+L runs its macro; once the program has ended xterm sends Alt+L as it did before,
// the UTF-8 form of the character with the eighth bit set (C3 AC).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "auto/FirstRunSetup.h"
#include "auto/MacroTable.h"
#include "auto/ProfileStore.h"
#include "auto/Services.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/app/gui/XvfbDisplay.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/TelnetHostData.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class TtyInXterm : public ::testing::Test {
protected:
    TtyInXterm() {
        char pattern[] = "/tmp/quilite-xterm-XXXXXX";
        dir = mkdtemp(pattern);
        mkdir((dir + "/run").c_str(), 0700);
        for (const auto& [name, value] : {std::pair<std::string, std::string>{"HOME", dir},
                                          {"XDG_CONFIG_HOME", dir + "/config"},
                                          {"XDG_DATA_HOME", dir + "/data"},
                                          {"XDG_RUNTIME_DIR", dir + "/run"},
                                          {"QUILITE_DATA_DIR", QUILITE_SOURCE_DIR "/data"},
                                          {"LC_ALL", "C.UTF-8"}})
            setenv(name.c_str(), value.c_str(), 1);
        ScriptedPrompt prompt;
        std::string error;
        registry = openProfileStore(dir + "/config/quilite/profile.db", prompt, error);
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
    }
    ~TtyInXterm() override {
        xterm.reset();
        if (host >= 0) close(host);
        std::filesystem::remove_all(dir);
    }

    void xdotool(const std::string& arguments) { commandOutput("xdotool " + arguments); }
    // What the host receives until `expected` has come (or time is up).
    std::string hostGets(const std::string& expected) {
        std::string got;
        for (int i = 0; i < 100 && withoutOptions(got).find(expected) == std::string::npos; ++i)
            got += receiveUntilQuiet(host, 50);
        return withoutOptions(got);
    }
    bool waitForFile(const std::string& path, size_t size) {
        for (int i = 0; i < 250; ++i) {
            if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= size)
                return true;
            usleep(20000);
        }
        return false;
    }

    std::string dir;
    std::unique_ptr<Registry> registry;
    LoopbackListener listener;
    int host = -1;
    std::unique_ptr<PeerProcess> xterm;
};

TEST_F(TtyInXterm, AltLRunsItsMacroAndXtermSendsItAsBeforeAfterwards) {
    ASSERT_FALSE(XvfbDisplay::name().empty()) << "Xvfb did not start";
    ASSERT_FALSE(AddService(*registry, {{"Title", utf8ToCp949Lossy("기본")}}));
    RegKey macros =
        *registry->createKey(*ServiceRecord(*registry, utf8ToCp949Lossy("기본")), kMacroSubkey);
    ASSERT_TRUE(registry->setValue(macros, "Alt+L", "alt<Enter>"));

    // After the program the shell reads two raw bytes of the next key into a file.
    const std::string script = "\"$0\" --tty \"$@\"; stty raw -echo; touch '" + dir +
                               "/ended'; dd bs=1 count=2 of='" + dir +
                               "/after' 2>/dev/null; sleep 5";
    xterm = std::make_unique<PeerProcess>(
        std::vector<std::string>{"xterm", "-u8", "-geometry", "90x30", "-e", "sh", "-c", script,
                                 QUILITE_BINARY_DIR "/app/quilite", "127.0.0.1",
                                 std::to_string(listener.port())},
        -1, dir, dir + "/xterm.log");
    host = listener.accept(15000);
    ASSERT_GE(host, 0) << readFile(dir + "/xterm.log");
    const int on = 1;
    setsockopt(host, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ASSERT_TRUE(sendAll(host, kHostWillEcho + "ready\r\n"));
    const std::string window =
        commandOutput("timeout 10 xdotool search --sync --onlyvisible --class xterm");
    ASSERT_FALSE(window.empty());
    xdotool("windowfocus --sync " + window);

    xdotool("key alt+l");
    EXPECT_EQ(hostGets("alt"), std::string("alt\r\0", 5));

    // Quitting asks first while connected; Enter ends the connection and the program.
    xdotool("key ctrl+bracketright q");
    usleep(300000);
    xdotool("key Return");
    ASSERT_TRUE(waitForFile(dir + "/ended", 0)) << "the program did not end";
    xdotool("key alt+l");
    ASSERT_TRUE(waitForFile(dir + "/after", 2));
    EXPECT_EQ(readFile(dir + "/after"), "\xC3\xAC");
}

}  // namespace
