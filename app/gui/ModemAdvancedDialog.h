#pragma once
// "고급 설정": the modem's five advanced switches, kept in `Comm` when closed with OK.
// "PCS 데이터 모드" ticked clears "반송파 확인" and ticks the area-code box; "디폴트(&D)" puts
// the defaults back in the dialog.
#include <QDialog>
#include <vector>

#include "auto/Registry.h"

class QCheckBox;

class ModemAdvancedDialog : public QDialog {
public:
    struct Switch {
        const char* value;  // the `Comm` value
        const char* text;
        bool byDefault;
    };
    static const std::vector<Switch>& Switches();

    explicit ModemAdvancedDialog(Registry& registry, QWidget* parent = nullptr);
    // Stores what the boxes show; false when the store refused.
    bool Store();

private:
    void restoreDefaults();
    void onPcsTicked(bool on);

    Registry& registry_;
    std::vector<QCheckBox*> boxes_;  // in the order of Switches()
};
