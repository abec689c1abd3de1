// The demo in the program's window on the offscreen platform, against the real demo host: with
// "InitMode" 0 (modem) the session still starts in telnet mode on the demo entry, with no
// question about a modem; after the log-in the host's main menu stands on the first row;
// logging out ends the host, and connecting again to the demo entry brings it back. On the
// videotex page the user sees the picture, types into its field, and is back on the text
// screen with the host's echo. The window ends cleanly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

#include "app/DemoLaunch.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/GuiProgram.h"
#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "link/CQuillonDoc.h"
#include "platform/DataFolder.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/auto/TempProfile.h"
#include "vtx/CVtx.h"

namespace {

// What the check running inside the program's loop does after the log-in, and what it saw.
enum class Scenario { LogOutAndBack, Videotex };
struct Watch {
    Scenario scenario = Scenario::LogOutAndBack;
    DemoLaunch* launch = nullptr;
    std::vector<std::string> rows;  // the screen when it ended, UTF-8
    bool questionAsked = false;
    bool topShown = false;
    int firstHost = -1;
    bool hostEndedOnLogout = false;
    int secondHost = -1;
    int pagePixels = 0;  // pixels of the page's box colour painted in the window
    std::string typed;   // the field's key buffer before Enter
    bool textBack = false;
    int startMode = -1;
    int step = 0;
    int ticks = 0;
};
Watch watch;

std::vector<std::string> screenRows(CQuillonView& view) {
    std::vector<std::string> rows;
    for (int y = 0; y < view.Rows(); ++y) {
        const auto* row = reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y));
        std::string text(row, TWView::kColumns);
        text.erase(text.find_last_not_of(' ') + 1);
        rows.push_back(cp949ToUtf8Lossy(text));
    }
    return rows;
}

CMainFrame* mainFrame() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* frame = dynamic_cast<CMainFrame*>(window)) return frame;
    return nullptr;
}

bool shows(const std::string& text) {
    for (const std::string& row : watch.rows)
        if (row.find(text) != std::string::npos) return true;
    return false;
}

// Logs out at the main menu, connects again once the host has ended, and ends the program
// when the ID prompt is back.
void logOutAndBack(CMainFrame& frame) {
    if (watch.step == 2 && !watch.rows.empty() && watch.rows[0] == "초기 화면 (TOP)") {
        watch.topShown = true;
        watch.firstHost = watch.launch->HostPid();
        frame.Doc()->SendLine("x");
        watch.step = 3;
    } else if (watch.step == 3 && !frame.Doc()->Online() && watch.launch->HostPid() < 0 &&
               !std::filesystem::exists("/proc/" + std::to_string(watch.firstHost))) {
        watch.hostEndedOnLogout = true;
        frame.Doc()->ConnectEntry(watch.launch->Entry());
        watch.step = 4;
    } else if (watch.step == 4 && shows("login:")) {
        watch.secondHost = watch.launch->HostPid();
        frame.EndNow();
    }
}

// Pixels of the window in the colour of the page's box (colour 15 of the default map).
int pagePixels(CQuillonView& view) {
    const QImage shown = view.grab().toImage();
    int found = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            found += shown.pixel(x, y) == qRgb(0, 188, 252);
    return found;
}

// Goes to the videotex page, types "가" (through the input method) and "1" into its field once
// the page is shown, then Enter; ends the program when the text screen is back with the echo.
void typeIntoThePage(CMainFrame& frame) {
    CQuillonView& view = frame.View();
    if (watch.step == 2 && !watch.rows.empty() && watch.rows[0] == "초기 화면 (TOP)") {
        frame.Doc()->SendLine("go vtx");
        watch.step = 3;
    } else if (watch.step == 3 && view.VideotexMode() && frame.Doc()->VideotexPage() &&
               frame.Doc()->VideotexPage()->FieldInput()) {
        watch.pagePixels = pagePixels(view);
        QInputMethodEvent hangul;
        hangul.setCommitString(QString::fromUtf8("가"));
        QApplication::sendEvent(&view, &hangul);
        QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
        QApplication::sendEvent(&view, &one);
        watch.typed = frame.Doc()->VideotexPage()->KeyBuffer();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(&view, &enter);
        watch.step = 4;
    } else if (watch.step == 4 && !view.VideotexMode() && shows("입력하신 내용: 가1")) {
        watch.textBack = true;
        frame.EndNow();
    }
}

// Every 50 ms once the application exists: logs in when the prompts show, then plays the
// scenario; ends the program after 20 s. A question is answered by closing it.
void checkScreen() {
    CMainFrame* frame = mainFrame();
    if (QApplication::activeModalWidget()) {
        watch.questionAsked = true;
        QApplication::activeModalWidget()->close();
    }
    if (!frame || !frame->Doc()) return;
    watch.startMode = frame->Doc()->StartMode();
    watch.rows = screenRows(frame->View());
    if (++watch.ticks > 400) {
        frame->EndNow();
    } else if (watch.step == 0 && shows("login:")) {
        frame->Doc()->SendLine("guest");
        watch.step = 1;
    } else if (watch.step == 1 && shows("Password:")) {
        frame->Doc()->SendLine("demo");
        watch.step = 2;
    } else if (watch.scenario == Scenario::LogOutAndBack) {
        logOutAndBack(*frame);
    } else {
        typeIntoThePage(*frame);
    }
}

void startWatching() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, checkScreen);
    timer->start(50);
}
Q_COREAPP_STARTUP_FUNCTION(startWatching)

class DemoWindow : public TempProfile {
protected:
    DemoWindow() {
        mkdir((dir + "/run").c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", (dir + "/run").c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ScriptedPrompt prompt;
        std::string error;
        std::unique_ptr<Registry> store = openProfileStore(defaultProfilePath(), prompt, error);
        EXPECT_TRUE(store) << error;
        runFirstRunSetup(*store, prompt, dataFolder());
        CSettingsSection(*store, "Comm").SetInt("InitMode", 0);
    }
    ~DemoWindow() override {
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("XDG_RUNTIME_DIR");
    }

    // Runs the program on a demo host of its own through the scenario; the last screen.
    std::string play(Scenario scenario) {
        DemoLaunch launch;
        std::string error;
        EXPECT_TRUE(launch.Start(error, QUILITE_BINARY_DIR "/tools/quilite-demohost")) << error;
        watch = Watch{};
        watch.scenario = scenario;
        watch.launch = &launch;
        char name[] = "quilite";
        char* argv[] = {name, nullptr};
        int argc = 1;
        EXPECT_EQ(RunGuiProgram(argc, argv, {}, GuiOptions{}, &launch.Entry()), 0);
        std::string screen;
        for (const std::string& row : watch.rows)
            screen += row + "\n";
        return screen;
    }
};

TEST_F(DemoWindow, StartsInTelnetModeShowsTheMainMenuAndEndsTheHostOnLogout) {
    const std::string screen = play(Scenario::LogOutAndBack);
    EXPECT_FALSE(watch.questionAsked);
    EXPECT_EQ(watch.startMode, CQuillonDoc::kTelnetMode);
    EXPECT_TRUE(watch.topShown) << screen;
    EXPECT_GT(watch.firstHost, 0);
    EXPECT_TRUE(watch.hostEndedOnLogout) << screen;
    EXPECT_GT(watch.secondHost, 0) << screen;
    EXPECT_NE(watch.secondHost, watch.firstHost);
}

TEST_F(DemoWindow, TheVideotexPageIsShownTakesTheFieldAndGivesTheTextScreenBack) {
    const std::string screen = play(Scenario::Videotex);
    EXPECT_GT(watch.pagePixels, 1000) << "the page's box is not painted";
    EXPECT_EQ(watch.typed, utf8ToCp949Lossy("가1"));
    EXPECT_TRUE(watch.textBack) << screen;
}

}  // namespace
