// The modem page's two further dialogs: "고급 설정" (five switches, the PCS rule, the defaults)
// and the modems with the dialling location, each opened from the page's button.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "app/gui/CModemPage.h"
#include "app/gui/ModemAdvancedDialog.h"
#include "app/gui/ModemControlDialog.h"
#include "link/DialPlan.h"
#include "link/ModemTable.h"
#include "tests/app/gui/DialogTestSupport.h"

namespace {

class ModemSettingsDialogs : public DialogTest {
protected:
    ModemSettingsDialogs() {
        ports.sysClassTty = dir + "/sys";
        std::filesystem::create_directories(ports.sysClassTty + "/ttyS0");
        std::ofstream(ports.sysClassTty + "/ttyS0/type") << "4\n";
        std::filesystem::create_directories(ports.sysClassTty + "/ttyUSB0");
    }
    CommSheetContext context() { return {*registry, prompt, nullptr, nullptr, ports}; }

    SerialPortPaths ports;
};

TEST_F(ModemSettingsDialogs, AdvancedSettingsFollowThePcsRuleAndStoreOnOk) {
    set("Comm", "ModemInitDelay", "1");
    CModemPage page(context());
    whenShown<ModemAdvancedDialog>([](ModemAdvancedDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "고급 설정");
        auto box = [&dialog](const char* name) { return control<QCheckBox>(dialog, name); };
        EXPECT_TRUE(box("CheckCarrier")->isChecked());  // the default
        EXPECT_TRUE(box("ModemInitDelay")->isChecked());
        EXPECT_EQ(box("NoLocation")->text(), "전화걸때 항상 지역번호 사용(휴대폰, PCS)");
        box("PCS")->setChecked(true);
        EXPECT_FALSE(box("CheckCarrier")->isChecked());
        EXPECT_TRUE(box("NoLocation")->isChecked());
        control<QPushButton>(dialog, "defaults")->click();
        std::vector<bool> states;
        for (const ModemAdvancedDialog::Switch& s : ModemAdvancedDialog::Switches())
            states.push_back(box(s.value)->isChecked());
        EXPECT_EQ(states, (std::vector<bool>{true, false, false, false, false}));
        box("PCS")->setChecked(true);
        box("ModemDtrOff")->setChecked(true);
        dialog.accept();
    });
    control<QPushButton>(page, "advanced")->click();
    for (auto [name, value] : {std::pair{"CheckCarrier", "0"},
                               {"ModemInitDelay", "0"},
                               {"ModemDtrOff", "1"},
                               {"NoLocation", "1"},
                               {"PCS", "1"}})
        EXPECT_EQ(setting("Comm", name), value) << name;
}

TEST_F(ModemSettingsDialogs, TheModemsAndTheLocationAreEditedAndChecked) {
    ModemTable::store(*registry, {{"Old", "COM3", std::nullopt}});
    CModemPage page(context());
    whenShown<ModemControlDialog>([this](ModemControlDialog& dialog) {
        auto* modems = control<QListWidget>(dialog, "modems");
        ASSERT_EQ(modems->count(), 1);
        EXPECT_EQ(modems->item(0)->text(), "Old (COM3)");
        EXPECT_EQ(control<QLineEdit>(dialog, "locationName")->text(), "기본 위치");

        // A modem added on a port present; a second of the same name is refused.
        whenShown<QDialog>([](QDialog& add) {
            auto* port = control<QComboBox>(add, "modemPort");
            EXPECT_EQ(port->count(), 2);  // COM1 and /dev/ttyUSB0
            control<QLineEdit>(add, "modemName")->setText("Old");
            add.accept();  // refused: stays open
            control<QLineEdit>(add, "modemName")->setText("내장 모뎀");
            port->setCurrentIndex(1);
            add.accept();
        });
        control<QPushButton>(dialog, "add")->click();
        EXPECT_EQ(prompt.asked.size(), 1u);
        modems->setCurrentRow(0);
        control<QPushButton>(dialog, "delete")->click();
        ASSERT_EQ(modems->count(), 1);
        EXPECT_EQ(modems->item(0)->text(), "내장 모뎀 (/dev/ttyUSB0)");

        // A prefix with a CR is refused with the prefix's characters; a pause is allowed.
        control<QLineEdit>(dialog, "outsidePrefix")->setText("9\r1");
        dialog.accept();
        control<QLineEdit>(dialog, "localAreaCode")->setText("0a2");
        control<QLineEdit>(dialog, "outsidePrefix")->setText("9,");
        dialog.accept();
        control<QLineEdit>(dialog, "localAreaCode")->setText("02");
        control<QLineEdit>(dialog, "locationName")->setText("사무실");
        dialog.accept();
    });
    control<QPushButton>(page, "controlPanel")->click();
    std::vector<std::string> messages;
    for (const PromptRequest& asked : prompt.asked)
        messages.push_back(asked.text);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "이미 있는 모뎀 이름입니다.",
                            "외부 연결 번호에는 0123456789-*#,!@$?;의 값만 입력할 수 있습니다.",
                            "지역번호에는 0123456789-*#!@$?;의 값만 입력할 수 있습니다."}));
    const std::vector<ModemInfo> modems = ModemTable::load(*registry, ports).modems();
    ASSERT_EQ(modems.size(), 1u);
    EXPECT_EQ(modems[0].name, cp("내장 모뎀"));
    EXPECT_EQ(modems[0].port, "/dev/ttyUSB0");
    const DialLocation location = ReadDialLocation(*registry);
    EXPECT_EQ(location.name, cp("사무실"));
    EXPECT_EQ(location.outsidePrefix, "9,");
    EXPECT_EQ(location.localAreaCode, "02");
    // The page offers the modem now set up.
    EXPECT_EQ(control<QListWidget>(page, "devices")->item(0)->text(), "내장 모뎀");
}

}  // namespace
