// The count of running copies: copies count in order, a killed copy stops counting, a copy's
// window corner is seen by the others while it runs, and a folder others could tamper with is
// not used.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/InstanceCounter.h"

namespace {

class InstanceCounterTest : public ::testing::Test {
protected:
    InstanceCounterTest() {
        char pattern[] = "/tmp/quilite-count-XXXXXX";
        base = mkdtemp(pattern);
        folder = base + "/run";
    }
    ~InstanceCounterTest() override { std::filesystem::remove_all(base); }

    std::string base;
    std::string folder;
};

TEST_F(InstanceCounterTest, CopiesCountInOrderAndLeave) {
    auto first = std::make_unique<InstanceCounter>(folder);
    EXPECT_EQ(first->Error(), "");
    EXPECT_EQ(first->CountAtStart(), 1);
    EXPECT_FALSE(first->SecondInstance());
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);

    auto second = std::make_unique<InstanceCounter>(folder);
    EXPECT_TRUE(second->SecondInstance());
    EXPECT_EQ(second->CountAtStart(), 2);
    EXPECT_EQ(first->Count(), 2);
    first.reset();
    EXPECT_EQ(second->Count(), 1);
    InstanceCounter third(folder);  // takes the slot the first one left
    EXPECT_EQ(third.CountAtStart(), 2);
}

TEST_F(InstanceCounterTest, WindowCornersOfOtherRunningCopies) {
    auto first = std::make_unique<InstanceCounter>(folder);
    first->RecordWindowPosition(-40, 200);
    first->RecordWindowPosition(100, 200);  // moved: only the latest corner counts
    InstanceCounter second(folder);
    EXPECT_TRUE(second.PositionTakenByOther(100, 200));
    EXPECT_FALSE(second.PositionTakenByOther(-40, 200));
    EXPECT_FALSE(second.PositionTakenByOther(100, 201));
    EXPECT_FALSE(first->PositionTakenByOther(100, 200));  // its own corner
    second.RecordWindowPosition(7, 8);
    EXPECT_TRUE(first->PositionTakenByOther(7, 8));

    first.reset();
    EXPECT_FALSE(second.PositionTakenByOther(100, 200));
    InstanceCounter third(folder);  // in the first one's slot, which keeps nothing of it
    EXPECT_FALSE(second.PositionTakenByOther(100, 200));
    EXPECT_TRUE(third.PositionTakenByOther(7, 8));
}

TEST_F(InstanceCounterTest, AKilledCopyStopsCounting) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceCounter counter(folder);
        [[maybe_unused]] ssize_t n = write(ready[1], "x", 1);
        pause();
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    InstanceCounter ours(folder);
    EXPECT_EQ(ours.CountAtStart(), 2);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(ours.Count(), 1);
    close(ready[0]);
    close(ready[1]);
}

TEST_F(InstanceCounterTest, AFolderOthersCanReachIsNotUsed) {
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    chmod(folder.c_str(), 0777);
    InstanceCounter open(folder);
    EXPECT_NE(open.Error(), "");
    EXPECT_EQ(open.CountAtStart(), 1);
    EXPECT_FALSE(std::filesystem::exists(folder + "/slot-0"));

    const std::string link = base + "/link";
    const std::string target = base + "/target";
    ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    InstanceCounter linked(link);
    EXPECT_NE(linked.Error(), "");
    EXPECT_FALSE(std::filesystem::exists(target + "/slot-0"));
}

}  // namespace
