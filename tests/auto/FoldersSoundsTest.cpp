#include "TempProfile.h"
#include "auto/CSettingsSection.h"
#include "auto/Folders.h"
#include "auto/ProfileLayout.h"
#include "auto/ProgramExit.h"
#include "auto/SoundEvents.h"

namespace {

using FoldersTest = TempProfile;

TEST_F(FoldersTest, UserFoldersDefaultUnderTheXdgFoldersAndAreStored) {
    EXPECT_EQ(GetFolder(*registry, FolderKind::Capture), dir + "/data/quilite/cap");
    EXPECT_EQ(GetFolder(*registry, FolderKind::Download), dir + "/Downloads/quilite");
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/Downloads/quilite"));
    auto folder = openSection(*registry, "Folder");
    ASSERT_TRUE(folder);
    EXPECT_EQ(registry->value(*folder, "Capture"), dir + "/data/quilite/cap");
    EXPECT_EQ(folderDisplayName(FolderKind::Media), "소리 폴더");
}

TEST_F(FoldersTest, ImportedWindowsPathsCountAsEmpty) {
    ASSERT_TRUE(
        registry->setValue(*createSection(*registry, "Folder"), "Download", "C:\\QuiLite\\down"));
    EXPECT_EQ(GetFolder(*registry, FolderKind::Download), dir + "/Downloads/quilite");
    EXPECT_FALSE(std::filesystem::exists("C:\\QuiLite\\down"));
}

TEST_F(FoldersTest, StoredFoldersAreUsedAndCreatedOnDemand) {
    std::string korean = dir + "/받은 파일";
    ASSERT_TRUE(SetFolder(*registry, FolderKind::Download, korean));
    EXPECT_EQ(registry->value(*openSection(*registry, "Folder"), "Download"), cp(korean));
    EXPECT_EQ(GetFolder(*registry, FolderKind::Download), korean);
    EXPECT_TRUE(std::filesystem::is_directory(korean));
    EXPECT_FALSE(SetFolder(*registry, FolderKind::Temporary, "/x"));
    EXPECT_FALSE(SetFolder(*registry, FolderKind::Capture, dir + "/\xF0\x9F\x98\x80"));
    setenv("TMPDIR", dir.c_str(), 1);
    EXPECT_EQ(GetFolder(*registry, FolderKind::Temporary), dir);
    unsetenv("TMPDIR");
}

class RecordingPlayer : public SoundPlayer {
public:
    void playFile(const std::string& path, bool wait) override { played.push_back({path, wait}); }
    std::vector<std::pair<std::string, bool>> played;
};

TEST_F(FoldersTest, EventSoundsHonourTheSettingAndTheExitingFlag) {
    auto event = registry->createPath(soundEventsPath() + "\\" + cp("연결") + "\\.current");
    ASSERT_TRUE(registry->setValue(*event, "", cp("/snd/연결.wav")));
    RecordingPlayer player;
    PlayEventSound(*registry, player, "연결", true);
    PlayEventSound(*registry, player, "쪽지 도착", false);  // nothing stored
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(player.played[0], std::make_pair(std::string("/snd/연결.wav"), true));

    setProgramExiting(true);
    PlayEventSound(*registry, player, "연결", false);
    setProgramExiting(false);
    CSettingsSection(*registry, "Settings").SetInt("UseSound", 0);
    PlayEventSound(*registry, player, "연결", false);
    EXPECT_EQ(player.played.size(), 1u);

    CSettingsSection(*registry, "Settings").SetInt("UseSound", 1);
    registry->setValue(*event, "", "C:\\WINDOWS\\MEDIA\\ding.wav");
    PlayEventSound(*registry, player, "연결", false);
    EXPECT_EQ(player.played.size(), 1u);
}

}  // namespace
