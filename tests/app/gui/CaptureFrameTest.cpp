// Capture in the main window: the commands' texts, marks and enable rules, pane 1, and a
// capture saved under the day's name in the capture folder and listed as a capture file.
#include <ctime>
#include <fstream>
#include <sstream>

#include "app/CommandTable.h"
#include "auto/FileRecords.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

using CaptureFrameTest = FrameTest;

TEST_F(CaptureFrameTest, ACaptureRunsFromTheMenuShowsItsPaneAndSavesUnderTheDaysName) {
    std::filesystem::create_directory(dir + "/tmp");
    setenv("TMPDIR", (dir + "/tmp").c_str(), 1);
    CSettingsSection(*registry, "Settings\\Capture").SetInt("ViewAfterSave", 0);
    makeFrame();
    startSession();
    frame->UpdateCommands();
    EXPECT_FALSE(frame->Action(Cmd::CapturePause)->isEnabled());
    EXPECT_TRUE(frame->Action(Cmd::CaptureCode)->isEnabled());
    EXPECT_TRUE(frame->Action(Cmd::CaptureText)->isChecked());
    EXPECT_TRUE(frame->Panes().CapturePane().isHidden());
    EXPECT_EQ(frame->Action(Cmd::CaptureEnd)->text(), "갈무리 끝(&E)...");

    ASSERT_TRUE(frame->RunCommand(Cmd::CaptureStart));
    EXPECT_EQ(frame->Panes().CapturePane().text(), "갈무리");
    EXPECT_FALSE(frame->Panes().CapturePane().isHidden());
    EXPECT_EQ(frame->Action(Cmd::CaptureStart)->text(), "갈무리 끝(&L)...");
    EXPECT_EQ(frame->Action(Cmd::CaptureEnd)->text(), "갈무리 끝(&E)...\tAlt+L");
    EXPECT_TRUE(frame->Action(Cmd::CapturePause)->isEnabled());
    EXPECT_FALSE(frame->Action(Cmd::CaptureCode)->isEnabled());
    for (char c : std::string("kept\n"))
        frame->View().PutByte(static_cast<uint8_t>(c));

    const std::time_t now = std::time(nullptr);
    std::tm local;
    localtime_r(&now, &local);
    char name[32];
    std::snprintf(name, sizeof name, "s%02d%02d.txt", local.tm_mon + 1, local.tm_mday);
    const std::string saved = dir + "/data/quilite/cap/" + name;
    FileReply reply;
    reply.answer = FileAnswer::Accepted;
    reply.paths = {saved};
    reply.checks = {true};
    prompt.expectFile(reply);
    ASSERT_TRUE(frame->RunCommand(Cmd::CaptureStart));
    ASSERT_EQ(prompt.filesAsked.size(), 1u);
    EXPECT_EQ(prompt.filesAsked[0].folder + "/" + prompt.filesAsked[0].fileName, saved);
    std::ifstream in(saved, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "kept\r\n");
    EXPECT_TRUE(frame->Panes().CapturePane().isHidden());
    EXPECT_EQ(frame->Action(Cmd::CaptureStart)->text(), "갈무리 시작(&L)");
    EXPECT_EQ(frame->Action(Cmd::CaptureEnd)->text(), "갈무리 끝(&E)...");
    CRecordStore store(*registry);
    std::vector<Record> records = readFileRecords(store, RecordKind::CaptureFile);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(fileRecordFrom(records[0], RecordKind::CaptureFile).path, saved);
    unsetenv("TMPDIR");
}

}  // namespace
