#pragma once
// "인터넷 연결" of the communication settings: whether to connect to the internet by modem, the
// dial-up networking connection to use (its file opened by "등록 정보(&R)"), whether to ask each
// time, the desktop's network settings and the folder of the connections.
#include "app/gui/CCommSheet.h"
#include "link/DialupBackend.h"
#include "link/InternetSettings.h"
#include "platform/ProcessLauncher.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class CInternetPage : public CommSheetPage {
public:
    CInternetPage(Registry& registry, DialupBackend& dialup);
    void Apply() override;

    // The desktop's network settings program; "" when none is installed.
    static std::string NetworkSettingsProgram();

private:
    void showChoice();

    Registry& registry_;
    DialupBackend& dialup_;
    ProcessLauncher launcher_;
    InternetSettings values_;
    QCheckBox* autodial_;
    QComboBox* profile_;
    QPushButton* properties_;
    QLabel* explanation_;
    QCheckBox* askFirst_;
};
