// Connecting stored entries from the window: a modem entry made in the editor from the phone
// book and dialled by the dialler's dialog through the simulated Hayes modem on a pty, the
// dialog's controls, and a telnet entry on port 2323 connected to a real telnet server.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/DialerDialog.h"
#include "app/gui/EntryListDialog.h"
#include "app/gui/ModemEntryDialog.h"
#include "app/gui/PhoneBookPicker.h"
#include "app/gui/QtEventLoop.h"
#include "app/gui/TelnetEntryDialog.h"
#include "auto/FirstRunSetup.h"
#include "link/DialerHooks.h"
#include "link/SystemLinks.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/fixtures/HayesModem.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/SessionTestSupport.h"

namespace {

const HayesModem::DialStep kBusy{100, "BUSY"};
const HayesModem::DialStep kConnect{100, "CONNECT 33600"};

class DialEntry : public DialogTest {
protected:
    DialEntry() : modem(cable) {
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
        prompt.asked.clear();
        ModemTable::store(*registry, {{"Modem", cable.slavePath, std::nullopt}});
        set("Comm", "ModemDevice", "Modem");
        set("Comm", "InitMode", "0");
        set("Comm", "ModemInit", "AT&F E1 V1");
        std::filesystem::create_directories(dir + "/config/quilite");
        std::ofstream(dir + "/config/quilite/hosts.cfg")
            << cp("[Host]\nSize=1\n0=하이텔\n[하이텔\\PhoneBook]\nSize=2\n0=01410:33600\n"
                  "1=02:3420-1410:28800\n");
    }
    ~DialEntry() override {
        hooks.Detach();
        hooks.SetView(nullptr);
        doc.reset();
        links.reset();
        dialer.reset();
        frame.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The window and its session in modem mode, the dialler's hooks plugged in with the
    // dialog as their view; true once the modem answered its initialisation.
    bool start() {
        frame = std::make_unique<CMainFrame>(*registry, loop, prompt);
        links = std::make_unique<SystemLinks>(loop, prompt, *registry, *frame, cable.lines);
        doc = std::make_unique<CQuillonDoc>(
            SessionContext{loop, prompt, *registry, sound, frame->View(), *links, *frame, &hooks});
        frame->Attach(*doc);
        hooks.Attach({*doc, loop, prompt, *registry, fast});
        dialer = std::make_unique<DialerDialog>(frame.get());
        hooks.SetView(dialer.get());
        doc->Start(std::vector<std::string>{});
        return screenShowsWithin("OK");
    }
    bool screenShowsWithin(const std::string& text, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return screenShows(text); }, timeoutMs);
    }
    bool screenShows(const std::string& text) {
        TWView& view = frame->View();
        for (int y = 0; y < view.Rows(); ++y) {
            const auto* row = reinterpret_cast<const char*>(view.CharRow(view.ScreenTop() + y));
            if (std::string(row, TWView::kColumns).starts_with(text)) return true;
        }
        return false;
    }
    std::string storedPhone(const std::string& utf8Title) {
        std::optional<Record> entry = EntryStore(*registry).Find(EntryKind::Modem, cp(utf8Title));
        return entry ? EntryField(*entry, "Phone") : "(none)";
    }

    PtyCable cable;
    HayesModem modem;
    QtEventLoop loop;
    RecordingSoundPlayer sound;
    ScaledClock fast{10};  // the dialler's: its 3-s pauses pass in a fraction of a second
    DialerHooks hooks;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<SystemLinks> links;
    std::unique_ptr<CQuillonDoc> doc;
    std::unique_ptr<DialerDialog> dialer;
};

TEST_F(DialEntry, AnEntryMadeFromThePhoneBookIsDialledUntilItConnects) {
    modem.onDial("01410", {kBusy});
    modem.onDial("02-3420-1410", {kConnect});
    ASSERT_TRUE(start());

    // The list adds an entry; its editor takes two numbers from the phone book; the list then
    // connects it.
    whenShown<EntryListDialog>([](EntryListDialog& list) {
        control<QPushButton>(list, "add")->click();
        auto* entries = control<QTreeWidget>(list, "entries");
        ASSERT_EQ(entries->topLevelItemCount(), 1);
        EXPECT_EQ(entries->currentItem()->text(0), "하이텔 접속");
        EXPECT_EQ(entries->currentItem()->text(1), "01410");
        control<QPushButton>(list, "connect")->click();
    });
    whenShown<ModemEntryDialog>([](ModemEntryDialog& editor) {
        control<QLineEdit>(editor, "name")->setText("하이텔 접속");
        control<QComboBox>(editor, "service")->setCurrentText("하이텔");
        control<QPushButton>(editor, "phoneBook")->click();
        EXPECT_EQ(control<QTreeWidget>(editor, "numbers")->topLevelItemCount(), 2);
        editor.accept();
    });
    whenShown<PhoneBookPicker>([](PhoneBookPicker& picker) {
        auto* book = control<QTreeWidget>(picker, "phoneBook");
        book->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
        book->topLevelItem(1)->child(0)->setCheckState(0, Qt::Checked);
        picker.accept();
    });
    EXPECT_TRUE(frame->RunCommand(Cmd::ModemEntry));

    // "자동 걸기" is set: the dialog dials at once.
    EXPECT_TRUE(dialer->isVisible());
    EXPECT_EQ(dialer->windowTitle(), "전화걸기 [하이텔 접속]");
    EXPECT_EQ(control<QPushButton>(*dialer, "start")->text(), "중지(&S)");
    EXPECT_EQ(control<QLabel>(*dialer, "location")->text(), "기본 위치");
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc->Online(); }, 15000)) << modem.received();
    EXPECT_EQ(modem.commands(),
              (std::vector<std::string>{"AT&F E1 V1", "ATDT01410", "ATDT02-3420-1410"}));
    EXPECT_FALSE(dialer->isVisible());
    EXPECT_EQ(storedPhone("하이텔 접속"), ":01410:33600:1,02:3420-1410:28800:1");
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(DialEntry, TheDialogsControlsDriveTheDialler) {
    set("Settings", "AutoDial", "0");
    modem.onDial("02-3420-1410", {});  // silence until abandoned
    ASSERT_TRUE(start());
    const Record entry{{"Title", cp("하이텔 접속")},
                       {"Type", "0"},
                       {"Host", cp("하이텔")},
                       {"Phone", ":01410:33600:1,02:3420-1410:28800:1"}};
    ASSERT_TRUE(EntryStore(*registry).Save(EntryKind::Modem, entry));
    ASSERT_TRUE(doc->ConnectEntry(entry));

    ASSERT_TRUE(dialer->isVisible());
    auto* start = control<QPushButton>(*dialer, "start");
    auto* rows = control<QTreeWidget>(*dialer, "rows");
    EXPECT_EQ(start->text(), "걸기(&D)");
    EXPECT_FALSE(control<QPushButton>(*dialer, "next")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(*dialer, "autoDial")->isChecked());
    EXPECT_EQ(control<QLabel>(*dialer, "counter")->text(), " 0/80초");
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->headerItem()->text(0), "№    전화번호");
    EXPECT_EQ(rows->topLevelItem(1)->text(0), "2  3420-1410");
    EXPECT_EQ(rows->topLevelItem(1)->text(2), "서울");
    EXPECT_EQ(rows->topLevelItem(1)->text(3), "하이텔");

    // The first number unticked: the second is dialled.
    rows->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    start->click();
    EXPECT_EQ(start->text(), "중지(&S)");
    EXPECT_FALSE(rows->isEnabled());
    EXPECT_EQ(control<QLabel>(*dialer, "dialString")->text(), "ATDT02-3420-1410");
    ASSERT_TRUE(screenShowsWithin("ATDT02-3420-1410"));

    // Stopping abandons the call; cancelling writes the list back with its check marks.
    start->click();
    ASSERT_TRUE(screenShowsWithin("NO CARRIER"));
    EXPECT_EQ(start->text(), "걸기(&D)");
    EXPECT_TRUE(rows->isEnabled());
    control<QPushButton>(*dialer, "cancel")->click();
    EXPECT_FALSE(dialer->isVisible());
    EXPECT_FALSE(hooks.Dialer());
    EXPECT_EQ(storedPhone("하이텔 접속"), ":01410:33600:0,02:3420-1410:28800:1");
    EXPECT_FALSE(doc->Online());
}

TEST_F(DialEntry, ATelnetEntryOnPort2323Connects) {
    std::unique_ptr<TelnetServer> server;
    try {
        server = std::make_unique<TelnetServer>(TelnetServer::Kind::Inetutils, "/dev/null", 2323);
    } catch (const std::exception& e) {
        GTEST_SKIP() << "port 2323 is in use: " << e.what();
    }
    ASSERT_TRUE(start());
    whenShown<EntryListDialog>([](EntryListDialog& list) {
        control<QPushButton>(list, "add")->click();
        EXPECT_EQ(control<QTreeWidget>(list, "entries")->currentItem()->text(1), "127.0.0.1");
        control<QPushButton>(list, "connect")->click();
    });
    whenShown<TelnetEntryDialog>([](TelnetEntryDialog& editor) {
        control<QLineEdit>(editor, "name")->setText("시험 BBS");
        control<QLineEdit>(editor, "host")->setText("127.0.0.1");
        control<QLineEdit>(editor, "port")->setText("2323");
        editor.accept();
    });
    EXPECT_TRUE(frame->RunCommand(Cmd::TelnetEntry));
    EXPECT_EQ(EntryField(*EntryStore(*registry).Find(EntryKind::Telnet, cp("시험 BBS")), "Server"),
              "127.0.0.1:2323");
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc->Online(); }, 10000));
    EXPECT_TRUE(screenShowsWithin("ready> ", 10000));
    EXPECT_EQ(doc->LinkMode(), CQuillonDoc::kTelnetMode);
}

}  // namespace
