#include <fstream>

#include "TempProfile.h"
#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileLayout.h"
#include "platform/ScriptedPrompt.h"

namespace {

const std::string kDataFolder = QUILITE_SOURCE_DIR "/data";

using FirstRunTest = TempProfile;

TEST_F(FirstRunTest, MissingProfileGetsTheShippedDefaults) {
    ScriptedPrompt prompt;
    FirstRunResult result = runFirstRunSetup(*registry, prompt, kDataFolder);
    ASSERT_TRUE(result.imported) << result.import.error;
    EXPECT_TRUE(result.proceed);
    EXPECT_EQ(result.import.skipped, 0);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].text.find("반트라 퀼론 98 Lite 사용자 환경 정보가 없습니다"),
              std::string::npos);

    CRecordStore store(*registry);
    ASSERT_TRUE(store.SelectKind(RecordKind::Service));
    std::vector<std::string> titles;
    for (const Record& r : store.ReadList(store.Section()))
        titles.push_back(r.at("Title"));
    EXPECT_EQ(titles,
              (std::vector<std::string>{cp("하이텔"), cp("천리안"), cp("나우누리"), cp("유니텔")}));
    ASSERT_TRUE(store.SelectKind(RecordKind::TelnetEntry));
    EXPECT_EQ(store.Count(store.Section()), 1);
    EXPECT_EQ(CSettingsSection(*registry, "Comm").GetInt("DialTimeOut", 0), 80);
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("RetainInterval", 0), -1);

    auto install = registry->openPath(installKeyPath());
    ASSERT_TRUE(install);
    EXPECT_EQ(registry->value(*install, "InstalledPath"), kDataFolder);

    // Once the profile exists nothing more is asked.
    EXPECT_FALSE(runFirstRunSetup(*registry, prompt, kDataFolder).ran);
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(FirstRunTest, MissingDefaultProfileAsksWhetherToGoOn) {
    ScriptedPrompt prompt;
    prompt.expect(PromptAnswer::Ok);
    prompt.expect(PromptAnswer::No);
    FirstRunResult result = runFirstRunSetup(*registry, prompt, dir + "/nowhere");
    EXPECT_FALSE(result.proceed);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1].buttons, PromptButtons::YesNo);
    EXPECT_NE(prompt.asked[1].text.find(dir + "/nowhere/regorg.bak"), std::string::npos);

    prompt.expect(PromptAnswer::Ok);
    prompt.expect(PromptAnswer::Yes);
    result = runFirstRunSetup(*registry, prompt, dir + "/nowhere/");
    EXPECT_TRUE(result.proceed);
    EXPECT_FALSE(result.imported);
}

TEST_F(FirstRunTest, BrokenDefaultProfileIsReportedAndLeavesNothing) {
    std::filesystem::create_directories(dir + "/broken");
    std::ofstream(dir + "/broken/regorg.bak") << "not a registry file\r\n";
    ScriptedPrompt prompt;
    FirstRunResult result = runFirstRunSetup(*registry, prompt, dir + "/broken");
    EXPECT_TRUE(result.proceed);
    EXPECT_FALSE(result.imported);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1].icon, PromptIcon::Warning);
    EXPECT_FALSE(registry->openPath(userRootPath()));
}

}  // namespace
