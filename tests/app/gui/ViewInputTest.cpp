// The terminal window and the input method: composition drawn at a two-cell caret and not
// sent, commits sent as CP949, the Shift rule, the caret rectangle, the host's mode ?85; and
// fcitx5's switch against a controller of our own on a private session bus.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QInputMethodEvent>
#include <filesystem>

#include "app/gui/FcitxInputSwitch.h"
#include "tests/app/gui/ViewTestSupport.h"
#include "tests/fixtures/PeerProcess.h"

namespace {

class ViewInput : public ViewTest {
protected:
    ViewInput() {
        auto recording = std::make_unique<RecordingInputSwitch>();
        inputSwitch = recording.get();
        view().SetInputSwitch(std::move(recording));
    }
    void compose(const QString& preedit, const QString& commit = {}) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QApplication::sendEvent(&view(), &event);
    }
    QRect caret() { return view().inputMethodQuery(Qt::ImCursorRectangle).toRect(); }

    RecordingInputSwitch* inputSwitch = nullptr;
};

TEST_F(ViewInput, ACompositionShowsAtATwoCellCaretAndSendsNothing) {
    receive("\x1b[2J\x1b[3;5H");
    const int cw = view().Fonts().CellWidth(), lh = view().Fonts().LineHeight();
    EXPECT_EQ(caret(), QRect(4 * cw, 2 * lh, cw, lh));
    const QImage before = view().Picture();

    compose("ㅎ");
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(caret(), QRect(4 * cw, 2 * lh, 2 * cw, lh));
    const QImage composing = view().Picture();
    EXPECT_NE(composing.copy(caret()), before.copy(caret()));
    EXPECT_EQ(composing.copy(0, 0, composing.width(), 2 * lh),
              before.copy(0, 0, before.width(), 2 * lh));

    compose("하");
    EXPECT_NE(view().Picture().copy(caret()), composing.copy(caret()));
    compose("ㄴ", "한");
    EXPECT_EQ(sent(), "\xc7\xd1");
    compose("", "ㄴ");
    EXPECT_EQ(sent(), "\xa4\xa4");
    EXPECT_EQ(caret().width(), cw);
    EXPECT_EQ(view().Picture(), before);
}

TEST_F(ViewInput, ShiftWithASyllableAndSpaceEndsHangulInput) {
    compose("", "글 ");
    EXPECT_EQ(sent(), "\xb1\xdb ");
    EXPECT_EQ(inputSwitch->mode, std::nullopt);

    QTest::keyPress(&view(), Qt::Key_Shift, Qt::ShiftModifier);
    compose("", "글 ");
    QTest::keyRelease(&view(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_EQ(sent(), "\xb1\xdb");
    EXPECT_EQ(inputSwitch->mode, false);
}

TEST_F(ViewInput, TheHostSwitchesHangulInput) {
    receive("\x1b[?85h");
    EXPECT_EQ(inputSwitch->mode, true);
    receive("\x1b[?85l");
    EXPECT_EQ(inputSwitch->mode, false);
}

TEST_F(ViewInput, ACommitWhileScrolledBackReturnsToTheLiveScreen) {
    for (int i = 0; i < 40; ++i)
        receive("line\r\n");
    view().ScrollBy(-5);
    compose("", "가");
    EXPECT_FALSE(view().ScrolledBack());
    EXPECT_EQ(sent(), "\xb0\xa1");
}

// fcitx5's controller as far as the switch uses it: State, Activate, Deactivate.
class FakeFcitxController : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.push_back(message.member().toStdString());
        if (message.member() == "Activate") state = 2;
        if (message.member() == "Deactivate") state = 1;
        connection.send(message.member() == "State" ? message.createReply(state)
                                                    : message.createReply());
        return true;
    }
    int state = 1;
    std::vector<std::string> calls;
};

// A session bus of the test's own, with the fake controller on it.
class PrivateBus : public ::testing::Test {
protected:
    PrivateBus() {
        guiTestApp();
        char pattern[] = "/tmp/quilite-bus-XXXXXX";
        dir = mkdtemp(pattern);
        const std::string address = "unix:path=" + dir + "/bus";
        daemon = std::make_unique<PeerProcess>(
            std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nopidfile",
                                     "--address=" + address},
            -1, dir);
        for (int i = 0; i < 200 && !std::filesystem::exists(dir + "/bus"); ++i)
            usleep(10000);
        service = QDBusConnection::connectToBus(QString::fromStdString(address), "fcitx");
        client = QDBusConnection::connectToBus(QString::fromStdString(address), "client");
    }
    ~PrivateBus() override {
        QDBusConnection::disconnectFromBus("fcitx");
        QDBusConnection::disconnectFromBus("client");
        daemon.reset();
        std::filesystem::remove_all(dir);
    }
    void startFcitx() {
        ASSERT_TRUE(service.registerVirtualObject("/controller", &controller));
        ASSERT_TRUE(service.registerService("org.fcitx.Fcitx5"));
    }
    template <class Condition>
    bool waitFor(Condition done) {
        return QTest::qWaitFor(done, 3 * FcitxInputSwitch::kPollMs);
    }

    std::string dir;
    std::unique_ptr<PeerProcess> daemon;
    QDBusConnection service{QString()}, client{QString()};
    FakeFcitxController controller;
};

TEST_F(PrivateBus, WithoutFcitxThereIsNoSwitch) {
    ASSERT_TRUE(client.isConnected());
    EXPECT_EQ(FcitxInputSwitch::Connect(client), nullptr);
}

TEST_F(PrivateBus, FcitxSwitchesAndReportsTheState) {
    startFcitx();
    std::unique_ptr<FcitxInputSwitch> fcitx = FcitxInputSwitch::Connect(client);
    ASSERT_NE(fcitx, nullptr);
    int changes = 0;
    fcitx->changed = [&] { ++changes; };
    EXPECT_TRUE(waitFor([&] { return fcitx->HangulMode().has_value(); }));
    EXPECT_EQ(fcitx->HangulMode(), false);

    fcitx->SetHangulMode(true);
    EXPECT_EQ(fcitx->HangulMode(), true);
    EXPECT_TRUE(waitFor([&] { return controller.state == 2; }));
    fcitx->SetHangulMode(false);
    EXPECT_TRUE(waitFor([&] { return controller.state == 1; }));

    // The user switches in fcitx: the next look notices.
    controller.state = 2;
    EXPECT_TRUE(waitFor([&] { return fcitx->HangulMode() == true; }));
    EXPECT_EQ(changes, 4);
}

}  // namespace
