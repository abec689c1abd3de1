// reelpost's window on the offscreen platform: recording from live producers with a caption
// typed meanwhile, the "WARNING!" box, the settings dialog, and MAIL SEND through the send form,
// the progress window and the sending thread (to a scripted server, and cancelled).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "../app/gui/GuiTestApp.h"
#include "RunEvents.h"
#include "ScriptedSmtpServer.h"
#include "VideomailTestSupport.h"
#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "videomail/MessageRecorder.h"
#include "videomail/ReelpostWindow.h"
#include "videomail/SimulatedClock.h"
#include "videomail/VmiReader.h"

namespace {

// A server that takes the connection into its backlog and never says a word.
class SilentServer {
public:
    SilentServer() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
        listen(fd_, 4);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~SilentServer() { close(fd_); }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int fd_;
    int port_ = 0;
};

class ReelpostWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guiTestApp();
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        registry = std::move(Registry::open(folder / "profile.db").registry);
        ASSERT_TRUE(registry);
    }
    void TearDown() override { unsetenv("XDG_DATA_HOME"); }

    std::unique_ptr<ReelpostWindow> makeWindow(const std::string& path) {
        return std::make_unique<ReelpostWindow>(
            path, *registry, prompt,
            [] {
                return RecordingSources{std::make_unique<PatternVideoSource>(),
                                        std::make_unique<ToneAudioSource>(440)};
            },
            [this](const std::vector<std::string>& argv) {
                ran.push_back(argv);
                return 0;
            });
    }

    void recordMessage(const std::string& path) {
        PatternVideoSource video;
        SimulatedClock clock;
        ASSERT_TRUE(Record(path, {300, &video, nullptr, {}}, clock));
    }

    void configure(const std::string& server, int protocol = 0) {
        ReelpostSettings settings = loadReelpostSettings(*registry);
        settings.server = server;
        settings.protocol = protocol;
        settings.email = "me@example.org";
        ASSERT_TRUE(saveReelpostSettings(*registry, settings));
    }

    TempFolder folder;
    std::unique_ptr<Registry> registry;
    ScriptedPrompt prompt;
    std::vector<std::vector<std::string>> ran;
};

}  // namespace

TEST_F(ReelpostWindowTest, RecordsWhileTheCaptionIsTyped) {
    auto window = makeWindow(folder / "msg/m.vmi");
    ASSERT_TRUE(window->StartRecording());
    EXPECT_FALSE(window->StartRecording());
    EXPECT_FALSE(window->Send());  // refused while recording
    runUntil([] { return false; }, 300);
    window->caption()->setText(QStringLiteral("안녕"));
    emit window->caption()->returnPressed();
    runUntil([] { return false; }, 300);
    window->caption()->clear();
    runUntil([] { return false; }, 100);
    ASSERT_TRUE(window->StopRecording());
    QApplication::processEvents();

    VmiReader reader;
    ASSERT_TRUE(reader.Open(folder / "msg/m.vmi"));
    std::vector<std::string> captions;
    int pictures = 0, sounds = 0;
    uint32_t sequence = 0;
    while (auto record = reader.ReadRecord()) {
        EXPECT_EQ(record->sequence, sequence++);
        pictures += record->type == vmi::kVideo;
        sounds += record->type == vmi::kSound;
        if (record->type == vmi::kCaption) captions.push_back(record->data);
    }
    EXPECT_GE(pictures, 15);
    EXPECT_GE(sounds, 2);
    EXPECT_EQ(captions, (std::vector<std::string>{*utf8ToCp949("안녕"), "."}));
    EXPECT_NE(window->preview().pixelColor(10, 10), QColor(Qt::black));
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(ReelpostWindowTest, WarnsWhenTheMessageCannotBeCreated) {
    writeFile(folder / "file", "");
    auto window = makeWindow(folder / "file/m.vmi");
    EXPECT_FALSE(window->StartRecording());
    EXPECT_FALSE(window->isRecording());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].caption, "WARNING!");
    EXPECT_EQ(prompt.asked[0].text,
              "Cannot write to file. Record failed.\nPlease check the DATA directory.");
}

TEST_F(ReelpostWindowTest, StoresTheSettingsDialog) {
    auto window = makeWindow(folder / "m.vmi");
    window->EditSettings();
    auto* dialog = window->findChild<ReelpostSettingsDialog*>();
    ASSERT_TRUE(dialog);
    dialog->server->setText(QStringLiteral("mail.example.org:2525"));
    dialog->mailProgram->setChecked(true);
    dialog->withPlayer->setChecked(true);
    dialog->email->setText(QStringLiteral("나@example.org"));
    dialog->accept();
    ReelpostSettings stored = loadReelpostSettings(*registry);
    EXPECT_EQ(stored.server, "mail.example.org:2525");
    EXPECT_EQ(stored.protocol, 1);
    EXPECT_EQ(stored.withPlayer, 1);
    EXPECT_EQ(stored.email, *utf8ToCp949("나@example.org"));
}

TEST_F(ReelpostWindowTest, HandsTheMessageToTheMailProgram) {
    recordMessage(folder / "m.vmi");
    configure("", 1);
    auto window = makeWindow(folder / "m.vmi");
    EXPECT_TRUE(window->Send());
    EXPECT_EQ(ran,
              (std::vector<std::vector<std::string>>{{"xdg-email", "--attach", folder / "m.vmi"}}));
    EXPECT_EQ(window->status(), "READY");
}

TEST_F(ReelpostWindowTest, SendsOnItsThreadBehindTheProgressWindow) {
    recordMessage(folder / "m.vmi");
    ScriptedSmtpServer server(
        {"220 ready", "250 hello", "250 sender ok", "250 rcpt ok", "354 go on", "250 queued"});
    configure(server.address());
    auto window = makeWindow(folder / "m.vmi");
    ASSERT_TRUE(window->Send());
    EXPECT_EQ(window->status(), "MAIL SEND");
    SendDialog* dialog = window->sendDialog();
    ASSERT_TRUE(dialog);
    // A form without recipients stays open with the reason.
    dialog->subject->setText(QStringLiteral("hello"));
    dialog->accept();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "받을 사람을 지정해주십시오.");
    ASSERT_TRUE(window->sendDialog());

    dialog->to->setText(QStringLiteral("you@example.com"));
    dialog->body->setPlainText(QStringLiteral("본문"));
    dialog->accept();
    EXPECT_TRUE(window->progressWindow());
    EXPECT_TRUE(window->isSending());
    EXPECT_FALSE(window->Send());  // one send at a time
    runUntil([&] { return !window->isSending(); }, 10000);
    EXPECT_FALSE(window->isSending());
    EXPECT_EQ(window->status(), "READY");
    EXPECT_EQ(prompt.asked.size(), 1u);
    std::vector<std::string> commands = server.commands();
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(commands[2], "RCPT TO: <you@example.com>");
    EXPECT_NE(server.message().find("\r\nSubject: hello\r\n"), std::string::npos);
}

TEST_F(ReelpostWindowTest, CancelEndsTheSendQuietly) {
    recordMessage(folder / "m.vmi");
    SilentServer server;
    configure(server.address());
    auto window = makeWindow(folder / "m.vmi");
    ASSERT_TRUE(window->Send());
    window->sendDialog()->to->setText(QStringLiteral("you@example.com"));
    window->sendDialog()->subject->setText(QStringLiteral("s"));
    window->sendDialog()->accept();
    ASSERT_TRUE(window->progressWindow());
    runUntil([] { return false; }, 200);
    QElapsedTimer timer;
    timer.start();
    window->progressWindow()->reject();
    runUntil([&] { return !window->isSending(); }, 5000);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(window->isSending());
    EXPECT_EQ(window->status(), "READY");
    EXPECT_TRUE(prompt.asked.empty());
}
