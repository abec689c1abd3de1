// The Go window on the offscreen platform, opened by a board drawn through the real terminal:
// layout, panes, clicks, the popup's commands and rules, numbering, the saves, the input line,
// Esc and the screen clear.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "auto/CSettingsSection.h"
#include "auto/Folders.h"
#include "baduk/BadukDoc.h"
#include "baduk/MgtRecord.h"
#include "baduk/gui/BadukInputLine.h"
#include "baduk/gui/BadukWindows.h"
#include "baduk/gui/CBadukView.h"
#include "baduk/gui/CBadukWnd.h"
#include "baduk/gui/CEditBar.h"
#include "image/Dib.h"
#include "image/DibFile.h"
#include "platform/ScriptedPrompt.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/auto/TempProfile.h"
#include "tests/baduk/GameScript.h"
#include "tools/BadukDump.h"

namespace {

class BadukWindow : public TempProfile {
protected:
    BadukWindow() {
        guiTestApp();
        InstallBadukWindows({&prompt, registry.get(), nullptr},
                            [this](const char* text) { sent.push_back(text); });
    }
    ~BadukWindow() override {
        RemoveBadukWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void feed(const std::string& bytes) {
        link.Feed(bytes);
        while (link.InputCount() > 0)
            emulator.GetChar();
    }
    CBadukWnd& openGame(std::string service = {}) {
        service_ = std::move(service);
        GoScreen::Game game;
        feed(GameScript::Stream(game));
        EXPECT_NE(CurrentBadukWindow(), nullptr);
        return *CurrentBadukWindow();
    }
    QPoint pixelOf(CBadukView& view, int column, int row) {
        int b = (view.width() - 60) / 18;
        return {30 + column * b, 24 + row * b};
    }

    ScriptedPrompt prompt;
    std::vector<std::string> sent;
    std::string service_;
    MemoryLink link;
    BadukTerminal terminal{[this] { return service_; }};
    TWEmulator emulator{&terminal, &link};
};

TEST_F(BadukWindow, OpensAsTheBoardIsDrawnWithItsLayoutAndPanes) {
    EXPECT_EQ(CurrentBadukWindow(), nullptr);
    CBadukWnd& window = openGame();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("바둑창"));
    CBadukView& view = window.View();
    const int b = (view.width() - 60) / 18;
    EXPECT_TRUE(b == 19 || b == 25 || b == 33);
    EXPECT_EQ(view.height(), b * 18 + 48);
    EXPECT_EQ(window.size(), QSize(view.width() + 220, view.height() + 65));
    EXPECT_EQ(window.Input().geometry(), QRect(0, view.height() + 46, view.width() + 220, 19));
    window.FillPanes();
    EXPECT_EQ(window.SidePane().Line(0).trimmed(), QString::fromUtf8("흑: guest"));
    EXPECT_EQ(window.BottomPane().Line(1).trimmed(), QString::fromUtf8("백 차례"));
    QFontMetrics metrics(window.SidePane().font());
    EXPECT_EQ(window.SidePane().LineHeight(), metrics.height() + metrics.leading());

    // The screen clear closes the window; the next board opens a new one.
    feed("\x1b[2J");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CurrentBadukWindow(), nullptr);
    EXPECT_EQ(CBadukDoc::Current(), nullptr);
    openGame();
    EXPECT_NE(CurrentBadukWindow(), nullptr);
}

TEST_F(BadukWindow, ClicksPlayAndTheMenuSendsItsCommands) {
    CBadukWnd& window = openGame();
    CBadukView& view = window.View();
    QMouseEvent move(QEvent::MouseMove, QPointF(pixelOf(view, 3, 3)), QPointF(), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
    EXPECT_EQ(view.Hovered(), (TWPoint{3, 3}));
    QTest::mouseClick(&view, Qt::LeftButton, {}, pixelOf(view, 3, 3));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(2, 2));  // the margin plays nothing
    ASSERT_EQ(sent, std::vector<std::string>{"D 4"});

    std::unique_ptr<QMenu> menu(view.MakeMenu());
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text();
    EXPECT_EQ(texts.first(), QString::fromUtf8("번호보기(&V)"));
    EXPECT_EQ(texts.size(), 11);
    EXPECT_TRUE(menu->actions().first()->isChecked());
    menu->actions().last()->trigger();
    view.RunMenuItem(BadukMenuItem::MarkDead);
    EXPECT_EQ(sent.back(), "/D D 4");
    EXPECT_EQ(sent[sent.size() - 2], "/P");

    view.RunMenuItem(BadukMenuItem::Numbering);
    EXPECT_FALSE(view.Numbering());
    EXPECT_EQ(CSettingsSection(*registry, "Baduk").GetString("Numbering"), "0");

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&view, &leave);
    EXPECT_EQ(view.Hovered(), (TWPoint{-1, -1}));
    sent.clear();
    view.RunMenuItem(BadukMenuItem::MarkDead);  // disabled off the board
    EXPECT_TRUE(sent.empty());
}

TEST_F(BadukWindow, ChollianDisablesItsMissingCommands) {
    CBadukWnd& window = openGame("\xC3\xB5\xB8\xAE\xBE\xC8");
    std::unique_ptr<QMenu> menu(window.View().MakeMenu());
    QStringList disabled;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && !action->isEnabled()) disabled << action->text();
    EXPECT_EQ(disabled,
              QStringList({QString::fromUtf8("착수종료"), QString::fromUtf8("사석지정"),
                           QString::fromUtf8("빅지정"), QString::fromUtf8("대국중지신청")}));
}

TEST_F(BadukWindow, RecordAndPictureAreSavedFromTheDownloadFolder) {
    CBadukWnd& window = openGame();
    const std::string folder = GetFolder(*registry, FolderKind::Download);
    std::filesystem::create_directories(folder);
    FileReply record;
    record.answer = FileAnswer::Accepted;
    record.paths = {folder + "/game.MGT"};
    prompt.expectFile(record);
    window.View().RunMenuItem(BadukMenuItem::SaveRecord);
    ASSERT_EQ(prompt.filesAsked.size(), 1u);
    EXPECT_EQ(prompt.filesAsked[0].folder, folder);
    EXPECT_EQ(prompt.filesAsked[0].defaultExtension, "MGT");
    EXPECT_EQ(prompt.filesAsked[0].filter, "MGT 파일 (*.MGT)|*.MGT||");
    std::ifstream in(folder + "/game.MGT", std::ios::binary);
    std::string written(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(written, MgtText(CBadukDoc::Current()->Moves()));

    FileReply picture = record;
    picture.paths = {folder + "/board.bmp"};
    prompt.expectFile(picture);
    window.View().RunMenuItem(BadukMenuItem::SavePicture);
    EXPECT_EQ(prompt.filesAsked[1].filter, "비트맵 파일 (*.bmp)|*.bmp||");
    HDIB dib = LoadDIB(folder + "/board.bmp");
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(DIBWidth(dib), window.View().width());
    EXPECT_EQ(DIBHeight(dib), window.View().height() - 2);
    DestroyDIB(dib);

    // A record that cannot be written is told, and nothing is left under its name.
    record.paths = {dir + "/missing/game.MGT"};
    prompt.expectFile(record);
    window.View().RunMenuItem(BadukMenuItem::SaveRecord);
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_EQ(prompt.asked.back().text, kMgtSaveFailed);
}

TEST_F(BadukWindow, InputLineSendsLinesAndEscAsksBeforeClosing) {
    CBadukWnd& window = openGame();
    BadukInputLine& input = window.Input();
    QTest::keyClicks(&input, "hello");
    QTest::keyClick(&input, Qt::Key_Return, Qt::ControlModifier);  // nothing
    QTest::keyClick(&input, Qt::Key_Return);
    QTest::keyClicks(&input, "abc");
    QTest::keyClick(&input, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClick(&input, Qt::Key_Backspace);  // at the line's start: nothing
    QTest::keyClick(&input, Qt::Key_Tab);
    QTest::keyClick(&input, Qt::Key_Return);
    EXPECT_EQ(sent, (std::vector<std::string>{"hello", "\t"}));
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(&input, Qt::Key_Return);
    EXPECT_LE(input.document()->blockCount(), 28);
    QTest::keyClick(&input, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(input.toPlainText(), "");

    prompt.expect(PromptAnswer::Cancel);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_NE(CurrentBadukWindow(), nullptr);
    EXPECT_EQ(prompt.asked.back().text, "바둑창을 닫습니다.");
    prompt.expect(PromptAnswer::Ok);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CurrentBadukWindow(), nullptr);
    EXPECT_EQ(CBadukDoc::Current(), nullptr);
    feed("\x1b[2;5H\xA1\xDC");  // the board goes on without a window: ignored
}

}  // namespace
