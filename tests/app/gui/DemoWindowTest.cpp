// The demo in the program's window on the offscreen platform: with "InitMode" 0 (modem) the
// session still starts in telnet mode on the demo entry, with no question about a modem; after
// the log-in the host's main menu stands on the first row; logging out ends the host, and
// connecting again to the demo entry brings it back; the window ends cleanly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <QApplication>
#include <QTimer>

#include "app/DemoLaunch.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/GuiProgram.h"
#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "link/CQuillonDoc.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/auto/TempProfile.h"

namespace {

// What the check running inside the program's loop saw.
struct Watch {
    DemoLaunch* launch = nullptr;
    std::vector<std::string> rows;  // the screen when it ended, UTF-8
    bool questionAsked = false;
    bool topShown = false;
    int firstHost = -1;
    bool hostEndedOnLogout = false;
    int secondHost = -1;
    int startMode = -1;
    int step = 0;
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

// Every 50 ms once the application exists: logs in when the prompts show, logs out when the
// main menu is there, connects again once the host has ended, and ends the program when the ID
// prompt is back or 20 s have passed. A question is answered by closing it.
void checkScreen() {
    static int ticks = 0;
    CMainFrame* frame = mainFrame();
    if (QApplication::activeModalWidget()) {
        watch.questionAsked = true;
        QApplication::activeModalWidget()->close();
    }
    if (!frame || !frame->Doc()) return;
    watch.startMode = frame->Doc()->StartMode();
    watch.rows = screenRows(frame->View());
    const auto shows = [](const std::string& text) {
        for (const std::string& row : watch.rows)
            if (row.find(text) != std::string::npos) return true;
        return false;
    };
    if (watch.step == 0 && shows("login:")) {
        frame->Doc()->SendLine("guest");
        watch.step = 1;
    } else if (watch.step == 1 && shows("Password:")) {
        frame->Doc()->SendLine("demo");
        watch.step = 2;
    } else if (watch.step == 2 && !watch.rows.empty() && watch.rows[0] == "초기 화면 (TOP)") {
        watch.topShown = true;
        watch.firstHost = watch.launch->HostPid();
        frame->Doc()->SendLine("x");
        watch.step = 3;
    } else if (watch.step == 3 && !frame->Doc()->Online() && watch.launch->HostPid() < 0 &&
               !std::filesystem::exists("/proc/" + std::to_string(watch.firstHost))) {
        watch.hostEndedOnLogout = true;
        frame->Doc()->ConnectEntry(watch.launch->Entry());
        watch.step = 4;
    } else if (watch.step == 4 && shows("login:")) {
        watch.secondHost = watch.launch->HostPid();
        frame->EndNow();
    } else if (++ticks > 400) {
        frame->EndNow();
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
        runFirstRunSetup(*store, prompt, installedDataFolder());
        CSettingsSection(*store, "Comm").SetInt("InitMode", 0);
    }
    ~DemoWindow() override {
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("XDG_RUNTIME_DIR");
    }
};

TEST_F(DemoWindow, StartsInTelnetModeShowsTheMainMenuAndEndsTheHostOnLogout) {
    DemoLaunch launch;
    std::string error;
    ASSERT_TRUE(launch.Start(error, QUILITE_BINARY_DIR "/tools/quilite-demohost")) << error;
    watch.launch = &launch;
    char name[] = "quilite";
    char* argv[] = {name, nullptr};
    int argc = 1;
    EXPECT_EQ(RunGuiProgram(argc, argv, {}, GuiOptions{}, &launch.Entry()), 0);
    std::string screen;
    for (const std::string& row : watch.rows)
        screen += row + "\n";
    EXPECT_FALSE(watch.questionAsked);
    EXPECT_EQ(watch.startMode, CQuillonDoc::kTelnetMode);
    EXPECT_TRUE(watch.topShown) << screen;
    EXPECT_GT(watch.firstHost, 0);
    EXPECT_TRUE(watch.hostEndedOnLogout) << screen;
    EXPECT_GT(watch.secondHost, 0) << screen;
    EXPECT_NE(watch.secondHost, watch.firstHost);
}

}  // namespace
