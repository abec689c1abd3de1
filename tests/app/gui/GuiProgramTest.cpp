// The window's program as a whole: the desktop file that starts it, and a termination signal,
// which ends it without questions and without storing the window's placement.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "platform/DataFolder.h"
#include "platform/ScriptedPrompt.h"
#include "tests/auto/TempProfile.h"
#include "tests/fixtures/LoopWait.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DesktopFile, IsValidAndStartsTheProgramForTelnetAddresses) {
    const std::string path = QUILITE_SOURCE_DIR "/data/quilite.desktop";
    FILE* validator = popen(("desktop-file-validate " + path + " 2>&1").c_str(), "r");
    ASSERT_TRUE(validator);
    std::string said;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, validator))
        said.append(buffer, n);
    EXPECT_EQ(pclose(validator), 0);
    EXPECT_EQ(said, "");
    const std::string entry = readFile(path);
    for (const char* line : {"\nExec=quilite %u\n", "\nMimeType=x-scheme-handler/telnet;\n",
                             "\nIcon=quilite\n", "\nType=Application\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
}

class GuiProgram : public TempProfile {
protected:
    GuiProgram() {
        runtime = dir + "/run";
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // A profile the program finds set up, so that it asks nothing at start.
        ScriptedPrompt prompt;
        std::string error;
        std::unique_ptr<Registry> store = openProfileStore(defaultProfilePath(), prompt, error);
        EXPECT_TRUE(store) << error;
        if (store) runFirstRunSetup(*store, prompt, dataFolder());
    }
    ~GuiProgram() override {
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("XDG_RUNTIME_DIR");
    }

    std::string storedSetting(const std::string& name) {
        ScriptedPrompt prompt;
        std::string error;
        std::unique_ptr<Registry> store = openProfileStore(defaultProfilePath(), prompt, error);
        return store ? CSettingsSection(*store, "Settings").GetString(name) : "(no store)";
    }

    std::string runtime;
};

TEST_F(GuiProgram, ATermSignalEndsItWithoutStoringThePlacement) {
    PeerProcess program({QUILITE_BINARY_DIR "/app/quilite", "--gui", "--nosplash"}, -1, dir,
                        dir + "/err");
    // The window has shown once its corner is in the copy's slot.
    const std::string slot = runtime + "/quilite/slot-0";
    const int64_t end = Clock::steady().nowMs() + 20000;
    while (readFile(slot).size() < 24 && Clock::steady().nowMs() < end)
        Clock::steady().sleepMs(20);
    ASSERT_EQ(readFile(slot).size(), 24u) << readFile(dir + "/err");
    program.kill(SIGTERM);
    EXPECT_EQ(program.wait(10000), 0) << readFile(dir + "/err");
    EXPECT_EQ(storedSetting("WindowPos"), "");
}

}  // namespace
