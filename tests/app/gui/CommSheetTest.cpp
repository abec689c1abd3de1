// The communication settings sheet: its pages in order, each page's values read and stored
// (the start mode, the modem device in its three forms, the proxy rule, the line ends), the
// modem reopened after a device change, the line ends handed to a running interpreter, and the
// telnet handler box rewriting mimeapps.list in a temporary XDG tree.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/CModemPage.h"
#include "app/gui/CommPages.h"
#include "app/gui/DialogCommands.h"
#include "app/gui/PortSettingsDialog.h"
#include "app/gui/ProxyDialog.h"
#include "app/gui/QtEventLoop.h"
#include "app/gui/TelnetHandler.h"
#include "link/ModemTable.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/link/SessionTestSupport.h"

namespace {

namespace fs = std::filesystem;

// A page that counts how often the sheet applied it.
class CountingPage : public CommSheetPage {
public:
    explicit CountingPage(const char* title) : CommSheetPage(title) {}
    void Apply() override { ++applied; }
    int applied = 0;
};

class CommSheetTest : public DialogTest {
protected:
    // Serial ports present: ttyS0 and ttyS3 with a UART, ttyS1 without, and ttyUSB0.
    CommSheetTest() {
        ports.sysClassTty = dir + "/sys";
        for (auto [name, type] :
             {std::pair{"ttyS0", "4"}, {"ttyS1", "0"}, {"ttyS3", "4"}, {"ttyUSB0", ""}}) {
            fs::create_directories(ports.sysClassTty + "/" + name);
            if (*type) std::ofstream(ports.sysClassTty + "/" + name + "/type") << type << "\n";
        }
        ModemTable::store(*registry,
                          {{cp("내장 모뎀"), "COM2", PortSettings::parse("57600,8,N,1,CTS")},
                           {"USB Modem", "/dev/ttyACM0", std::nullopt}});
    }

    CommSheetContext context(CQuillonDoc* doc = nullptr) {
        return {*registry, prompt, doc, [this] { ++modemChanges; }, ports};
    }

    static QStringList tabTitles(const CCommSheet& sheet) {
        QStringList titles;
        for (int i = 0; i < sheet.Tabs()->count(); ++i)
            titles << sheet.Tabs()->tabText(i);
        return titles;
    }

    SerialPortPaths ports;
    int modemChanges = 0;
};

TEST_F(CommSheetTest, PagesKeepTheSheetOrderWhenMoreAreAdded) {
    CCommSheet sheet(context());
    EXPECT_EQ(sheet.windowTitle(), "통신 설정");
    EXPECT_EQ(tabTitles(sheet), (QStringList{"일반", "모뎀", "텔넷", "프로토콜", "터미널"}));
    auto* internet = new CountingPage("인터넷 연결");
    sheet.AddPage(internet);
    sheet.AddPage(new CountingPage("기타"));
    EXPECT_EQ(tabTitles(sheet),
              (QStringList{"일반", "모뎀", "인터넷 연결", "텔넷", "프로토콜", "터미널", "기타"}));
    sheet.Apply();
    EXPECT_EQ(internet->applied, 1);
    sheet.accept();
    EXPECT_EQ(internet->applied, 2);
}

TEST_F(CommSheetTest, SettingsCommandsAndTheSessionOpenTheirDialogs) {
    QtEventLoop loop;
    CMainFrame frame(*registry, loop, prompt);
    QString shown;
    auto closeNext = [&] {
        shown.clear();
        whenShown<QDialog>([&](QDialog& d) {
            shown = d.windowTitle();
            d.reject();
        });
    };
    for (auto [id, title] : {std::pair{Cmd::ScreenSettings, "화면 설정"},
                             {Cmd::CommSettings, "통신 설정"},
                             {Cmd::FolderSettings, "폴더 설정"},
                             {Cmd::SoundSettings, "소리 설정"}}) {
        closeNext();
        EXPECT_TRUE(frame.RunCommand(id)) << title;
        EXPECT_EQ(shown, title);
    }
    closeNext();
    static_cast<SessionFrame&>(frame).OpenCommSettings();  // a modem that could not be opened
    EXPECT_EQ(shown, "통신 설정");
}

TEST_F(CommSheetTest, GeneralPageStoresTheStartMode) {
    CGeneralPage telnetFirst(*registry);  // nothing stored: telnet mode
    EXPECT_TRUE(control<QRadioButton>(telnetFirst, "telnetMode")->isChecked());
    control<QRadioButton>(telnetFirst, "modemMode")->setChecked(true);
    telnetFirst.Apply();
    EXPECT_EQ(setting("Comm", "InitMode"), "0");
    CGeneralPage modemFirst(*registry);
    EXPECT_TRUE(control<QRadioButton>(modemFirst, "modemMode")->isChecked());
    control<QRadioButton>(modemFirst, "telnetMode")->setChecked(true);
    modemFirst.Apply();
    EXPECT_EQ(setting("Comm", "InitMode"), "1");
}

TEST_F(CommSheetTest, ModemChoicesAndTheDeviceEachStores) {
    ModemPageValues values = ModemPageValues::Load(*registry, ports);
    std::vector<std::string> labels;
    for (const ModemChoice& c : values.choices)
        labels.push_back(c.label);
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "내장 모뎀", "USB Modem", "COM1에 직접 연결(널 모뎀)",
                          "COM4에 직접 연결(널 모뎀)", "/dev/ttyUSB0에 직접 연결(널 모뎀)"}));
    EXPECT_EQ(ModemPageValues::PortText(values.choices[0]), "COM2");
    EXPECT_EQ(ModemPageValues::PortText(values.choices[2]), "통신 포트 (COM1)");
    EXPECT_EQ(values.choices[0].settings.baud, 57600);
    EXPECT_EQ(values.choices[1].settings.baud, 115200);  // none stored: the defaults
    // Nothing stored: the first modem, which a session would open.
    EXPECT_EQ(values.selected, 0);
    EXPECT_EQ(values.dialTimeOut, 80);

    struct Case {
        int choice;
        std::string device, nullModem;
        bool changed;
    };
    for (const Case& c : {Case{0, cp("내장 모뎀"), "0", false}, Case{2, "COM1", "1", true},
                          Case{4, "/dev/ttyUSB0", "1", true}, Case{1, "USB Modem", "0", true}}) {
        ModemPageValues v = ModemPageValues::Load(*registry, ports);
        v.selected = c.choice;
        EXPECT_EQ(v.Store(*registry), c.changed) << c.choice;
        EXPECT_EQ(setting("Comm", "ModemDevice"), c.device);
        EXPECT_EQ(setting("Comm", "NullModem"), c.nullModem);
    }

    set("Comm", "ModemDevice", "com4");  // a COM name in any case finds its port
    EXPECT_EQ(ModemPageValues::Load(*registry, ports).selected, 3);
    set("Comm", "ModemDevice", "Gone Modem");  // nothing to show: the device stays as it is
    ModemPageValues gone = ModemPageValues::Load(*registry, ports);
    EXPECT_EQ(gone.selected, -1);
    gone.modemInit = "AT&F";
    gone.dialTimeOut = 60;
    EXPECT_FALSE(gone.Store(*registry));
    EXPECT_EQ(setting("Comm", "ModemDevice"), "Gone Modem");
    EXPECT_EQ(setting("Comm", "ModemInit"), "AT&F");
    EXPECT_EQ(setting("Comm", "DialTimeOut"), "60");
}

TEST_F(CommSheetTest, PropertiesStoreAModemsLineSettings) {
    ModemPageValues values = ModemPageValues::Load(*registry, ports);
    const PortSettings slow = *PortSettings::parse("9600,7,E,2,NONE");
    EXPECT_TRUE(values.StorePortSettings(*registry, 1, slow));
    EXPECT_FALSE(values.StorePortSettings(*registry, 2, slow));  // a direct cable
    const ModemTable table = ModemTable::load(*registry);
    EXPECT_EQ(table.settingsFor("USB Modem")->format(), "9600,7,E,2,NONE");
    EXPECT_EQ(table.settingsFor(cp("내장 모뎀"))->format(), "57600,8,N,1,CTS");
    EXPECT_EQ(table.find("USB Modem")->port, "/dev/ttyACM0");

    PortSettingsDialog dialog("USB Modem", slow);
    EXPECT_EQ(dialog.windowTitle(), "USB Modem 등록 정보");
    EXPECT_EQ(dialog.Settings().format(), "9600,7,E,2,NONE");
    control<QComboBox>(dialog, "speed")->setCurrentText("38400");
    control<QComboBox>(dialog, "parity")->setCurrentText("홀수");
    control<QComboBox>(dialog, "flow")->setCurrentIndex(0);
    EXPECT_EQ(dialog.Settings().format(), "38400,7,O,2,CTS");
}

TEST_F(CommSheetTest, ModemPageShowsTheChoiceAndAppliesIt) {
    set("Comm", "ModemInit", "ATZ");
    CModemPage page(context());
    auto* devices = control<QListWidget>(page, "devices");
    ASSERT_EQ(devices->count(), 5);
    EXPECT_EQ(devices->currentRow(), 0);
    EXPECT_EQ(control<QLabel>(page, "port")->text(), "COM2");
    EXPECT_EQ(control<QLabel>(page, "speed")->text(), "57600");
    auto* properties = control<QPushButton>(page, "properties");
    EXPECT_TRUE(properties->isEnabled());
    EXPECT_EQ(control<QLineEdit>(page, "modemInit")->text(), "ATZ");
    EXPECT_EQ(control<QPushButton>(page, "advanced")->text(), "고급설정(&A)");
    EXPECT_EQ(control<QPushButton>(page, "controlPanel")->text(), "모뎀/전화걸기 제어판(&N)...");

    devices->setCurrentRow(2);
    EXPECT_EQ(control<QLabel>(page, "port")->text(), "통신 포트 (COM1)");
    EXPECT_EQ(control<QLabel>(page, "speed")->text(), "115200");
    EXPECT_FALSE(properties->isEnabled());
    control<QLineEdit>(page, "modemInit")->setText("AT&F1");
    control<QSpinBox>(page, "dialTimeOut")->setValue(45);
    page.Apply();
    EXPECT_EQ(setting("Comm", "ModemDevice"), "COM1");
    EXPECT_EQ(setting("Comm", "NullModem"), "1");
    EXPECT_EQ(setting("Comm", "ModemInit"), "AT&F1");
    EXPECT_EQ(setting("Comm", "DialTimeOut"), "45");
    EXPECT_EQ(modemChanges, 1);
    page.Apply();  // the same device again
    EXPECT_EQ(modemChanges, 1);

    devices->setCurrentRow(1);
    ASSERT_TRUE(page.StoreChosenPortSettings(*PortSettings::parse("19200,8,N,1,NONE")));
    EXPECT_EQ(control<QLabel>(page, "speed")->text(), "19200");
}

// The session behind the window, on the window's loop, with fake links.
class SessionPagesTest : public CommSheetTest {
protected:
    ~SessionPagesTest() override { doc.reset(); }

    CQuillonDoc& start() {
        doc = std::make_unique<CQuillonDoc>(
            SessionContext{loop, prompt, *registry, sound, view, links, frame, &hooks});
        doc->Start(std::vector<std::string>{});
        return *doc;
    }

    QtEventLoop loop;
    RecordingSoundPlayer sound;
    RecordingView view;
    FakeLinks links;
    FakeFrame frame;
    RecordingHooks hooks;
    std::unique_ptr<CQuillonDoc> doc;
};

TEST_F(SessionPagesTest, ChangedDeviceReopensTheModemOfAnIdleModemSession) {
    set("Comm", "InitMode", "0");
    set("Comm", "ModemDevice", "USB Modem");
    CQuillonDoc& session = start();
    ASSERT_EQ(links.modemsOpened.size(), 1u);
    CModemPage page({*registry, prompt, &session, [&] { ReopenModem(&session); }, ports});
    control<QListWidget>(page, "devices")->setCurrentRow(3);
    page.Apply();
    ASSERT_EQ(links.modemsOpened.size(), 2u);
    EXPECT_EQ(links.modemsOpened.back().name, "COM4");
    EXPECT_TRUE(links.modemsOpened.back().directCable);

    // Connected: the line stays; the next opening takes the device.
    links.last->online = true;
    session.OnIdle();
    ASSERT_TRUE(session.Online());
    ReopenModem(&session);
    EXPECT_EQ(links.modemsOpened.size(), 2u);
    links.last->online = false;
    session.OnIdle();
    session.SwitchToTelnetMode();
    ReopenModem(&session);
    EXPECT_EQ(links.modemsOpened.size(), 2u);
}

TEST_F(SessionPagesTest, TerminalPageStoresTheLineEndsAndHandsThemToTheInterpreter) {
    set("Terminal", "Send CR", "2");
    set("Terminal", "Recv CR2CRLF", "1");
    CQuillonDoc& session = start();
    ASSERT_TRUE(session.Connect("host.example"));
    CTermPage page(*registry, &session);
    auto* sendCR = control<QComboBox>(page, "sendCR");
    EXPECT_EQ(sendCR->currentText(), "<CR>+<LF>");
    EXPECT_EQ(sendCR->count(), 3);
    EXPECT_TRUE(control<QCheckBox>(page, "recvCR2CRLF")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(page, "recvLF2CRLF")->isChecked());

    sendCR->setCurrentIndex(1);
    control<QCheckBox>(page, "recvCR2CRLF")->setChecked(false);
    control<QCheckBox>(page, "recvLF2CRLF")->setChecked(true);
    page.Apply();
    EXPECT_EQ(setting("Terminal", "Send CR"), "1");
    EXPECT_EQ(setting("Terminal", "Recv CR2CRLF"), "0");
    EXPECT_EQ(setting("Terminal", "Recv LF2CRLF"), "1");
    // A lone LF received now starts the next line at its first column.
    links.last->Feed("AB\nCD");
    session.Pump(CQuillonDoc::kPumpLimitMs);
    EXPECT_EQ(view.Text(0), "AB");
    EXPECT_EQ(view.Text(1), "CD");
}

TEST_F(CommSheetTest, ProxyIsStoredOnlyWithAHost) {
    set("Comm", "ProxyHost", "gw.example");
    EXPECT_FALSE(TelnetValues::Load(*registry).useProxy);  // missing shows as off
    struct Case {
        bool use;
        std::string host, stored;
    };
    for (const Case& c :
         {Case{true, "gw.example", "1"}, Case{true, "", "0"}, Case{false, "gw.example", "0"}}) {
        TelnetValues v = TelnetValues::Load(*registry);
        v.useProxy = c.use;
        v.proxy = {c.host, -1, "me", "telnet>"};
        ASSERT_TRUE(v.Store(*registry));
        EXPECT_EQ(setting("Comm", "UseTelnetProxy"), c.stored) << c.host;
        EXPECT_EQ(setting("Comm", "ProxyHost"), c.host);
        EXPECT_EQ(setting("Comm", "ProxyPort"), "-1");
    }

    CTelnetPage page(*registry, prompt);
    EXPECT_FALSE(control<QCheckBox>(page, "useProxy")->isChecked());
    control<QCheckBox>(page, "useProxy")->setChecked(true);
    page.SetProxy({cp("프록시.example"), 8023, cp("사용자"), "proxy>"});
    page.Apply();
    EXPECT_EQ(setting("Comm", "UseTelnetProxy"), "1");
    EXPECT_EQ(setting("Comm", "ProxyHost"), cp("프록시.example"));
    EXPECT_EQ(setting("Comm", "ProxyPort"), "8023");
    EXPECT_EQ(setting("Comm", "ProxyUser"), cp("사용자"));
    EXPECT_EQ(setting("Comm", "ProxyPrompt"), "proxy>");
    EXPECT_TRUE(CTelnetPage(*registry, prompt).findChild<QCheckBox*>("useProxy")->isChecked());
}

TEST_F(CommSheetTest, ProxyDialogGivesBackTheFields) {
    ProxyDialog dialog({cp("gw.example"), -1, cp("사용자"), "Host:"});
    EXPECT_EQ(control<QLineEdit>(dialog, "proxyPort")->text(), "");
    EXPECT_EQ(control<QLineEdit>(dialog, "proxyUser")->text(), "사용자");
    control<QLineEdit>(dialog, "proxyHost")->setText("  gw2.example ");
    control<QLineEdit>(dialog, "proxyPort")->setText("2323");
    const ProxySettings s = dialog.Settings();
    EXPECT_EQ(s.host, "gw2.example");
    EXPECT_EQ(s.port, 2323);
    EXPECT_EQ(s.user, cp("사용자"));
    EXPECT_EQ(s.prompt, "Host:");
    EXPECT_EQ(ProxyDialog({"h", 70000, "", ""}).Settings().port, -1);
}

TEST(TelnetHandlerText, OurLineGoesInAndOutAndEverythingElseStays) {
    const std::string ours = "x-scheme-handler/telnet=quilite.desktop\n";
    struct Case {
        std::string before;
        bool on;
        std::string after;
    };
    const Case cases[] = {
        {"", true, "[Default Applications]\n" + ours},
        {"[Added Associations]\nx-scheme-handler/telnet=quilite.desktop;\n", true,
         "[Added Associations]\nx-scheme-handler/telnet=quilite.desktop;\n\n"
         "[Default Applications]\n" +
             ours},
        {"[Default Applications]\ntext/html=firefox.desktop\n\n[Added Associations]\na=b\n", true,
         "[Default Applications]\ntext/html=firefox.desktop\n" + ours +
             "\n[Added Associations]\na=b\n"},
        {"[Default Applications]\nx-scheme-handler/telnet = putty.desktop\ntext/html=f.desktop\n",
         true, "[Default Applications]\n" + ours + "text/html=f.desktop\n"},
        {"[Default Applications]\n" + ours + "text/html=f.desktop", false,
         "[Default Applications]\ntext/html=f.desktop\n"},
        {"[Default Applications]\nx-scheme-handler/telnet=quilite.desktop;putty.desktop;\n", false,
         "[Default Applications]\nx-scheme-handler/telnet=putty.desktop\n"},
        {"[Default Applications]\nx-scheme-handler/telnet=putty.desktop\n", false,
         "[Default Applications]\nx-scheme-handler/telnet=putty.desktop\n"},
    };
    for (const Case& c : cases) {
        const std::string after = WithTelnetHandler(c.before, c.on);
        EXPECT_EQ(after, c.after) << c.before;
        EXPECT_EQ(HasTelnetHandler(after), c.on) << after;
    }
    EXPECT_TRUE(HasTelnetHandler(
        "[Default Applications]\nx-scheme-handler/telnet=quilite.desktop;putty.desktop;\n"));
    EXPECT_FALSE(HasTelnetHandler("[Added Associations]\n" + ours));
}

TEST_F(CommSheetTest, HandlerBoxRewritesMimeappsListKeepingItsOtherLines) {
    const std::string path = dir + "/config/mimeapps.list";
    ASSERT_EQ(mimeAppsListPath(), path);
    auto read = [&] {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    auto apply = [&](bool on) {
        CTelnetPage page(*registry, prompt);
        control<QCheckBox>(page, "telnetHandler")->setChecked(on);
        page.Apply();
    };
    apply(true);  // no file yet: made, with its folder
    EXPECT_EQ(read(), "[Default Applications]\nx-scheme-handler/telnet=quilite.desktop\n");

    const std::string others =
        "# kept\n[Default Applications]\ntext/html=firefox.desktop\n"
        "x-scheme-handler/telnet=putty.desktop\n\n"
        "[Added Associations]\nx-scheme-handler/telnet=putty.desktop;\n";
    std::ofstream(path) << others;
    EXPECT_FALSE(
        CTelnetPage(*registry, prompt).findChild<QCheckBox*>("telnetHandler")->isChecked());
    apply(true);
    EXPECT_EQ(read(),
              "# kept\n[Default Applications]\ntext/html=firefox.desktop\n"
              "x-scheme-handler/telnet=quilite.desktop\n\n"
              "[Added Associations]\nx-scheme-handler/telnet=putty.desktop;\n");
    EXPECT_TRUE(CTelnetPage(*registry, prompt).findChild<QCheckBox*>("telnetHandler")->isChecked());
    apply(false);
    EXPECT_EQ(read(),
              "# kept\n[Default Applications]\ntext/html=firefox.desktop\n\n"
              "[Added Associations]\nx-scheme-handler/telnet=putty.desktop;\n");
    EXPECT_TRUE(prompt.asked.empty());

    // A folder in the file's place: the user is told.
    fs::remove(path);
    fs::create_directories(path + "/x");
    apply(true);
    EXPECT_EQ(prompt.asked.size(), 1u);
}

}  // namespace
