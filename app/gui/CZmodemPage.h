#pragma once
// "프로토콜": the ZMODEM settings of the communication settings (section `Comm`), eight check
// boxes stored as 1 or 0.
#include <vector>

#include "app/gui/CCommSheet.h"

class QCheckBox;

struct ZmodemSetting {
    const char* name;   // the `Comm` value
    const char* label;  // the box's text
    int defaultValue;
};

// In the page's order.
const std::vector<ZmodemSetting>& zmodemSettings();

class CZmodemPage : public CommSheetPage {
public:
    explicit CZmodemPage(Registry& registry);
    void Apply() override;

private:
    Registry& registry_;
    std::vector<QCheckBox*> boxes_;
};
