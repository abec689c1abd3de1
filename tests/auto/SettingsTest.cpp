#include <algorithm>

#include "TempProfile.h"
#include "auto/CSettingsSection.h"
#include "auto/ProfileLayout.h"
#include "auto/ProgramExit.h"
#include "auto/RecentList.h"

namespace {

class SettingsTest : public TempProfile {
protected:
    void store(const std::string& name, const std::string& text) {
        ASSERT_TRUE(registry->setValue(*createSection(*registry, "Settings"), name, text));
    }
    void TearDown() override { setProgramExiting(false); }
};

TEST_F(SettingsTest, IntegersReadAsDecimalTextWithTheCallersDefault) {
    CSettingsSection settings(*registry, "Settings");
    EXPECT_EQ(settings.GetInt("DialTimeOut", 80), 80);  // missing
    store("Empty", "");
    EXPECT_EQ(settings.GetInt("Empty", 7), 7);
    store("Letters", "abc");
    EXPECT_EQ(settings.GetInt("Letters", 7), 0);
    store("Prefix", " -12x3");
    EXPECT_EQ(settings.GetInt("Prefix", 7), -12);
    store("Huge", "99999999999999999999");
    EXPECT_EQ(settings.GetInt("Huge", 0), INT_MAX);
    store("Tiny", "-99999999999999999999");
    EXPECT_EQ(settings.GetInt("Tiny", 0), INT_MIN);

    ASSERT_TRUE(settings.SetInt("RetainInterval", -1));
    EXPECT_EQ(settings.GetString("RetainInterval"), "-1");
    EXPECT_EQ(settings.GetString("Missing"), "");
}

TEST_F(SettingsTest, SectionsAreCreatedUnderTheUserRootOnFirstWrite) {
    CSettingsSection capture(*registry, "Settings\\Capture");
    EXPECT_FALSE(registry->openPath(userRootPath()));
    ASSERT_TRUE(capture.SetInt("AlwaysAppend", 0));
    auto key = registry->openPath(
        cp("HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite\\Settings\\Capture"));
    ASSERT_TRUE(key);
    EXPECT_EQ(registry->value(*key, "AlwaysAppend"), "0");
}

TEST_F(SettingsTest, PlacementsNeedAllTenNumbersAndStopAtExit) {
    CSettingsSection settings(*registry, "Settings");
    WindowPlacement placement{2, 3, -1, -1, -8, -8, 10, 20, 650, 500};
    ASSERT_TRUE(settings.SavePlacement("WindowPos", placement));
    EXPECT_EQ(settings.GetString("WindowPos"), "2,3,-1,-1,-8,-8,10,20,650,500");
    auto loaded = settings.LoadPlacement("WindowPos");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->showCmd, 3u);
    EXPECT_EQ(loaded->right, 650);

    store("Nine", "0,1,0,0,0,0,10,20,650");
    EXPECT_FALSE(settings.LoadPlacement("Nine"));
    store("Eleven", "0,1,0,0,0,0,10,20,650,500,1");
    EXPECT_FALSE(settings.LoadPlacement("Eleven"));
    store("Word", "0,1,0,0,0,0,10,20,650,x");
    EXPECT_FALSE(settings.LoadPlacement("Word"));

    setProgramExiting(true);
    placement.left = 99;
    EXPECT_TRUE(settings.SavePlacement("WindowPos", placement));
    EXPECT_EQ(settings.LoadPlacement("WindowPos")->left, 10);
}

}  // namespace

namespace {

using RecentListTest = TempProfile;

TEST_F(RecentListTest, MostRecentFirstWithoutDuplicatesUpToTheLimit) {
    RecentList hosts = recentTelnetHosts(*registry);
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(hosts.add("host" + std::to_string(i) + ".example"));
    ASSERT_TRUE(hosts.add("HOST5.example"));
    std::vector<std::string> loaded = hosts.load();
    ASSERT_EQ(loaded.size(), 30u);
    EXPECT_EQ(loaded[0], "HOST5.example");
    EXPECT_EQ(loaded[1], "host31.example");
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), "host5.example"), 0);
    auto key = registry->openPath(userRootPath() + "\\Recent Telnet");
    EXPECT_EQ(registry->value(*key, "host1"), "HOST5.example");

    ASSERT_TRUE(hosts.save({"only"}));
    EXPECT_EQ(hosts.load(), std::vector<std::string>{"only"});
    EXPECT_FALSE(registry->value(*key, "host2"));
}

}  // namespace
