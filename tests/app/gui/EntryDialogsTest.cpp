// The connection entry dialogs: the telnet editor's "Server" and port rules, the modem editor's
// phone list (records it cannot show kept), the phone-number checks with the nationwide
// question, the phone book's groups from a CP949 hosts.cfg, a new service, and the entry list
// with its filter, read-only entries and deleting.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "app/gui/EntryListDialog.h"
#include "app/gui/ModemEntryDialog.h"
#include "app/gui/NewServiceDialog.h"
#include "app/gui/PhoneBookPicker.h"
#include "app/gui/PhoneNumberDialog.h"
#include "app/gui/StoredText.h"
#include "app/gui/TelnetEntryDialog.h"
#include "auto/FirstRunSetup.h"
#include "auto/Services.h"
#include "link/ConnectionEntries.h"
#include "tests/app/gui/DialogTestSupport.h"

namespace {

const std::string kNumberChars = "0123456789-*#!@$?;";

class EntryDialogs : public DialogTest {
protected:
    EntryDialogs() {
        runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
        prompt.asked.clear();
    }

    void store(EntryKind kind, const Record& entry) {
        ASSERT_TRUE(EntryStore(*registry).Save(kind, entry));
    }
    std::optional<Record> stored(EntryKind kind, const std::string& utf8Title) {
        return EntryStore(*registry).Find(kind, cp(utf8Title));
    }
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const PromptRequest& asked : prompt.asked)
            texts.push_back(asked.text);
        prompt.asked.clear();
        return texts;
    }
    static QStringList column(const QTreeWidget& tree, int column) {
        QStringList texts;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            texts << tree.topLevelItem(i)->text(column);
        return texts;
    }
};

TEST_F(EntryDialogs, TheTelnetEditorJoinsHostAndPortIntoServerAndRefusesBadFields) {
    struct Case {
        const char* name;
        const char* host;
        const char* port;
        std::string server;   // stored; "" when refused
        std::string message;  // the refusal
        const char* emptied;  // the field refused
    };
    const Case cases[] = {
        {"BBS", "bbs.example", "23", "bbs.example", "", ""},
        {"BBS", "bbs.example", "2323", "bbs.example:2323", "", ""},
        {"BBS", "bbs.example", "0", "bbs.example:0", "", ""},  // refused when connecting
        {"BBS", "bbs.example", "65536", "", "포트 번호는 0부터 65535까지입니다.", "port"},
        {"BBS", "bbs.example", "-1", "", "포트 번호는 0부터 65535까지입니다.", "port"},
        {"BBS", "bbs.example", "", "", "포트 번호을(를) 입력하십시오.", "port"},
        {"BBS", "bad host", "23", "",
         "호스트 이름에는 \\/:*?\"<>의 값과 공백을 입력할 수 없습니다.", "host"},
        {"BBS", "bbs.example:23", "23", "",
         "호스트 이름에는 \\/:*?\"<>의 값과 공백을 입력할 수 없습니다.", "host"},
        {"BBS", "", "23", "", "호스트 이름을(를) 입력하십시오.", "host"},
        {"", "bbs.example", "23", "", "연결명을(를) 입력하십시오.", "name"},
    };
    for (const Case& c : cases) {
        TelnetEntryDialog dialog(*registry, prompt, {});
        EXPECT_EQ(dialog.windowTitle(), "새 연결 연결 등록정보");
        control<QLineEdit>(dialog, "name")->setText(c.name);
        control<QLineEdit>(dialog, "host")->setText(c.host);
        control<QLineEdit>(dialog, "port")->setText(c.port);
        dialog.accept();
        const bool refused = !c.message.empty();
        EXPECT_EQ(dialog.result(), refused ? QDialog::Rejected : QDialog::Accepted) << c.port;
        EXPECT_EQ(messages(), refused ? std::vector{c.message} : std::vector<std::string>{});
        if (refused) {
            EXPECT_EQ(prompt.asked.size(), 0u);
            EXPECT_EQ(control<QLineEdit>(dialog, c.emptied)->text(), "") << c.emptied;
            EXPECT_FALSE(stored(EntryKind::Telnet, "BBS"));
            continue;
        }
        std::optional<Record> entry = stored(EntryKind::Telnet, "BBS");
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->at("Server"), c.server);
        EXPECT_EQ(entry->at("Type"), "1");
        EXPECT_EQ(entry->count("Port"), 0u);
        EntryStore(*registry).Delete(EntryKind::Telnet, "BBS");
    }
}

TEST_F(EntryDialogs, TheTelnetEditorSplitsServerAndKeepsWhatItDoesNotEdit) {
    store(EntryKind::Telnet, {{"Title", cp("예제 BBS")},
                              {"Type", "1"},
                              {"Host", cp("하이텔")},
                              {"Server", "bbs.example:2323"},
                              {"Port", "23"},
                              {"WallPaper", "sky.bmp"}});
    TelnetEntryDialog dialog(*registry, prompt, *stored(EntryKind::Telnet, "예제 BBS"));
    EXPECT_EQ(dialog.windowTitle(), "예제 BBS 연결 등록정보");
    EXPECT_EQ(control<QLineEdit>(dialog, "host")->text(), "bbs.example");
    EXPECT_EQ(control<QLineEdit>(dialog, "port")->text(), "2323");
    EXPECT_EQ(control<QComboBox>(dialog, "service")->currentText(), "하이텔");
    control<QLineEdit>(dialog, "name")->setText("새 이름");
    control<QLineEdit>(dialog, "port")->setText("23");
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(stored(EntryKind::Telnet, "예제 BBS"));
    const Record entry = *stored(EntryKind::Telnet, "새 이름");
    EXPECT_EQ(entry.at("Server"), "bbs.example");
    EXPECT_EQ(entry.at("Port"), "23");
    EXPECT_EQ(entry.at("WallPaper"), "sky.bmp");
    EXPECT_EQ(TelnetEntryAddress(entry).port, 23);
}

TEST_F(EntryDialogs, AnEditorRefusesTheNameOfAnotherEntry) {
    store(EntryKind::Telnet, {{"Title", "A"}, {"Server", "a.example"}});
    store(EntryKind::Telnet, {{"Title", "B"}, {"Server", "b.example"}});
    TelnetEntryDialog dialog(*registry, prompt, *stored(EntryKind::Telnet, "B"));
    control<QLineEdit>(dialog, "name")->setText("A");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(messages(), std::vector<std::string>{"이미 있는 연결명입니다."});
    EXPECT_EQ(stored(EntryKind::Telnet, "A")->at("Server"), "a.example");
}

TEST_F(EntryDialogs, TheModemEditorKeepsUnreadableRecordsAndRefusesAnEmptyList) {
    store(EntryKind::Modem, {{"Title", "M"},
                             {"Type", "0"},
                             {"Host", cp("천리안")},
                             {"Phone", "02:3420-1410:33600:0,stray,:01410:28800,1:2:3:4:5"}});
    ModemEntryDialog dialog(*registry, prompt, *stored(EntryKind::Modem, "M"));
    auto* numbers = control<QTreeWidget>(dialog, "numbers");
    EXPECT_EQ(numbers->headerItem()->text(0), " 전화번호");
    EXPECT_EQ(column(*numbers, 0), (QStringList{"3420-1410", "01410"}));
    EXPECT_EQ(column(*numbers, 2), (QStringList{"서울", "전국"}));
    EXPECT_EQ(numbers->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(numbers->topLevelItem(1)->checkState(0), Qt::Checked);

    // A number added through its dialog, the first one ticked, the second deleted.
    whenShown<PhoneNumberDialog>([](PhoneNumberDialog& number) {
        control<QLineEdit>(number, "number")->setText("420-1410");
        control<QComboBox>(number, "area")->setEditText("032");
        EXPECT_EQ(control<QLabel>(number, "region")->text(), "인천");
        control<QLineEdit>(number, "speed")->setText("28,800:V.34");
        number.accept();
    });
    control<QPushButton>(dialog, "addNumber")->click();
    numbers->topLevelItem(0)->setCheckState(0, Qt::Checked);
    numbers->setCurrentItem(numbers->topLevelItem(1));
    control<QPushButton>(dialog, "deleteNumber")->click();
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(EntryKind::Modem, "M")->at("Phone"),
              "02:3420-1410:33600:1,032:420-1410:28 800 V.34:1,stray,1:2:3:4:5");

    ModemEntryDialog empty(*registry, prompt, {});
    control<QLineEdit>(empty, "name")->setText("N");
    empty.accept();
    EXPECT_EQ(empty.result(), QDialog::Rejected);
    EXPECT_EQ(messages(), std::vector<std::string>{"전화번호를 추가하십시오."});
    EXPECT_FALSE(stored(EntryKind::Modem, "N"));
}

TEST_F(EntryDialogs, ThePhoneNumberChecksAndTheNationwideQuestion) {
    const std::string nationwide = "지역번호를 입력하십시오.\n\n전국 전화번호입니까?";
    struct Case {
        const char* number;
        const char* area;
        PromptAnswer answer;  // to the nationwide question, when asked
        std::vector<std::string> messages;
        const char* emptied;  // "" when accepted
    };
    const Case cases[] = {
        {"3420-1410", "02", PromptAnswer::Yes, {}, ""},
        {"01410", "", PromptAnswer::Yes, {nationwide}, ""},
        {"01410", "", PromptAnswer::No, {nationwide, "지역번호을(를) 입력하십시오."}, "area"},
        {"34a0",
         "02",
         PromptAnswer::Yes,
         {"전화번호에는 " + kNumberChars + "의 값만 입력할 수 있습니다."},
         "number"},
        {"3420,1410",
         "02",
         PromptAnswer::Yes,
         {"전화번호에는 " + kNumberChars + "의 값만 입력할 수 있습니다."},
         "number"},
        {"3420",
         "0:2",
         PromptAnswer::Yes,
         {"지역번호에는 " + kNumberChars + "의 값만 입력할 수 있습니다."},
         "area"},
        {"", "02", PromptAnswer::Yes, {"전화번호을(를) 입력하십시오."}, "number"},
    };
    for (const Case& c : cases) {
        ScriptedPrompt answers;
        answers.expect(c.answer);
        PhoneNumberDialog dialog(answers, {});
        control<QLineEdit>(dialog, "number")->setText(c.number);
        control<QComboBox>(dialog, "area")->setEditText(c.area);
        dialog.accept();
        std::vector<std::string> said;
        for (const PromptRequest& asked : answers.asked)
            said.push_back(asked.text);
        EXPECT_EQ(said, c.messages) << c.number;
        const bool accepted = !*c.emptied;
        EXPECT_EQ(dialog.result(), accepted ? QDialog::Accepted : QDialog::Rejected) << c.number;
        if (accepted) {
            EXPECT_EQ(dialog.Record(), (PhoneRecord{c.area, c.number, "", true}));
        } else {
            const QString field = std::string(c.emptied) == "area"
                                      ? control<QComboBox>(dialog, "area")->currentText()
                                      : control<QLineEdit>(dialog, "number")->text();
            EXPECT_EQ(field, "") << c.number;
        }
    }
}

TEST_F(EntryDialogs, ThePhoneBookShowsItsSixGroupsAndGivesTheNumbersTicked) {
    const IniFile hosts = IniFile::Parse(
        cp("[Host]\nSize=1\n0=예제망\n"
           "[예제망\\PhoneBook]\nSize=7\n0=01410:33600\n1=02:3420-1410:28800\n2=0:01411:56000\n"
           "3=:01412:9600\n4=0652:270-1410:14400\n5=079:123-4567:2400\n6=02:34,20:2400\n"));
    PhoneBookPicker picker(hosts, cp("예제망"));
    auto* tree = control<QTreeWidget>(picker, "phoneBook");
    EXPECT_EQ(column(*tree, 0), (QStringList{"전국(014)", "서울시(02)", "경기강원(03)",
                                             "충청도(04)", "경상도(05)", "전라제주(06)"}));
    auto children = [tree](int group) {
        QStringList texts;
        for (int i = 0; i < tree->topLevelItem(group)->childCount(); ++i)
            texts << tree->topLevelItem(group)->child(i)->text(0);
        return texts;
    };
    EXPECT_EQ(children(0), (QStringList{"전국 01410 (33600)", "전국 01411 (56000)",
                                        "전국 01412 (9600)", " 123-4567 (2400)"}));
    EXPECT_EQ(children(1), QStringList{"서울 3420-1410 (28800)"});
    EXPECT_EQ(children(5), QStringList{"전주 270-1410 (14400)"});
    tree->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
    tree->topLevelItem(1)->child(0)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(picker.Chosen(), (std::vector<PhoneRecord>{{"", "01410", "33600", true},
                                                         {"02", "3420-1410", "28800", true}}));
}

TEST_F(EntryDialogs, ANewServiceTakesItsDefaultsFromTheOneChosenAndNeedsAFreeName) {
    NewServiceDialog dialog(*registry, prompt);
    EXPECT_EQ(dialog.windowTitle(), "새 통신망 추가");
    auto* models = control<QListWidget>(dialog, "models");
    ASSERT_GT(models->count(), 0);
    control<QLineEdit>(dialog, "serviceName")->setText("하이텔");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"이미 존재하는 통신망 이름은 사용할 수 없습니다."});
    EXPECT_EQ(control<QLineEdit>(dialog, "serviceName")->text(), "");

    models->setCurrentRow(0);
    const Record model = NewServiceDefaults(*registry, toStored(models->item(0)->text()));
    control<QLineEdit>(dialog, "serviceName")->setText("예제망");
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), cp("예제망"));
    // The new service has the command values and icon of the one chosen.
    EXPECT_EQ(NewServiceDefaults(*registry, cp("예제망")), model);
    EXPECT_EQ(model.at("LoginString"), "login: ");
    EXPECT_EQ(model.at("PasswordString"), "Password: ");
}

TEST_F(EntryDialogs, TheEntryListFiltersByServiceProtectsReadOnlyEntriesAndDeletes) {
    store(EntryKind::Modem,
          {{"Title", "A"}, {"Host", cp("하이텔")}, {"Phone", "02:3420-1410:33600:1"}});
    store(EntryKind::Modem,
          {{"Title", "B"}, {"Host", cp("천리안")}, {"Phone", ""}, {"ReadOnly", "1"}});
    store(EntryKind::Modem, {{"Title", "C"}, {"Host", cp("하이텔")}, {"Phone", ":01410:2400:0"}});
    EntryListDialog dialog(EntryKind::Modem, *registry, prompt);
    auto* entries = control<QTreeWidget>(dialog, "entries");
    EXPECT_EQ(entries->headerItem()->text(0), "   연결명");
    EXPECT_EQ(entries->headerItem()->text(1), "전화번호");
    EXPECT_EQ(column(*entries, 0), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(column(*entries, 1), (QStringList{"3420-1410", "", "01410"}));

    auto* filter = control<QComboBox>(dialog, "filter");
    filter->setCurrentText("하이텔");
    EXPECT_EQ(column(*entries, 0), (QStringList{"A", "C"}));
    filter->setCurrentIndex(0);

    entries->setCurrentItem(entries->topLevelItem(1));
    EXPECT_FALSE(control<QPushButton>(dialog, "delete")->isEnabled());
    EXPECT_FALSE(control<QPushButton>(dialog, "properties")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(dialog, "connect")->isEnabled());

    entries->setCurrentItem(entries->topLevelItem(0));
    prompt.expect(PromptAnswer::No);
    control<QPushButton>(dialog, "delete")->click();
    prompt.expect(PromptAnswer::Yes);
    control<QPushButton>(dialog, "delete")->click();
    EXPECT_EQ(messages(), std::vector<std::string>(2, "A 연결 항목을 삭제하시겠습니까?"));
    EXPECT_EQ(column(*entries, 0), (QStringList{"B", "C"}));
    EXPECT_FALSE(stored(EntryKind::Modem, "A"));

    entries->setCurrentItem(entries->topLevelItem(1));
    control<QPushButton>(dialog, "connect")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->at("Title"), "C");
}

}  // namespace
