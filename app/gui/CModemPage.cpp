#include "app/gui/CModemPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/gui/ModemAdvancedDialog.h"
#include "app/gui/ModemControlDialog.h"
#include "app/gui/Named.h"
#include "app/gui/PortSettingsDialog.h"
#include "app/gui/StoredText.h"

namespace {

constexpr int kMaxDialTimeOut = 999;

}  // namespace

CModemPage::CModemPage(const CommSheetContext& context)
    : CommSheetPage("모뎀"),
      registry_(context.registry),
      prompt_(context.prompt),
      modemChanged_(context.modemChanged),
      ports_(context.ports),
      values_(ModemPageValues::Load(context.registry, context.ports)),
      devices_(named(new QListWidget, "devices")),
      port_(named(new QLabel, "port")),
      speed_(named(new QLabel, "speed")),
      properties_(named(new QPushButton("등록 정보(&R)"), "properties")),
      modemInit_(named(new QLineEdit(fromStored(values_.modemInit)), "modemInit")),
      dialTimeOut_(named(new QSpinBox, "dialTimeOut")) {
    showChoices();
    dialTimeOut_->setRange(0, kMaxDialTimeOut);
    dialTimeOut_->setSuffix(" 초");
    dialTimeOut_->setValue(values_.dialTimeOut);

    auto* advanced = named(new QPushButton("고급설정(&A)"), "advanced");
    auto* controlPanel = named(new QPushButton("모뎀/전화걸기 제어판(&N)..."), "controlPanel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(properties_);
    buttons->addWidget(advanced);
    buttons->addStretch();
    auto* form = new QFormLayout;
    form->addRow("통신 포트:", port_);
    form->addRow("최대 속도:", speed_);
    form->addRow("초기화 명령(&I):", modemInit_);
    form->addRow("전화 걸기 제한 시간(&T):", dialTimeOut_);
    auto* devicesLabel = new QLabel("모뎀(&M):");
    devicesLabel->setBuddy(devices_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(devicesLabel);
    layout->addWidget(devices_);
    layout->addLayout(buttons);
    layout->addLayout(form);
    layout->addWidget(controlPanel, 0, Qt::AlignLeft);

    connect(devices_, &QListWidget::currentRowChanged, this, [this] { showChoice(); });
    connect(properties_, &QPushButton::clicked, this, [this] { editProperties(); });
    connect(advanced, &QPushButton::clicked, this, [this] { editAdvanced(); });
    connect(controlPanel, &QPushButton::clicked, this, [this] { editModems(); });
    showChoice();
}

void CModemPage::showChoices() {
    const QSignalBlocker quiet(devices_);
    devices_->clear();
    for (const ModemChoice& choice : values_.choices)
        devices_->addItem(QString::fromStdString(choice.label));
    devices_->setCurrentRow(values_.selected);
}

void CModemPage::showChoice() {
    values_.selected = devices_->currentRow();
    const bool chosen = values_.selected >= 0;
    const ModemChoice* choice = chosen ? &values_.choices[values_.selected] : nullptr;
    port_->setText(choice ? QString::fromStdString(ModemPageValues::PortText(*choice)) : "");
    speed_->setText(choice ? QString::number(choice->settings.baud) : "");
    properties_->setEnabled(choice && !choice->direct);
}

void CModemPage::editProperties() {
    if (values_.selected < 0) return;
    const ModemChoice& choice = values_.choices[values_.selected];
    PortSettingsDialog dialog(QString::fromStdString(choice.label), choice.settings, this);
    if (dialog.exec() == QDialog::Accepted) StoreChosenPortSettings(dialog.Settings());
}

void CModemPage::editAdvanced() {
    ModemAdvancedDialog dialog(registry_, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.Store())
        prompt_.tell("고급 설정을 저장하지 못했습니다.", PromptIcon::Warning);
}

// The modems may have changed: the list is read again, keeping the device chosen when it is
// still there.
void CModemPage::editModems() {
    ModemControlDialog dialog(registry_, prompt_, ports_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string chosen =
        values_.selected >= 0 ? values_.choices[values_.selected].device : std::string();
    ModemPageValues reloaded = ModemPageValues::Load(registry_, ports_);
    for (size_t i = 0; i < reloaded.choices.size(); ++i)
        if (!chosen.empty() && reloaded.choices[i].device == chosen)
            reloaded.selected = static_cast<int>(i);
    reloaded.modemInit = toStored(modemInit_->text());
    reloaded.dialTimeOut = dialTimeOut_->value();
    values_ = reloaded;
    showChoices();
    showChoice();
}

bool CModemPage::StoreChosenPortSettings(const PortSettings& settings) {
    if (!values_.StorePortSettings(registry_, values_.selected, settings)) {
        prompt_.tell("모뎀 등록 정보를 저장하지 못했습니다.", PromptIcon::Warning);
        return false;
    }
    showChoice();
    return true;
}

void CModemPage::Apply() {
    values_.modemInit = toStored(modemInit_->text());
    values_.dialTimeOut = dialTimeOut_->value();
    if (values_.Store(registry_) && modemChanged_) modemChanged_();
}
