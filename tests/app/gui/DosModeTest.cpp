// DOS mode in the window's chat input bar, on the offscreen platform: "/exec" lines and the menu
// command drive the command shell, whose output lands on the session's screen while nothing
// reaches the host; the prompt is the field's protected prefix; the pager asks its question
// through the window's prompts.
#include <stdlib.h>

#include <algorithm>

#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/CommandTable.h"
#include "app/gui/ChatInputBar.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

class DosModeTest : public FrameTest {
protected:
    DosModeTest() {
        char pattern[] = "/tmp/quilite-dos-XXXXXX";
        folder = mkdtemp(pattern);
        std::filesystem::create_directory(folder + "/sub");
        std::ofstream(folder + "/a.txt") << "hello";
        std::ofstream lines(folder + "/long.txt");
        for (int i = 1; i <= 200; ++i)
            lines << "line " << i << "\n";
        dosFolder = "C:" + folder;
        std::replace(dosFolder.begin(), dosFolder.end(), '/', '\\');

        makeFrame();
        CQuillonDoc& session = startSession({"127.0.0.1"});
        links.last->online = true;
        session.OnIdle();
        for (QWidget* widget : frame->findChildren<QWidget*>())
            if (auto* found = dynamic_cast<ChatInputBar*>(widget)) bar = found;
    }
    ~DosModeTest() override { std::filesystem::remove_all(folder); }

    void typeLine(const std::string& text) {
        QTest::keyClicks(&bar->Field(), QString::fromStdString(text));
        QTest::keyClick(&bar->Field(), Qt::Key_Return);
    }
    std::string field() const { return bar->Field().text().toStdString(); }
    // The screen row (CP949, trailing spaces removed) holding a text, or -1.
    int rowWith(const std::string& utf8) {
        TWView& view = frame->View();
        for (int y = 0; y < view.Rows(); ++y)
            if (screenRow(y).find(cp(utf8)) != std::string::npos) return y;
        return -1;
    }
    std::string screenRow(int y) {
        TWView& view = frame->View();
        std::string row(reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y)),
                        TWView::kColumns);
        row.erase(row.find_last_not_of(' ') + 1);
        return row;
    }

    std::string folder, dosFolder;
    ChatInputBar* bar = nullptr;
};

}  // namespace

TEST_F(DosModeTest, ExecLinesRunInTheShellAndNothingReachesTheHost) {
    ASSERT_TRUE(bar);
    ASSERT_TRUE(frame->RunCommand(Cmd::ChatBar));
    typeLine("/exec");
    EXPECT_EQ(field(), "C:\\> ");
    EXPECT_GE(rowWith("반트라 도스 98"), 0);
    typeLine("cd " + dosFolder);
    EXPECT_EQ(field(), dosFolder + "> ");
    // A program starts on its own in the shell's folder.
    typeLine("touch made.txt");
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(folder + "/made.txt"); }));
    std::filesystem::remove(folder + "/made.txt");
    typeLine("exit");
    EXPECT_EQ(field(), "");
    EXPECT_FALSE(bar->Line().ShellOn());

    // With the shell off, "/exec dir" runs one command after a bare line break.
    const int exitRow = rowWith(dosFolder + "> exit");
    ASSERT_GE(exitRow, 0);
    typeLine("/exec dir");
    EXPECT_EQ(field(), "");
    EXPECT_FALSE(bar->Line().ShellOn());
    EXPECT_EQ(screenRow(exitRow + 1), "");
    EXPECT_EQ(rowWith("  디렉토리 " + dosFolder), exitRow + 2);
    const int subRow = rowWith("<DIR>    sub");
    const int fileRow = rowWith("              5  a.txt");
    EXPECT_GT(subRow, exitRow + 2);
    EXPECT_GT(fileRow, subRow);
    EXPECT_GE(rowWith("         2개 파일"), 0);
    EXPECT_EQ(links.last->Output(), "");
}

TEST_F(DosModeTest, TheMenuCommandTogglesTheShellInTheBarWithItsKeys) {
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->isVisibleTo(frame.get()));
    ASSERT_TRUE(frame->RunCommand(Cmd::DosMode));
    EXPECT_TRUE(bar->isVisibleTo(frame.get()));
    EXPECT_TRUE(bar->Line().ShellOn());
    EXPECT_EQ(field(), "C:\\> ");

    // The prompt stays; Tab types a tab; Up and Down leave the field alone.
    QLineEdit& edit = bar->Field();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClicks(&edit, "a");
    QTest::keyClick(&edit, Qt::Key_Tab);
    QTest::keyClicks(&edit, "b");
    EXPECT_EQ(field(), "C:\\> a\tb");
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(field(), "C:\\> a\tb");
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(field(), "C:\\> ");

    // A long file: "type" pauses after five screens, "more" after one; Cancel stops it.
    const int perScreen = frame->View().Rows() - 1;
    typeLine("cd " + dosFolder);
    typeLine("type long.txt");
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "계속하려면 엔터를 누르십시오.");
    EXPECT_EQ(prompt.asked[0].caption, "도스 명령");
    prompt.expect(PromptAnswer::Cancel);
    typeLine("more long.txt");
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_GE(rowWith("line " + std::to_string(perScreen)), 0);
    EXPECT_EQ(rowWith("line " + std::to_string(perScreen + 1)), -1);
    EXPECT_EQ(field(), dosFolder + "> ");

    ASSERT_TRUE(frame->RunCommand(Cmd::DosMode));
    EXPECT_FALSE(bar->Line().ShellOn());
    EXPECT_EQ(field(), "");
    EXPECT_EQ(bar->Line().ProtectedPrefix(), "");
    EXPECT_EQ(links.last->Output(), "");
}
