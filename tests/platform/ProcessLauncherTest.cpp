// Starting programs with an argument vector: arguments arrive as they are, exit status,
// failures, and collection of programs that ended.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/ProcessLauncher.h"

namespace {

class Launcher : public ::testing::Test {
protected:
    Launcher() {
        char pattern[] = "/tmp/quilite-launch-XXXXXX";
        dir = mkdtemp(pattern);
    }
    ~Launcher() override { std::filesystem::remove_all(dir); }

    std::string dir;
    ProcessLauncher launcher;
};

TEST_F(Launcher, ArgumentsReachTheProgramAsTheyAre) {
    const std::string awkward = "a b; rm -rf x $(echo y) 'q' \"한글\" *";
    auto started = launcher.start({"touch", awkward, "--", "-plain"}, dir);
    ASSERT_GT(started.pid, 0);
    EXPECT_EQ(launcher.wait(started.pid, 5000), 0);
    EXPECT_TRUE(std::filesystem::exists(dir + "/" + awkward));
    EXPECT_TRUE(std::filesystem::exists(dir + "/-plain"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
}

TEST_F(Launcher, ExitStatusAndSignals) {
    auto failing = launcher.start({"false"});
    EXPECT_EQ(launcher.wait(failing.pid, 5000), 1);
    auto sleeping = launcher.start({"/bin/sleep", "10"});
    ASSERT_GT(sleeping.pid, 0);
    EXPECT_EQ(launcher.wait(sleeping.pid, 50), -1) << "still running";
    kill(sleeping.pid, SIGKILL);
    EXPECT_EQ(launcher.wait(sleeping.pid, 5000), 128 + SIGKILL);
    EXPECT_EQ(launcher.wait(12345678, 10), -1) << "not ours";
}

// A detached program reads end-of-file, its output goes nowhere, and it leads a session of its
// own (no controlling terminal to write to).
TEST_F(Launcher, DetachedProgramsKeepOffOurTerminal) {
    const std::string script =
        "read line; echo \"[$line]\" > out; echo noise; "
        "[ \"$(ps -o sid= -p $$)\" -eq $$ ] && echo leader >> out";
    auto started = launcher.start({"sh", "-c", script}, dir, true);
    ASSERT_GT(started.pid, 0);
    EXPECT_EQ(launcher.wait(started.pid, 5000), 0);
    std::ifstream out(dir + "/out");
    std::string text((std::istreambuf_iterator<char>(out)), {});
    EXPECT_EQ(text, "[]\nleader\n");
}

TEST_F(Launcher, MissingProgramIsReported) {
    auto started = launcher.start({"quilite-no-such-program"});
    EXPECT_EQ(started.pid, -1);
    EXPECT_EQ(started.error, ENOENT);
    EXPECT_EQ(launcher.start({}).pid, -1);
    EXPECT_EQ(launcher.start({"true"}, dir + "/missing-folder").pid, -1);
}

TEST_F(Launcher, EndedProgramsAreCollected) {
    auto started = launcher.start({"true"});
    ASSERT_GT(started.pid, 0);
    const std::string stat = "/proc/" + std::to_string(started.pid) + "/stat";
    for (int i = 0; i < 500; ++i) {  // until it is a zombie
        std::ifstream in(stat);
        std::string pid, name, state;
        in >> pid >> name >> state;
        if (state == "Z") break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    launcher.reap();
    EXPECT_FALSE(std::filesystem::exists(stat));
    EXPECT_EQ(waitpid(started.pid, nullptr, WNOHANG), -1);
}

TEST(OwnProgram, IsThisTestProgram) {
    EXPECT_EQ(std::filesystem::path(ProcessLauncher::ownProgram()).filename(),
              "platform_process_test");
}

}  // namespace
