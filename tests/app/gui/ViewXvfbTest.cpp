// quilite --gui on an X server of the test's own, connected to a host on a loopback port: a grab
// of its window shows what RenderScreen paints for the bytes the host sent, and Hangul typed
// through ibus-hangul (on a D-Bus session of the test's own) reaches the host as CP949. The
// grabs are kept as PNG files in the build tree. The view in this process shows PRIMARY, which
// the offscreen platform lacks, at work.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <filesystem>
#include <optional>

#include "auto/FirstRunSetup.h"
#include "auto/MacroTable.h"
#include "auto/ProfileStore.h"
#include "auto/Services.h"
#include "link/MemoryLink.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "term/ScreenPainter.h"
#include "term/TWEmulator.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/app/gui/ViewTestSupport.h"
#include "tests/app/gui/XvfbDisplay.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/TelnetHostData.h"

namespace {

const std::string kGrabFolder = QUILITE_BINARY_DIR "/tests/app/gui-grabs";

std::string cp(const std::string& utf8) {
    return utf8ToCp949(utf8).value();
}

// The test's own connection to the window system, on the test's display.
bool onTestDisplay() {
    static const bool ready = [] {
        if (XvfbDisplay::name().empty()) return false;
        qputenv("QT_QPA_PLATFORM", "xcb");
        guiTestApp();
        return true;
    }();
    return ready;
}

// The screen the bytes give, painted as the program paints it with the stored settings (the
// default profile has no "Screen" record: the defaults).
QImage painted(const std::string& bytes) {
    TWView view;
    const ScreenSettings settings;
    view.SetRows(settings.rows);
    view.SetDefaultColors(settings.textColor, settings.bkColor);
    MemoryLink link(bytes);
    TWEmulator emulator(&view, &link);
    while (emulator.GetChar() != kTWNoData) {
    }
    TermFonts fonts;
    return RenderScreen(view, fonts, settings);
}

// Where `part` lies in `whole` pixel for pixel, if anywhere.
std::optional<QPoint> find(const QImage& whole, const QImage& part) {
    const QImage w = whole.convertToFormat(QImage::Format_RGB888);
    const QImage p = part.convertToFormat(QImage::Format_RGB888);
    const size_t rowBytes = size_t(p.width()) * 3;
    for (int y = 0; y + p.height() <= w.height(); ++y) {
        for (int x = 0; x + p.width() <= w.width(); ++x) {
            int row = 0;
            while (row < p.height() &&
                   memcmp(w.constScanLine(y + row) + x * 3, p.constScanLine(row), rowBytes) == 0)
                ++row;
            if (row == p.height()) return QPoint(x, y);
        }
    }
    return std::nullopt;
}

void keep(const QImage& image, const std::string& name) {
    QDir().mkpath(QString::fromStdString(kGrabFolder));
    image.save(QString::fromStdString(kGrabFolder + "/" + name + ".png"));
}

class GuiOnXvfb : public ::testing::Test {
protected:
    GuiOnXvfb() {
        char pattern[] = "/tmp/quilite-xvfb-XXXXXX";
        dir = mkdtemp(pattern);
        mkdir((dir + "/run").c_str(), 0700);
        setenv("HOME", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (dir + "/run").c_str(), 1);
        setenv("QUILITE_DATA_DIR", QUILITE_SOURCE_DIR "/data", 1);
        setenv("TMPDIR", (dir + "/tmp").c_str(), 1);  // where a capture's file goes
        mkdir((dir + "/tmp").c_str(), 0700);
        // No session bus unless a test starts one (nothing is launched on the side).
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir + "/no-bus").c_str(), 1);
        ScriptedPrompt prompt;
        std::string error;
        auto registry = openProfileStore(dir + "/config/quilite/profile.db", prompt, error);
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
    }
    ~GuiOnXvfb() override {
        program.reset();
        if (host >= 0) close(host);
        std::filesystem::remove_all(dir);
    }

    // The program on the test's display, connected to the test's host, which asks to echo and
    // sends `banner`; the window is made large enough to show every cell.
    void start(const std::string& banner) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        program = std::make_unique<PeerProcess>(
            std::vector<std::string>{QUILITE_BINARY_DIR "/app/quilite", "--gui", "--nosplash",
                                     "127.0.0.1", std::to_string(listener.port())},
            -1, dir, dir + "/quilite.log");
        host = listener.accept(10000);
        ASSERT_GE(host, 0);
        const int on = 1;
        setsockopt(host, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ASSERT_TRUE(sendAll(host, kHostWillEcho + banner));
        window = std::strtoul(
            commandOutput("timeout 10 xdotool search --sync --onlyvisible --class quilite").c_str(),
            nullptr, 10);
        ASSERT_NE(window, 0u);
        commandOutput("xdotool windowsize --sync " + std::to_string(window) + " 900 700");
    }
    QImage grab() { return QGuiApplication::primaryScreen()->grabWindow(window).toImage(); }
    // Grabs the window until `expected` shows in it; the last grab is kept.
    std::optional<QPoint> waitToShow(const QImage& expected, const std::string& name) {
        std::optional<QPoint> at;
        QImage shot;
        for (int i = 0; i < 100 && !at; ++i) {
            usleep(100000);
            shot = grab();
            at = find(shot, expected);
        }
        keep(shot, name + "-window");
        keep(expected, name + "-expected");
        return at;
    }
    // Gives the window the keyboard and types on the test's display.
    void xdotool(const std::string& arguments) { commandOutput("xdotool " + arguments); }
    void focusWindow() {
        xdotool("mousemove --window " + std::to_string(window) + " 200 200");
        xdotool("windowfocus --sync " + std::to_string(window));
    }
    // What the host receives until `expected` has come (or time is up).
    std::string hostGets(const std::string& expected) {
        std::string got;
        for (int i = 0; i < 100 && withoutOptions(got).find(expected) == std::string::npos; ++i)
            got += receiveUntilQuiet(host, 50);
        return withoutOptions(got);
    }

    // Keyboard macros of the service "기본", which a plain host's connection uses.
    void bindMacros(const std::vector<std::pair<std::string, std::string>>& macros) {
        ScriptedPrompt prompt;
        std::string error;
        auto registry = openProfileStore(dir + "/config/quilite/profile.db", prompt, error);
        ASSERT_FALSE(AddService(*registry, {{"Title", cp("기본")}}));
        RegKey key = *registry->createKey(*ServiceRecord(*registry, cp("기본")), kMacroSubkey);
        for (const auto& [keyText, contents] : macros)
            ASSERT_TRUE(registry->setValue(key, keyText, contents));
    }
    // Capture files started in TMPDIR.
    size_t captureFiles() {
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/tmp"))
            files += entry.path().extension() == ".txt";
        return files;
    }

    std::string dir;
    LoopbackListener listener;
    int host = -1;
    std::unique_ptr<PeerProcess> program;
    unsigned long window = 0;
};

// Without its data folder the program says so in a message box, and ends once it is closed.
TEST_F(GuiOnXvfb, AMissingDataFolderIsToldInAMessageBox) {
    ASSERT_TRUE(onTestDisplay()) << "Xvfb did not start";
    setenv("QUILITE_DATA_DIR", (dir + "/nowhere").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    program = std::make_unique<PeerProcess>(
        std::vector<std::string>{QUILITE_BINARY_DIR "/app/quilite", "--gui"}, -1, dir,
        dir + "/quilite.log");
    window = std::strtoul(
        commandOutput("timeout 10 xdotool search --sync --onlyvisible --name '^Quilite$'").c_str(),
        nullptr, 10);
    ASSERT_NE(window, 0u);
    EXPECT_EQ(program->exited(), -1);
    focusWindow();
    xdotool("key Return");
    EXPECT_EQ(program->wait(10000), 1);
}

TEST_F(GuiOnXvfb, TheWindowShowsWhatRenderScreenPaints) {
    ASSERT_TRUE(onTestDisplay()) << "Xvfb did not start";
    const std::string screen = "\x1b[2J\x1b[H\x1b[1;33;44m" + cp(" 안녕하세요 퀼라이트 BBS ") +
                               "\x1b[0m\r\n\x1b(0lqqqqk\x1b(B\r\n" + cp("│표│ 한글 ") +
                               "\x1b[31;47mred on white\x1b[0m\r\n\x1b[5;1H" +
                               cp("■□▲ 가나다라마바사 ") + "\x1b[?25l";
    start(screen);
    const QImage expected = painted(screen);
    EXPECT_TRUE(waitToShow(expected, "screen"))
        << "the window never showed the painted screen; see " << kGrabFolder;
}

// ibus-hangul starts in alphanumeric mode: Shift+Space switches to Hangul, "gksrmf" composes
// 한 and 글, and the second Shift+Space commits 글 and switches back.
TEST_F(GuiOnXvfb, HangulTypedThroughIbusReachesTheHostAsCp949) {
    ASSERT_TRUE(onTestDisplay()) << "Xvfb did not start";
    if (!std::filesystem::exists("/usr/libexec/ibus-engine-hangul") ||
        commandOutput("command -v ibus-daemon").empty())
        GTEST_SKIP() << "ibus-hangul is not installed";
    const std::string address = "unix:path=" + dir + "/bus";
    PeerProcess bus({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address},
                    -1, dir);
    for (int i = 0; i < 200 && !std::filesystem::exists(dir + "/bus"); ++i)
        usleep(10000);
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
    PeerProcess ibus({"ibus-daemon", "--panel=disable", "--emoji-extension=disable",
                      "--config=/usr/libexec/ibus-memconf", "--replace"},
                     -1, dir, dir + "/ibus.log");
    bool engine = false;
    for (int i = 0; i < 50 && !engine; ++i) {
        usleep(100000);
        engine = commandOutput("ibus engine hangul 2>/dev/null && ibus engine") == "hangul\n";
    }
    ASSERT_TRUE(engine) << "ibus did not take the hangul engine";
    setenv("QT_IM_MODULE", "ibus", 1);

    const std::string screen = "\x1b[2J\x1b[Hready> \x1b[?25l";
    start(screen);
    ASSERT_TRUE(waitToShow(painted(screen), "ibus-before"));
    focusWindow();
    ASSERT_TRUE(sendAll(host, "\x1b[?25h"));  // the caret, where the composition shows
    xdotool("key shift+space");
    xdotool("type --delay 50 gksrm");
    usleep(300000);
    keep(grab(), "ibus-composing-window");  // 한 sent, 그 composed at a two-cell caret
    xdotool("type --delay 50 f");
    xdotool("key shift+space");
    EXPECT_EQ(hostGets("\xb1\xdb"), "\xc7\xd1\xb1\xdb");

    ibus.kill(SIGTERM);
    ibus.wait(3000);
}

// Keys typed on the X server: Shift+1 arrives as '!' and still matches "Shift+1"; a bound Alt+L
// runs its macro instead of the capture menu command, which it starts only while unbound.
TEST_F(GuiOnXvfb, MacroKeysRunBeforeTheMenuShortcuts) {
    ASSERT_TRUE(onTestDisplay()) << "Xvfb did not start";
    bindMacros({{"Shift+1", "bang<Enter>"}, {"Alt+L", "alt<Enter>"}});
    start("ready\r\n");
    focusWindow();
    xdotool("key shift+1");
    EXPECT_EQ(hostGets("bang"), std::string("bang\r\0", 6));
    xdotool("key alt+l");
    EXPECT_EQ(hostGets("alt"), std::string("alt\r\0", 5));
    xdotool("type z");
    EXPECT_EQ(hostGets("z"), "z");
    EXPECT_EQ(captureFiles(), 0u);
}

TEST_F(GuiOnXvfb, AnUnboundAltLStartsTheCapture) {
    ASSERT_TRUE(onTestDisplay()) << "Xvfb did not start";
    start("ready\r\n");
    focusWindow();
    xdotool("key alt+l");
    for (int i = 0; i < 100 && captureFiles() == 0; ++i)
        usleep(50000);
    EXPECT_EQ(captureFiles(), 1u);
    xdotool("type z");
    EXPECT_EQ(hostGets("z"), "z");  // Alt+L itself sent nothing
}

// The window in this process on the test's display, where selections have PRIMARY; no session
// bus, as for the program above.
struct UsesTestDisplay {
    UsesTestDisplay() {
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:abstract=quilite-test-no-bus", 1);
        onTestDisplay();
    }
};
class ViewOnXvfb : public UsesTestDisplay, public ViewTest {};

TEST_F(ViewOnXvfb, SelectionsSetPrimaryAndTheMiddleButtonPastesIt) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    ASSERT_TRUE(clipboard->supportsSelection()) << "not on the test's X server";
    receive("\x1b[2J\x1b[Hhello world\r\n");
    QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, cellEdge(0, 0));
    QTest::mouseMove(&view(), cellEdge(5, 0));
    QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, cellEdge(5, 0));
    EXPECT_EQ(clipboard->text(QClipboard::Selection), "hello");

    clipboard->setText(QString::fromUtf8("pri 한\nline"), QClipboard::Selection);
    QTest::mouseClick(&view(), Qt::MiddleButton, Qt::NoModifier, cellCentre(1, 1));
    const std::string expected = "pri " + cp("한") + "\rline";  // the session never sends LF
    for (int i = 0; i < 200 && link().Output().size() < expected.size(); ++i)
        loop.runFor(5);
    EXPECT_EQ(sent(), expected);
}

}  // namespace
