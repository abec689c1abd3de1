// The terminal window's mouse, clipboard and screen commands: selecting and auto copy, the
// double clicks, dragging past the window, the wheel, the context menu, pasting with the tty's
// conversions, the copy commands, rows, colour restore, and the widget's picture against
// RenderScreen's.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStatusBar>

#include "tests/app/gui/ViewTestSupport.h"

namespace {

class ViewMouse : public ViewTest {
protected:
    ViewMouse() {
        receive("\x1b[2J\x1b[Hhello world   \r\n" + cp("한글 row") + "\r\n");
        clipboard()->setText("before");
    }
    QClipboard* clipboard() { return QGuiApplication::clipboard(); }
    QString clipboardText() { return clipboard()->text(); }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&view(), to);
        QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, to);
    }
    void wheel(int delta) {
        QWheelEvent event(QPointF(10, 10), view().mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view(), &event);
    }
    // Idle passes until the link has `bytes` or time is up.
    std::string sentOnceItHas(size_t bytes) {
        for (int i = 0; i < 200 && link().Output().size() < bytes; ++i)
            loop.runFor(5);
        return sent();
    }
};

TEST_F(ViewMouse, AFinishedSelectionIsCopiedWithLfLineEndsAndCleared) {
    drag(cellEdge(0, 0), cellEdge(5, 0));
    EXPECT_EQ(clipboardText(), "hello");
    EXPECT_FALSE(view().Selection().Active());

    drag(cellEdge(6, 0), cellEdge(2, 1));
    EXPECT_EQ(clipboardText(), "world\n한\n");
    if (clipboard()->supportsSelection()) {
        EXPECT_EQ(clipboard()->text(QClipboard::Selection), "world\n한\n");
    }
    EXPECT_EQ(sent(), "");
}

TEST_F(ViewMouse, WithoutAutoCopyTheSelectionStaysForTheCopyCommand) {
    EXPECT_TRUE(window->RunCommand(Cmd::AutoCopy));
    EXPECT_EQ(setting("AutoCopy"), "0");
    EXPECT_FALSE(window->RunCommand(Cmd::Copy));  // nothing selected

    drag(cellEdge(6, 0), cellEdge(11, 0));
    EXPECT_TRUE(view().Selection().Active());
    EXPECT_EQ(clipboardText(), "before");
    EXPECT_TRUE(window->RunCommand(Cmd::Copy));
    EXPECT_EQ(clipboardText(), "world");

    // Past the end of the text no blanks are copied.
    drag(cellEdge(6, 0), cellEdge(40, 0));
    EXPECT_TRUE(window->RunCommand(Cmd::Copy));
    EXPECT_EQ(clipboardText(), "world");
}

TEST_F(ViewMouse, AClickWithoutMovingSelectsNothing) {
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, cellEdge(3, 0));
    EXPECT_FALSE(view().Selection().Active());
    EXPECT_EQ(clipboardText(), "before");
}

TEST_F(ViewMouse, DoubleClicksSendCrOrTheRow) {
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::NoModifier, cellCentre(30, 5));
    EXPECT_EQ(sent(), "\r");
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(30, 0));
    EXPECT_EQ(sent(), "hello world");

    std::vector<std::string> chat;
    view().chatLineText = [&](const std::string& text) {
        chat.push_back(text);
        return true;
    };
    QTest::mouseDClick(&view(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(0, 1));
    EXPECT_EQ(chat, std::vector<std::string>{cp("한글 row")});
    EXPECT_EQ(sent(), "");
}

TEST_F(ViewMouse, ASelectionDraggedAboveTheWindowScrollsBack) {
    for (int i = 0; i < 60; ++i)
        receive("line " + std::to_string(i) + "\r\n");
    QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, cellEdge(0, 3));
    QTest::mouseMove(&view(), QPoint(20, -5));
    runLoopUntil(
        loop, [&] { return false; }, 300);
    EXPECT_TRUE(view().ScrolledBack());
    QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(20, -5));
    const QStringList lines = clipboardText().split('\n');
    EXPECT_GT(lines.size(), 5) << clipboardText().toStdString();
    EXPECT_EQ(sent(), "");
}

TEST_F(ViewMouse, TheWheelScrollsThroughTheHistory) {
    for (int i = 0; i < 60; ++i)
        receive("line " + std::to_string(i) + "\r\n");
    wheel(60);  // half a notch: not yet a line
    EXPECT_FALSE(view().ScrolledBack());
    wheel(60);
    EXPECT_TRUE(view().ScrolledBack());
    wheel(-120);
    EXPECT_FALSE(view().ScrolledBack());
}

TEST_F(ViewMouse, PastedTextGetsCrLineEndsAndCp949) {
    clipboard()->setText(QString::fromUtf8("a\nb\r\nc한😀"));
    EXPECT_TRUE(window->RunCommand(Cmd::Paste));
    EXPECT_EQ(sentOnceItHas(7), "a\rb\rc\xc7\xd1?");  // the session never sends LF

    clipboard()->setText("");
    EXPECT_TRUE(window->RunCommand(Cmd::Paste));
    EXPECT_FALSE(doc->PasteRunning());
}

TEST_F(ViewMouse, TheContextMenuIsTheMainMenu) {
    const QPoint at = cellCentre(3, 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view().mapToGlobal(at));
    QApplication::sendEvent(&view(), &event);
    QMenu* popup = window->MainMenuPopup();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == popup; }));
    popup->close();
}

TEST_F(ViewMouse, CopyScreenAndHistoryTellTheStatusBar) {
    EXPECT_TRUE(window->RunCommand(Cmd::CopyScreen));
    const QStringList rows = clipboardText().split('\n');
    ASSERT_EQ(rows.size(), view().Rows() + 1);
    EXPECT_EQ(rows[0], "hello world");
    EXPECT_EQ(rows[1], "한글 row");
    EXPECT_EQ(rows[2], " ");
    EXPECT_EQ(window->statusBar()->currentMessage(), "현재 화면 내용을 클립보드에 저장했습니다.");

    receive("\x1b[30;1Hbottom\r\n");
    EXPECT_TRUE(window->RunCommand(Cmd::CopyScrollback));
    EXPECT_TRUE(clipboardText().contains("hello world\n"));
    EXPECT_TRUE(clipboardText().endsWith(" \n"));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "스크롤 버퍼 내용 전체를 클립보드에 저장했습니다.");
}

TEST_F(ViewMouse, RowCommandsChangeTheRowsWithinTheirLimits) {
    ASSERT_EQ(view().Rows(), 24);
    EXPECT_FALSE(window->RunCommand(Cmd::RemoveRow));  // below 25 rows
    EXPECT_TRUE(window->RunCommand(Cmd::AddRow));
    EXPECT_EQ(view().Rows(), 25);
    EXPECT_EQ(view().Settings().rows, 25);
    EXPECT_EQ(view().CellAreaSize().height(), 25 * view().Fonts().LineHeight());
    EXPECT_TRUE(window->RunCommand(Cmd::RemoveRow));
    EXPECT_EQ(view().Rows(), 24);
}

TEST_F(ViewMouse, ColourRestoreReturnsToTheDefaultColours) {
    receive("\x1b[1;31;42m\x1b[5;10r");
    EXPECT_NE(view().Attribute(), view().DefaultAttribute());
    EXPECT_TRUE(window->RunCommand(Cmd::RestoreColors));
    EXPECT_EQ(view().Attribute(), view().DefaultAttribute());
    EXPECT_EQ(view().RegionTop(), 0);
    EXPECT_EQ(view().RegionBottom(), view().Rows() - 1);
}

TEST_F(ViewMouse, TheWidgetShowsWhatRenderScreenPaints) {
    receive("\x1b[3;5H\x1b[1;33;44m" + cp("안녕하세요 ") +
            "\x1b[0;37;41mBBS\x1b[0m\r\n\x1b(0lqqk\x1b(B" + "\x1b[?25l");
    window->resize(900, 700);
    QApplication::processEvents();
    const QImage shown = view().grab().toImage().convertToFormat(QImage::Format_RGB32);
    TermFonts fonts;
    const QImage painted = RenderScreen(view(), fonts, view().Settings());
    ASSERT_EQ(shown.copy(QRect(QPoint(), painted.size())), painted);
    EXPECT_EQ(view().Picture(), painted);
}

TEST_F(ViewMouse, TheCaretFollowsTheCursorWhenNoCellChanges) {
    ASSERT_TRUE(view().hasFocus());
    view().Picture();
    receive("\x1b[5;5H");
    view().FlushDamage();
    TermFonts fonts;
    EXPECT_EQ(view().Picture(), RenderScreen(view(), fonts, view().Settings()));
}

TEST_F(ViewMouse, TheWallpaperToggleShowsOrHidesTheWallpaper) {
    QImage paper(16, 16, QImage::Format_RGB32);
    paper.fill(Qt::red);
    ASSERT_TRUE(paper.save(QString::fromStdString(dir + "/paper.png")));
    ScreenSettings settings = view().Settings();
    settings.wallPaper = dir + "/paper.png";
    view().ApplyScreenSettings(settings);
    const QPoint blank = cellCentre(79, 23);
    EXPECT_EQ(view().Picture().pixel(blank), qRgb(255, 0, 0));

    EXPECT_TRUE(window->RunCommand(Cmd::Wallpaper));
    EXPECT_FALSE(view().Modes().wallpaper);
    EXPECT_EQ(view().Picture().pixel(blank), qRgb(0, 0, 0x80));
    EXPECT_TRUE(window->RunCommand(Cmd::Wallpaper));
    EXPECT_EQ(view().Picture().pixel(blank), qRgb(255, 0, 0));
}

TEST_F(ViewMouse, TheSmartMouseOutlinesWhatTheRecogniserFinds) {
    std::vector<QPoint> offered;
    view().smartMouseItem = [&](QPoint cell) {
        offered.push_back(cell);
        return QRect(0, 0, 5, 1);
    };
    const QImage before = view().Picture();
    QTest::mouseMove(&view(), cellCentre(3, 1));
    ASSERT_FALSE(offered.empty());
    EXPECT_EQ(offered.back(), QPoint(3, 1));
    const QImage outlined = view().Picture();
    EXPECT_EQ(outlined.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_NE(outlined, before);

    EXPECT_TRUE(window->RunCommand(Cmd::SmartMouse));
    EXPECT_EQ(setting("UseIMouse"), "0");
    offered.clear();
    QTest::mouseMove(&view(), cellCentre(4, 2));
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(view().Picture(), before);
}

TEST_F(ViewMouse, WithVariableRowsTheRowsFollowTheHeight) {
    ScreenSettings settings = view().Settings();
    settings.variableRows = true;
    view().ApplyScreenSettings(settings);
    view().resize(view().width(), 30 * view().Fonts().LineHeight() + 3);
    EXPECT_EQ(view().Rows(), 30);
    EXPECT_EQ(view().Settings().rows, 30);
}

}  // namespace
