#pragma once
// "모뎀": the device sessions open (a modem, or a direct cable on a serial port), its port and
// speed, the modem's line settings ("등록 정보(&R)"), the initialisation command and the dial
// time-out. A changed device is reopened after Apply. "고급설정(&A)" and
// "모뎀/전화걸기 제어판(&N)..." open the advanced switches and the modems and location.
#include "app/gui/CCommSheet.h"
#include "app/gui/ModemPageValues.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

class CModemPage : public CommSheetPage {
public:
    explicit CModemPage(const CommSheetContext& context);
    void Apply() override;
    // The line settings of the chosen modem, as the properties dialog's OK stores them.
    bool StoreChosenPortSettings(const PortSettings& settings);

private:
    void showChoices();
    void showChoice();
    void editProperties();
    void editAdvanced();
    void editModems();

    Registry& registry_;
    Prompt& prompt_;
    std::function<void()> modemChanged_;
    SerialPortPaths ports_;
    ModemPageValues values_;
    QListWidget* devices_;
    QLabel* port_;
    QLabel* speed_;
    QPushButton* properties_;
    QLineEdit* modemInit_;
    QSpinBox* dialTimeOut_;
};
