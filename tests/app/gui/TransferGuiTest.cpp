// Transfers in the window, offscreen: the file dialog with its protocol list and extra
// controls, the name filters, the progress window of an automatic ZMODEM download from telnetd's
// sz, and the "프로토콜" page of the communication settings.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/CommandTable.h"
#include "app/gui/CCommSheet.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/CZmodemPage.h"
#include "app/gui/QtEventLoop.h"
#include "app/gui/QtFileDialog.h"
#include "app/gui/QtPrompt.h"
#include "app/gui/TransferCommands.h"
#include "app/gui/TransferProgressWindow.h"
#include "auto/Folders.h"
#include "link/SystemLinks.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/TransferSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

TEST(QtNameFilters, PairsBecomeQtFilters) {
    EXPECT_EQ(qtNameFilters("모든 파일 (*.*)|*.*|압축 파일|*.zip;*.lzh|"),
              (QStringList{"모든 파일 (*.*)", "압축 파일 (*.zip *.lzh)"}));
    EXPECT_EQ(qtNameFilters("텍스트 파일 (.txt)|*.txt|"), QStringList{"텍스트 파일 (*.txt)"});
    EXPECT_EQ(qtNameFilters("no patterns|"), QStringList{});
    EXPECT_EQ(qtNameFilters(""), QStringList{});
}

class TransferWindow : public DialogTest {
protected:
    ~TransferWindow() override {
        hooks.bridge.Detach();
        hooks.bridge.SetView(nullptr);
        doc.reset();
        links.reset();
        progress.reset();
        frame.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The window and its session connected to the test program, which runs `command`.
    void runOnHost(const std::string& command) {
        frame = std::make_unique<CMainFrame>(*registry, loop, prompt);
        links = std::make_unique<SystemLinks>(loop, prompt, *registry, *frame);
        doc = std::make_unique<CQuillonDoc>(
            SessionContext{loop, prompt, *registry, sound, frame->View(), *links, *frame, &hooks});
        frame->Attach(*doc);
        hooks.bridge.Attach({*doc, loop, prompt, *registry, sound, *frame});
        progress = std::make_unique<TransferProgressWindow>(hooks.bridge, frame.get());
        hooks.bridge.SetView(progress.get());
        registerTransferCommands(*frame, hooks.bridge);
        doc->Start({"127.0.0.1", std::to_string(server.port())});
        ASSERT_TRUE(QTest::qWaitFor([&] { return screenHas("ready>"); }, 10000));
        doc->SendLine(command);
        ASSERT_TRUE(QTest::qWaitFor([&] { return screenHas("READY"); }, 10000));
        doc->SendByte('g');
    }
    bool screenHas(const std::string& text) {
        TWView& view = frame->View();
        for (int y = 0; y < view.Rows(); ++y) {
            const auto* row = reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y));
            if (std::string(row, TWView::kColumns).find(text) != std::string::npos) return true;
        }
        return false;
    }

    TelnetServer server{TelnetServer::Kind::Inetutils};
    QtEventLoop loop;
    RecordingSoundPlayer sound;
    BridgeHooks hooks;
    xfertest::TempFolder folder;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<SystemLinks> links;
    std::unique_ptr<CQuillonDoc> doc;
    std::unique_ptr<TransferProgressWindow> progress;
};

TEST_F(TransferWindow, HostSzDownloadsUnaskedWithTheProgressWindowUp) {
    const std::string src = folder.make("src");
    const std::string data = xfertest::randomData(4u << 20, 2);
    xfertest::writeFile(src + "/" + cp("그림.bin"), data);
    ASSERT_NO_FATAL_FAILURE(runOnHost("sz " + src + "/" + cp("그림.bin")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hooks.bridge.Running(); }, 10000));
    EXPECT_EQ(progress->windowTitle(), "파일받기");
    EXPECT_FALSE(frame->RunCommand(Cmd::ReceiveFile));  // one transfer at a time
    ASSERT_TRUE(QTest::qWaitFor([&] { return !hooks.bridge.Running(); }, 60000));
    EXPECT_FALSE(progress->isVisible());
    const std::string arrived = GetFolder(*registry, FolderKind::Download) + "/그림.bin";
    EXPECT_TRUE(xfertest::sameBytes(xfertest::readFile(arrived), data));
    EXPECT_TRUE(prompt.asked.empty());
}

// The dialog is Qt's own, with the protocol list locked on a host's request, the accept text,
// the extra button and check boxes under the files.
TEST_F(TransferWindow, TheFileDialogCarriesTheRequestsControls) {
    const std::string dir = folder.make("files");
    xfertest::writeFile(dir + "/a.txt", "a");
    QtPrompt qt;
    FileRequest request;
    request.kind = FileDialogKind::OpenMany;
    request.caption = "보낼 파일 찾기";
    request.filter = "모든 파일 (*.*)|*.*|텍스트|*.txt|";
    request.folder = dir;
    request.acceptText = "보내기(&S)";
    request.choices = {"XMODEM", "ZMODEM"};
    request.choice = 1;
    request.choiceLocked = true;
    request.checks = {{"보낼 파일함에 추가", true}};
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "보낼 파일 찾기");
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog.labelText(QFileDialog::Accept), "보내기(&S)");
        EXPECT_EQ(dialog.nameFilters(), (QStringList{"모든 파일 (*.*)", "텍스트 (*.txt)"}));
        auto* choices = control<QComboBox>(dialog, "choices");
        ASSERT_TRUE(choices);
        EXPECT_EQ(choices->currentText(), "ZMODEM");
        EXPECT_FALSE(choices->isEnabled());
        auto* box = control<QCheckBox>(dialog, "check0");
        ASSERT_TRUE(box);
        box->setChecked(false);
        dialog.selectFile("a.txt");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const FileReply reply = qt.askFile(request);
    EXPECT_EQ(reply.answer, FileAnswer::Accepted);
    EXPECT_EQ(reply.paths, std::vector<std::string>{dir + "/a.txt"});
    EXPECT_EQ(reply.choice, 1);
    EXPECT_EQ(reply.checks, std::vector<bool>{false});

    request.kind = FileDialogKind::Save;
    request.choices.clear();
    request.checks.clear();
    request.extraButton = "저장않고\n보기(&V)";
    whenShown<QFileDialog>([](QFileDialog& dialog) {
        QPushButton* extra = control<QPushButton>(dialog, "extra");
        EXPECT_EQ(extra->text(), "저장않고\n보기(&V)");
        extra->click();
    });
    EXPECT_EQ(qt.askFile(request).answer, FileAnswer::Extra);
}

TEST_F(TransferWindow, ProtocolPageSitsBetweenTelnetAndTerminalAndStoresItsBoxes) {
    CCommSheet sheet({*registry, prompt});
    QTabWidget* tabs = sheet.Tabs();
    const int at = tabs->indexOf(sheet.Page("프로토콜"));
    ASSERT_GT(at, 0);
    EXPECT_EQ(tabs->tabText(at - 1), "텔넷");
    EXPECT_EQ(tabs->tabText(at + 1), "터미널");
    for (const ZmodemSetting& s : zmodemSettings())
        EXPECT_EQ(control<QCheckBox>(*sheet.Page("프로토콜"), s.name)->isChecked(),
                  s.defaultValue == 1)
            << s.name;
    control<QCheckBox>(*sheet.Page("프로토콜"), "AutoZmodemReceive")->setChecked(false);
    control<QCheckBox>(*sheet.Page("프로토콜"), "ZmodemEscape")->setChecked(true);
    sheet.Apply();
    EXPECT_EQ(setting("Comm", "AutoZmodemReceive"), "0");
    EXPECT_EQ(setting("Comm", "ZmodemEscape"), "1");
    EXPECT_EQ(setting("Comm", "ChollianImage"), "1");
}

}  // namespace
