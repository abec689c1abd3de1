// "폴더 설정" and "소리 설정": the rows and columns they list, the paths stored on OK (only the
// ones changed), names the store cannot keep, and a folder opened through xdg-open.
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/gui/PathDialogs.h"
#include "auto/Folders.h"
#include "auto/SoundEvents.h"
#include "platform/Clock.h"
#include "tests/app/gui/DialogTestSupport.h"

namespace {

namespace fs = std::filesystem;

class PathDialogsTest : public DialogTest {
protected:
    static QStringList headers(const PathListDialog& d) {
        QStringList texts;
        for (int i = 0; i < d.List()->columnCount(); ++i)
            texts << d.List()->headerItem()->text(i);
        return texts;
    }
    static QPushButton* button(const PathListDialog& d, const QString& text) {
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == text) return b;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
};

TEST_F(PathDialogsTest, FoldersListsTheFiveAndStoresOnlyTheChangedOnes) {
    ASSERT_TRUE(SetFolder(*registry, FolderKind::Media, dir + "/소리"));
    ProcessLauncher launcher;
    auto dialog = MakeFolderSettingsDialog(*registry, prompt, launcher);
    EXPECT_EQ(dialog->windowTitle(), "폴더 설정");
    EXPECT_EQ(headers(*dialog), (QStringList{"  폴더", "위치"}));
    ASSERT_EQ(dialog->Rows(), 5);
    const std::vector<NamedPath> loaded = dialog->Chosen();
    EXPECT_EQ(loaded[0].name, "갈무리 폴더");
    EXPECT_EQ(loaded[4].name, "배경무늬 폴더");
    EXPECT_EQ(loaded[3].path, dir + "/소리");
    EXPECT_EQ(loaded[2].path, GetFolder(*registry, FolderKind::Download));
    EXPECT_FALSE(button(*dialog, "찾아보기(&B)...")->isEnabled());  // no row chosen yet
    dialog->List()->setCurrentItem(dialog->List()->topLevelItem(0));
    EXPECT_TRUE(button(*dialog, "폴더 열기(&O)")->isEnabled());

    // The store holds another capture folder meanwhile: only the rows changed here are written.
    ASSERT_TRUE(SetFolder(*registry, FolderKind::Capture, dir + "/elsewhere"));
    ASSERT_TRUE(dialog->SetPath(1, dir + "/보낼 파일"));
    EXPECT_FALSE(dialog->SetPath(4, dir + "/\u266B"));  // CP949 has no such character
    EXPECT_EQ(prompt.asked.size(), 1u);
    dialog->accept();
    EXPECT_EQ(GetFolder(*registry, FolderKind::SendFrom), dir + "/보낼 파일");
    EXPECT_EQ(GetFolder(*registry, FolderKind::Capture), dir + "/elsewhere");
    EXPECT_EQ(GetFolder(*registry, FolderKind::Picture), loaded[4].path);
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(PathDialogsTest, OpenFolderHandsItToXdgOpen) {
    // An xdg-open of our own on PATH that writes down what it was given.
    const std::string bin = dir + "/bin", log = dir + "/opened";
    fs::create_directories(bin);
    std::ofstream(bin + "/xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > " << log << ".tmp\n"
                                     << "mv " << log << ".tmp " << log << "\n";
    fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
    const std::string path = getenv("PATH");
    setenv("PATH", (bin + ":" + path).c_str(), 1);

    ProcessLauncher launcher;
    auto dialog = MakeFolderSettingsDialog(*registry, prompt, launcher);
    dialog->List()->setCurrentItem(dialog->List()->topLevelItem(2));
    button(*dialog, "폴더 열기(&O)")->click();
    const int64_t end = Clock::steady().nowMs() + 5000;
    while (!fs::exists(log) && Clock::steady().nowMs() < end)
        usleep(10000);
    setenv("PATH", path.c_str(), 1);
    std::ifstream in(log);
    std::string opened;
    std::getline(in, opened);
    EXPECT_EQ(opened, GetFolder(*registry, FolderKind::Download));
    launcher.reap();
}

TEST_F(PathDialogsTest, SoundsListEveryEventAndStoreTheirCurrentFile) {
    ASSERT_TRUE(SetEventSoundFile(*registry, "연결", dir + "/연결.wav"));
    auto dialog = MakeSoundSettingsDialog(*registry, prompt);
    EXPECT_EQ(dialog->windowTitle(), "소리 설정");
    EXPECT_EQ(headers(*dialog), (QStringList{"  이름", "소리 파일"}));
    ASSERT_EQ(dialog->Rows(), static_cast<int>(soundEventNames().size()));
    EXPECT_EQ(dialog->Chosen()[0].name, "프로그램 시작");
    EXPECT_EQ(dialog->Chosen()[2].path, dir + "/연결.wav");
    EXPECT_EQ(dialog->Chosen()[9].name, "쪽지 도착");

    dialog->List()->setCurrentItem(dialog->List()->topLevelItem(2));
    button(*dialog, "소리 없음(&N)")->click();
    ASSERT_TRUE(dialog->SetPath(9, dir + "/쪽지.wav"));
    dialog->accept();
    EXPECT_EQ(EventSoundFile(*registry, "연결"), "");
    EXPECT_EQ(EventSoundFile(*registry, "쪽지 도착"), dir + "/쪽지.wav");
    // Stored where the sound events are played from: the event's ".current" key.
    auto key = registry->openPath(cp(
        "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\반트라 퀼론 98 Lite\\쪽지 도착\\.current"));
    ASSERT_TRUE(key);
    EXPECT_EQ(registry->value(*key, ""), cp(dir + "/쪽지.wav"));
    EXPECT_FALSE(registry->openPath(
        cp("HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\반트라 퀼론 98 Lite\\프로그램 끝")));
}

}  // namespace
