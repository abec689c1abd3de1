#include "app/gui/ModemAdvancedDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "auto/CSettingsSection.h"

namespace {

enum { kCheckCarrier, kInitDelay, kDtrOff, kNoLocation, kPcs };

}  // namespace

const std::vector<ModemAdvancedDialog::Switch>& ModemAdvancedDialog::Switches() {
    static const std::vector<Switch> switches = {
        {"CheckCarrier", "반송파 확인", true},
        {"ModemInitDelay", "모뎀 초기화시 딜레이 필요(윈모뎀, DSP 모뎀)", false},
        {"ModemDtrOff", "전화 안 끊고 끝내는 모드 지원", false},
        {"NoLocation", "전화걸때 항상 지역번호 사용(휴대폰, PCS)", false},
        {"PCS", "PCS 데이터 모드", false},
    };
    return switches;
}

ModemAdvancedDialog::ModemAdvancedDialog(Registry& registry, QWidget* parent)
    : QDialog(parent), registry_(registry) {
    setWindowTitle("고급 설정");
    CSettingsSection comm(registry, "Comm");
    auto* layout = new QVBoxLayout(this);
    for (const Switch& s : Switches()) {
        auto* box = named(new QCheckBox(s.text), s.value);
        box->setChecked(comm.GetInt(s.value, s.byDefault ? 1 : 0) != 0);
        boxes_.push_back(box);
        layout->addWidget(box);
    }
    auto* defaults = named(new QPushButton("디폴트(&D)"), "defaults");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(OkCancelButtons(this));
    layout->addLayout(buttons);
    connect(defaults, &QPushButton::clicked, this, [this] { restoreDefaults(); });
    connect(boxes_[kPcs], &QCheckBox::toggled, this, [this](bool on) { onPcsTicked(on); });
}

void ModemAdvancedDialog::restoreDefaults() {
    for (size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setChecked(Switches()[i].byDefault);
}

// A PCS phone carries data without a carrier signal and always needs the area code.
void ModemAdvancedDialog::onPcsTicked(bool on) {
    if (!on) return;
    boxes_[kCheckCarrier]->setChecked(false);
    boxes_[kNoLocation]->setChecked(true);
}

bool ModemAdvancedDialog::Store() {
    CSettingsSection comm(registry_, "Comm");
    bool stored = true;
    for (size_t i = 0; i < boxes_.size(); ++i)
        stored = comm.SetInt(Switches()[i].value, boxes_[i]->isChecked() ? 1 : 0) && stored;
    return stored;
}
