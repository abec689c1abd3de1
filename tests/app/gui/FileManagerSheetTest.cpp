// "송수신 목록" on the offscreen platform: rows, alignment and selection as a page opens, the
// buttons' enable rules, removing rows (records added meanwhile survive OK), opening files,
// and the send box's sizes and limit.
#include <QPushButton>
#include <QTreeWidget>
#include <fstream>

#include "app/gui/FileManagerSheet.h"
#include "auto/FileRecords.h"
#include "platform/ScriptedPrompt.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/auto/TempProfile.h"

namespace {

class FileManagerSheetTest : public TempProfile {
protected:
    void addReceived(const std::string& path, int64_t size, int64_t received) {
        CRecordStore store(*registry);
        ASSERT_EQ(AddFileRecord(store, transferredFileRecord(path, size, 0, received, 0),
                                RecordKind::ReceivedFile, cp("하이텔"), "bbs"),
                  AddFileResult::Added);
    }
    QPushButton* button(FileManagerPage& page, const char* name) {
        return page.findChild<QPushButton*>(name);
    }
    std::string makeFile(const std::string& name, size_t size) {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << std::string(size, 'x');
        return path;
    }

    QApplication& app = guiTestApp();
    ScriptedPrompt prompt;
    std::vector<std::string> opened;
    OpenWith open = [this](const std::string& path) { opened.push_back(path); };
};

TEST_F(FileManagerSheetTest, APageShowsItsRowsWithTheLastSelectedAndFollowsTheEnableRules) {
    addReceived(dir + "/a.zip", 1000, 500);
    addReceived(dir + "/b.zip", 0, 2048);
    FileManagerSheet sheet(*registry, prompt, open, RecordKind::ReceivedFile);
    FileManagerPage& page = sheet.Page(RecordKind::ReceivedFile);
    QTreeWidget& list = page.List();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.headerItem()->text(2), "받은 날짜");
    EXPECT_EQ(list.topLevelItem(0)->text(3), "50%");
    EXPECT_EQ(list.topLevelItem(1)->text(1), "2,048");
    EXPECT_EQ(list.topLevelItem(1)->text(3), "?");
    EXPECT_EQ(list.topLevelItem(1)->text(4), "하이텔(bbs)");
    EXPECT_TRUE(list.topLevelItem(0)->textAlignment(1) & Qt::AlignRight);
    EXPECT_EQ(list.currentItem(), list.topLevelItem(1));
    EXPECT_TRUE(button(page, "openFile")->isEnabled());

    list.clearSelection();
    for (const char* name : {"delete", "openFile", "openFolder", "toSendBox"})
        EXPECT_FALSE(button(page, name)->isEnabled()) << name;
    list.topLevelItem(0)->setSelected(true);
    list.topLevelItem(1)->setSelected(true);
    EXPECT_TRUE(button(page, "delete")->isEnabled());
    EXPECT_TRUE(button(page, "toSendBox")->isEnabled());
    EXPECT_FALSE(button(page, "openFile")->isEnabled());
    list.topLevelItem(1)->setSelected(false);
    button(page, "openFile")->click();
    button(page, "openFolder")->click();
    EXPECT_EQ(opened, (std::vector<std::string>{dir + "/a.zip", dir}));
}

TEST_F(FileManagerSheetTest, DeletingEveryRowKeepsOnlyARecordAddedWhileTheSheetWasOpen) {
    addReceived(dir + "/a.zip", 10, 10);
    addReceived(dir + "/b.zip", 10, 10);
    const std::string file = makeFile("a.zip", 10);
    FileManagerSheet sheet(*registry, prompt, open, RecordKind::ReceivedFile);
    FileManagerPage& page = sheet.Page(RecordKind::ReceivedFile);
    page.List().selectAll();
    button(page, "toSendBox")->click();
    button(page, "delete")->click();
    EXPECT_EQ(page.List().topLevelItemCount(), 0);
    addReceived(dir + "/late.zip", 1, 1);
    sheet.accept();
    CRecordStore store(*registry);
    std::vector<Record> left = readFileRecords(store, RecordKind::ReceivedFile);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(fileRecordFrom(left[0], RecordKind::ReceivedFile).path, dir + "/late.zip");
    EXPECT_TRUE(std::filesystem::exists(file));                         // files are never touched
    EXPECT_EQ(loadSendBox(*registry), std::vector<std::string>{file});  // b.zip does not exist
}

TEST_F(FileManagerSheetTest, TheSendBoxShowsSizesInKilobytesOrMegabytesAndStopsAtFifteen) {
    std::vector<std::string> files{makeFile("small", 1000), makeFile("mega", 1048576)};
    for (int i = 0; i < 15; ++i)
        files.push_back(makeFile("f" + std::to_string(i), 1));
    SendBoxDialog box(*registry, prompt);
    FileReply reply;
    reply.answer = FileAnswer::Accepted;
    reply.paths = {files[0], files[1]};
    prompt.expectFile(reply);
    box.findChild<QPushButton*>("add")->click();
    ASSERT_EQ(prompt.filesAsked.size(), 1u);
    EXPECT_EQ(prompt.filesAsked[0].caption, "보낼 파일함에 추가");
    ASSERT_EQ(box.List().topLevelItemCount(), 2);
    EXPECT_EQ(box.List().topLevelItem(0)->text(1), "1KB");
    EXPECT_EQ(box.List().topLevelItem(1)->text(1), "1.00MB");
    box.AddFiles(std::vector<std::string>(files.begin() + 2, files.end()));
    EXPECT_EQ(box.List().topLevelItemCount(), 15);
}

}  // namespace
