// The main window: the splash, the menu bar turned off (every command still reachable, every
// shortcut still working), the bars and their stored toggles, web mode, the status bar's panes
// and the commands of the window itself.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <set>

#include "app/CommandTable.h"
#include "app/ConnectTime.h"
#include "app/gui/QtPrompt.h"
#include "app/gui/SplashWindow.h"
#include "auto/ProgramExit.h"
#include "link/ModemTable.h"
#include "tests/app/gui/FrameTestSupport.h"

namespace {

const std::string kSplash = QUILITE_SOURCE_DIR "/data/quilite.bmp";
const QRect kNormalPlace(37, 41, 640, 480);

// Every action reachable from a menu, through its submenus.
void collectActions(const QMenu* menu, std::set<QAction*>& found) {
    for (QAction* action : menu->actions()) {
        if (action->menu())
            collectActions(action->menu(), found);
        else if (!action->isSeparator())
            found.insert(action);
    }
}

// Runs `answer` on the next dialog that opens.
void whenADialogOpens(std::function<void(QDialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        answer(*qobject_cast<QDialog*>(QApplication::activeModalWidget()));
    });
}

// ---------------------------------------------------------------------------------------------
// The splash

TEST(Splash, ShowsOnlyForAFirstPlainStart) {
    for (int bits = 0; bits < 16; ++bits) {
        const SplashConditions c{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                 (bits & 8) != 0};
        EXPECT_EQ(SplashAllowed(c), bits == 0) << bits;
    }
}

TEST_F(FrameTest, TheSplashStandsOverTheWindowAndGoesAtTheFirstTickAfterFourSeconds) {
    makeFrame();
    frame->setGeometry(kNormalPlace);
    frame->show();
    QPointer<SplashWindow> splash = SplashWindow::Show(kSplash, *frame, clock);
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(400, 250));
    EXPECT_EQ(splash->frameGeometry().center(), frame->frameGeometry().center());
    EXPECT_FALSE(splash->mask().isEmpty());
    clock.advance(SplashWindow::kTickMs);
    splash->Tick();
    EXPECT_TRUE(splash->isVisible());
    clock.advance(SplashWindow::kTickMs);  // 6000 ms
    splash->Tick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }));
}

TEST_F(FrameTest, AKeyOrAButtonPressAnywhereClosesTheSplash) {
    makeFrame();
    frame->show();
    for (int press = 0; press < 3; ++press) {
        QPointer<SplashWindow> splash = SplashWindow::Show(kSplash, *frame, clock);
        ASSERT_TRUE(splash);
        if (press == 0) QTest::keyClick(&frame->View(), Qt::Key_A);
        if (press == 1) QTest::mouseClick(&frame->View(), Qt::RightButton);
        if (press == 2) QTest::mouseClick(splash, Qt::MiddleButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); })) << press;
    }
}

TEST_F(FrameTest, NoPictureNoSplash) {
    makeFrame();
    EXPECT_FALSE(SplashWindow::Show(dir + "/missing.bmp", *frame, clock));
    const std::string notAPicture = QUILITE_SOURCE_DIR "/data/quilite.desktop";
    EXPECT_FALSE(SplashWindow::Show(notAPicture, *frame, clock));
}

// ---------------------------------------------------------------------------------------------
// The menu bar turned off

TEST_F(FrameTest, WithoutTheMenuBarTheWholeMenuIsOnePopUp) {
    setSetting("UseMenu", "0");
    makeFrame();
    showActive();
    EXPECT_TRUE(frame->menuBar()->isHidden());
    QMenu* popup = frame->MainMenuPopup();
    EXPECT_EQ(popup->title(), "메뉴(&U)");
    std::set<QAction*> reachable;
    collectActions(popup, reachable);
    for (const Command& c : commandTable())
        EXPECT_TRUE(reachable.count(frame->Action(c.id))) << c.text;

    QTest::keyClick(frame.get(), Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == popup; }));
    popup->close();
    frame->View().contextMenuWanted(frame->View().mapToGlobal(QPoint(20, 20)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == popup; }));
    popup->close();

    EXPECT_TRUE(frame->RunCommand(Cmd::ToggleMenu));
    EXPECT_FALSE(frame->menuBar()->isHidden());
    frame->SaveWindowState();
    EXPECT_EQ(setting("UseMenu"), "1");
}

TEST_F(FrameTest, EveryShortcutFiresWithoutTheMenuBar) {
    setSetting("UseMenu", "0");
    makeFrame();
    showActive();
    std::vector<int> ran;
    int withShortcut = 0;
    for (const Command& c : commandTable()) {
        if (c.shortcut.empty()) continue;
        ++withShortcut;
        frame->SetCommand(c.id, {[&ran, id = c.id] { ran.push_back(id); }});
        frame->UpdateCommands();
        QTest::keySequence(&frame->View(), QKeySequence(QString::fromStdString(c.shortcut)));
        ASSERT_FALSE(ran.empty()) << c.shortcut;
        EXPECT_EQ(ran.back(), c.id) << c.shortcut;
    }
    EXPECT_EQ(static_cast<int>(ran.size()), withShortcut);
    EXPECT_GE(withShortcut, 6);
}

// ---------------------------------------------------------------------------------------------
// Bars and web mode

TEST_F(FrameTest, BarsCarryTheirNamesAndFollowTheirStoredToggles) {
    makeFrame();
    struct Bar {
        const char* name;
        const char* caption;
        Qt::ToolBarAreas areas;
    } bars[] = {
        {"STD_TOOL", "표준 도구 모음", Qt::TopToolBarArea | Qt::RightToolBarArea},
        {"MOV_TOOL", "이동 도구 모음", Qt::TopToolBarArea | Qt::RightToolBarArea},
        {"EXT_TOOL", "확장 도구 모음", Qt::TopToolBarArea | Qt::RightToolBarArea},
        {"DOCK_TOP", "위쪽 막대", Qt::TopToolBarArea},
    };
    for (const Bar& b : bars) {
        auto* bar = frame->findChild<QToolBar*>(b.name);
        ASSERT_TRUE(bar) << b.name;
        EXPECT_EQ(bar->windowTitle(), b.caption);
        EXPECT_EQ(bar->allowedAreas(), b.areas) << b.name;
        EXPECT_FALSE(bar->isHidden()) << b.name;
    }
    EXPECT_FALSE(frame->findChild<QToolBar*>("WEB_TOOL"));  // made when first needed

    for (const FrameBars::Toggle& t : FrameBars::Toggles()) {
        SCOPED_TRACE(t.setting);
        EXPECT_TRUE(frame->Bars().On(t.bar));
        EXPECT_TRUE(frame->Action(t.command)->isChecked());
        EXPECT_EQ(frame->Bars().Shown(t.bar), t.bar != FrameBars::WebTool);
    }
    for (int id : {Cmd::ToggleStdTool, Cmd::ToggleHistWnd, Cmd::ToggleStatusBar})
        EXPECT_TRUE(frame->RunCommand(id));
    EXPECT_FALSE(frame->Action(Cmd::ToggleStdTool)->isChecked());
    EXPECT_FALSE(frame->Bars().Shown(FrameBars::StdTool));
    EXPECT_FALSE(frame->Bars().Shown(FrameBars::HistWnd));
    EXPECT_TRUE(frame->statusBar()->isHidden());
    frame->SaveWindowState();
    for (const FrameBars::Toggle& t : FrameBars::Toggles()) {
        const bool off = t.bar == FrameBars::StdTool || t.bar == FrameBars::HistWnd ||
                         t.bar == FrameBars::StatusBar;
        EXPECT_EQ(setting(t.setting), off ? "0" : "1") << t.setting;
    }

    makeFrame();
    EXPECT_FALSE(frame->Bars().Shown(FrameBars::StdTool));
    EXPECT_TRUE(frame->Bars().Shown(FrameBars::MoveTool));
    EXPECT_FALSE(frame->Bars().Shown(FrameBars::HistWnd));
}

TEST_F(FrameTest, WebModeHasItsOwnBarsAndPlacement) {
    setSetting("UseHistWnd", "0");
    setSetting("UseDockTop", "0");
    makeFrame();
    const QRect terminalPlace(30, 40, 620, 500), webPlace(60, 20, 700, 520);
    frame->setGeometry(terminalPlace);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));

    EXPECT_TRUE(frame->RunCommand(Cmd::WebMode));
    EXPECT_TRUE(frame->WebMode());
    EXPECT_TRUE(frame->Action(Cmd::WebMode)->isChecked());
    for (auto bar : {FrameBars::StdTool, FrameBars::MoveTool, FrameBars::ExtTool})
        EXPECT_FALSE(frame->Bars().Shown(bar));
    for (auto bar : {FrameBars::HistWnd, FrameBars::DockTop, FrameBars::WebTool})
        EXPECT_TRUE(frame->Bars().Shown(bar));
    auto* webTool = frame->findChild<QToolBar*>("WEB_TOOL");
    ASSERT_TRUE(webTool);
    EXPECT_EQ(webTool->windowTitle(), "도구 모음");
    EXPECT_EQ(webTool->allowedAreas(), Qt::TopToolBarArea);
    EXPECT_TRUE(frame->View().isHidden());
    EXPECT_EQ(setting("WindowPos"), "0,1,-1,-1,-1,-1,30,40,650,540");

    frame->setGeometry(webPlace);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->geometry() == webPlace; }));
    frame->SaveWindowState();  // closed in web mode
    EXPECT_EQ(setting("WebPos"), "0,1,-1,-1,-1,-1,60,20,760,540");
    EXPECT_EQ(setting("WindowPos"), "0,1,-1,-1,-1,-1,30,40,650,540");

    EXPECT_TRUE(frame->RunCommand(Cmd::ToggleWebTool));  // the web tool bar goes
    EXPECT_FALSE(frame->Bars().Shown(FrameBars::WebTool));
    EXPECT_TRUE(frame->RunCommand(Cmd::WebMode));
    EXPECT_FALSE(frame->WebMode());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->geometry() == terminalPlace; }));
    EXPECT_FALSE(frame->View().isHidden());
    for (auto bar : {FrameBars::StdTool, FrameBars::MoveTool, FrameBars::ExtTool})
        EXPECT_TRUE(frame->Bars().Shown(bar));
    for (auto bar : {FrameBars::HistWnd, FrameBars::DockTop, FrameBars::WebTool})
        EXPECT_FALSE(frame->Bars().Shown(bar));
}

// ---------------------------------------------------------------------------------------------
// The status bar

TEST(ConnectTime, ClockAndToolTipCountWholeHours) {
    struct Case {
        int64_t seconds;
        const char* clock;
        const char* tip;
    } cases[] = {
        {0, "00:00:00", "연결 0초"},
        {5, "00:00:05", "연결 5초"},
        {65, "00:01:05", "연결 1분 5초"},
        {3600, "01:00:00", "연결 1시간 0분 0초"},
        {3725, "01:02:05", "연결 1시간 2분 5초"},
        {90000, "25:00:00", "연결 25시간 0분 0초"},
        {360061, "100:01:01", "연결 100시간 1분 1초"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConnectClockText(c.seconds), c.clock);
        EXPECT_EQ(ConnectTimeTip(c.seconds), c.tip);
    }
}

TEST_F(FrameTest, PanesShowTheLinkTheScreenTheTimeOnlineAndTheInputState) {
    ModemTable::store(*registry, {{"Modem", "COM1", PortSettings::parse("9600,8,N,1,CTS")},
                                  {"USB", "/dev/ttyUSB0", std::nullopt}});
    makeFrame();
    StatusPanes& panes = frame->Panes();
    EXPECT_TRUE(panes.LinkPane().isHidden());
    EXPECT_EQ(panes.LinkPane().toolTip(), "통신상태");
    frame->SetLinkMode(CQuillonDoc::kModemMode, "Modem");
    EXPECT_FALSE(panes.LinkPane().isHidden());
    EXPECT_EQ(panes.LinkPane().text(), "COM1-9600");
    EXPECT_EQ(panes.LinkPane().toolTip(), "통신상태(Modem)");
    frame->SetLinkMode(CQuillonDoc::kModemMode, "USB");
    EXPECT_EQ(panes.LinkPane().text(), "ttyUSB0-115200");
    frame->SetLinkMode(CQuillonDoc::kModemMode, "COM2");  // a direct cable
    EXPECT_EQ(panes.LinkPane().text(), "COM2-115200");
    frame->SetLinkMode(CQuillonDoc::kModemMode, "");  // no modem set up
    EXPECT_EQ(panes.LinkPane().text(), "");
    frame->SetLinkMode(CQuillonDoc::kTelnetMode, "");
    EXPECT_TRUE(panes.LinkPane().isHidden());
    EXPECT_EQ(panes.LinkPane().text(), "");
    EXPECT_EQ(panes.LinkPane().toolTip(), "통신상태");

    EXPECT_EQ(panes.ScreenPane().text(), "80x24");
    EXPECT_EQ(panes.ScreenPane().toolTip(), "화면 설정 (Alt+Z)");
    ScreenSettings rows = frame->View().Settings();
    rows.rows = 8;
    frame->View().ApplyScreenSettings(rows);
    EXPECT_EQ(panes.ScreenPane().text(), "80x 8");
    int settingsAsked = 0;
    frame->SetCommand(Cmd::ScreenSettings, {[&settingsAsked] { ++settingsAsked; }});
    QTest::mouseDClick(&panes.ScreenPane(), Qt::LeftButton);
    EXPECT_EQ(settingsAsked, 1);

    EXPECT_EQ(panes.TimePane().text(), "OFFLINE");
    EXPECT_EQ(panes.TimePane().toolTip(), "연결 시간");
    frame->SetTitle("bbs.example");
    frame->SetOnline(true);
    EXPECT_EQ(panes.TimePane().text(), "00:00:00");
    clock.advance(90000 * 1000LL);
    panes.ShowConnectTime();
    EXPECT_EQ(panes.TimePane().text(), "25:00:00");
    EXPECT_EQ(panes.TimePane().toolTip(), "연결 25시간 0분 0초");
    frame->SetOnline(false);
    frame->SetOnline(false);
    EXPECT_EQ(panes.TimePane().text(), "OFFLINE");
    EXPECT_EQ(panes.TimePane().toolTip(), "연결 시간");
    auto* history = frame->findChild<QDockWidget*>("HISTORY")->findChild<QListWidget*>("history");
    ASSERT_EQ(history->count(), 2);  // one line per change
    EXPECT_TRUE(history->item(0)->text().endsWith("] bbs.example 연결"));
    EXPECT_TRUE(history->item(1)->text().endsWith("] 연결 끊김"));

    EXPECT_EQ(panes.Lamps().toolTip(), "통신램프 (받음/보냄)");
    EXPECT_EQ(panes.InputPane().toolTip(), "한/영 상태");
    EXPECT_EQ(panes.InputPane().text(), "");  // the state is not known
    panes.SetInputState(true);
    EXPECT_EQ(panes.InputPane().text(), "한");
    panes.SetInputState(false);
    EXPECT_EQ(panes.InputPane().text(), "영");
}

TEST_F(FrameTest, LampsLightOnTrafficAndGoOutSoonAfter) {
    makeFrame();
    StatusPanes& panes = frame->Panes();
    frame->LinkActivity(true, false);
    EXPECT_TRUE(panes.ReceiveLit());
    EXPECT_FALSE(panes.SendLit());
    frame->LinkActivity(false, true);
    EXPECT_TRUE(panes.SendLit());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panes.ReceiveLit() && !panes.SendLit(); }, 2000));
}

// ---------------------------------------------------------------------------------------------
// The window's own commands

TEST_F(FrameTest, EntryCommandsConnectTheEntryChosenInTheirList) {
    addEntry(RecordKind::TelnetEntry,
             {{"Title", cp("예제 텔넷 BBS")}, {"Type", "1"}, {"Server", "bbs.example:2323"}});
    makeFrame();
    startSession();
    QStringList offered;
    whenADialogOpens([&offered](QDialog& dialog) {
        auto* entries = dialog.findChild<QTreeWidget*>("entries");
        for (int i = 0; i < entries->topLevelItemCount(); ++i)
            offered.append(entries->topLevelItem(i)->text(0));
        dialog.findChild<QPushButton*>("connect")->click();
    });
    EXPECT_TRUE(frame->RunCommand(Cmd::TelnetEntry));
    EXPECT_EQ(offered, QStringList{"예제 텔넷 BBS"});
    ASSERT_FALSE(links.telnetCalls.empty());
    EXPECT_EQ(links.telnetCalls.back(), (std::pair<std::string, int>{"bbs.example", 2323}));

    whenADialogOpens([](QDialog& dialog) { dialog.reject(); });
    EXPECT_TRUE(frame->RunCommand(Cmd::ModemEntry));
    EXPECT_TRUE(links.modemsOpened.empty());
}

TEST_F(FrameTest, AHostTypedIntoTheTopBarIsConnectedAndRemembered) {
    makeFrame();
    startSession();
    auto* hosts = frame->findChild<QToolBar*>("DOCK_TOP")->findChild<QComboBox*>();
    ASSERT_TRUE(hosts);
    hosts->setEditText("  bbs.example 2323 ");
    QTest::keyClick(hosts->lineEdit(), Qt::Key_Return);
    ASSERT_FALSE(links.telnetCalls.empty());
    EXPECT_EQ(links.telnetCalls.back(), (std::pair<std::string, int>{"bbs.example", 2323}));
    EXPECT_EQ(hosts->itemText(0), "bbs.example 2323");
    EXPECT_EQ(hosts->currentText(), "");
}

// A termination signal's call: the question open then closes, the session closes without
// asking, later questions are not shown, and the window stores nothing.
TEST_F(FrameTest, EndingFromOutsideClosesTheOpenQuestionAndStoresNothing) {
    makeFrame();
    startSession({"bbs.example"});
    links.last->online = true;
    doc->OnIdle();
    frame->show();
    QTimer::singleShot(0, [this] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        frame->EndNow();
    });
    EXPECT_TRUE(frame->RunCommand(Cmd::TelnetEntry));  // asking for a name when the end comes
    EXPECT_TRUE(QTest::qWaitFor([this] { return doc->Closing(); }));
    EXPECT_EQ(doc->Link(), nullptr);
    EXPECT_EQ(links.telnetCalls.size(), 1u);
    QtPrompt questions;
    EXPECT_EQ(questions.ask("?", PromptButtons::YesNo, PromptIcon::Question), PromptAnswer::No);
    frame->SaveWindowState();
    EXPECT_EQ(setting("WindowPos"), "");
    setProgramExiting(false);
}

TEST_F(FrameTest, AboutTellsTheProgramsName) {
    makeFrame();
    EXPECT_TRUE(frame->RunCommand(Cmd::About));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].caption, "Quilite 정보");
}

}  // namespace
