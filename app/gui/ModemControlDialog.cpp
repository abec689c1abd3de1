#include "app/gui/ModemControlDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/FieldRefusal.h"
#include "app/gui/Named.h"
#include "app/gui/PortSettingsDialog.h"
#include "app/gui/StoredText.h"
#include "link/DialPlan.h"
#include "link/EntryChecks.h"

namespace {

QString modemLine(const ModemInfo& modem) {
    return QString("%1 (%2)").arg(fromStored(modem.name), fromStored(modem.port));
}

// A dialog whose OK closes it only when its fields pass the check.
class CheckedDialog : public QDialog {
public:
    using QDialog::QDialog;
    std::function<bool()> check;
    void accept() override {
        if (check()) QDialog::accept();
    }
};

}  // namespace

ModemControlDialog::ModemControlDialog(Registry& registry, Prompt& prompt,
                                       const SerialPortPaths& ports, QWidget* parent)
    : QDialog(parent),
      registry_(registry),
      prompt_(prompt),
      ports_(ports),
      modems_(ModemTable::load(registry, ports).modems()),
      list_(named(new QListWidget, "modems")),
      locationName_(named(new QLineEdit, "locationName")),
      outsidePrefix_(named(new QLineEdit, "outsidePrefix")),
      localAreaCode_(named(new QLineEdit, "localAreaCode")) {
    setWindowTitle("모뎀/전화걸기");
    auto* add = named(new QPushButton("추가(&A)..."), "add");
    auto* edit = named(new QPushButton("등록 정보(&R)..."), "edit");
    auto* remove = named(new QPushButton("삭제(&D)"), "delete");
    auto* modemButtons = new QHBoxLayout;
    for (QPushButton* button : {add, edit, remove})
        modemButtons->addWidget(button);
    modemButtons->addStretch();
    auto* modemBox = new QGroupBox("모뎀(&M)");
    auto* modemLayout = new QVBoxLayout(modemBox);
    modemLayout->addWidget(list_);
    modemLayout->addLayout(modemButtons);

    const DialLocation location = ReadDialLocation(registry);
    locationName_->setText(fromStored(location.name));
    outsidePrefix_->setText(fromStored(location.outsidePrefix));
    localAreaCode_->setText(fromStored(location.localAreaCode));
    auto* locationBox = new QGroupBox("전화 거는 위치");
    auto* form = new QFormLayout(locationBox);
    form->addRow("위치 이름(&L):", locationName_);
    form->addRow(QString(kOutsidePrefixLabel) + "(&O):", outsidePrefix_);
    form->addRow(QString(kAreaCodeLabel) + "(&C):", localAreaCode_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modemBox);
    layout->addWidget(locationBox);
    layout->addWidget(OkCancelButtons(this));
    connect(add, &QPushButton::clicked, this, [this] { addModem(); });
    connect(edit, &QPushButton::clicked, this, [this] { editModem(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { editModem(); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteModem(); });
    showModems();
}

void ModemControlDialog::showModems() {
    const int current = list_->currentRow();
    list_->clear();
    for (const ModemInfo& modem : modems_)
        list_->addItem(modemLine(modem));
    list_->setCurrentRow(std::min(std::max(current, 0), list_->count() - 1));
}

bool ModemControlDialog::nameTaken(const std::string& name, int except) const {
    for (size_t i = 0; i < modems_.size(); ++i)
        if (static_cast<int>(i) != except && modems_[i].name == name) return true;
    return false;
}

// The modem's name, port and line settings in a dialog of their own; false when cancelled.
bool ModemControlDialog::editInDialog(ModemInfo& modem, int index) {
    CheckedDialog dialog(this);
    dialog.setWindowTitle(index < 0 ? "모뎀 추가" : "모뎀 등록 정보");
    auto* name = named(new QLineEdit(fromStored(modem.name)), "modemName");
    auto* port = named(new QComboBox, "modemPort");
    port->setEditable(true);
    for (const std::string& present : listSerialPorts(ports_))
        port->addItem(fromStored(present));
    port->setEditText(fromStored(modem.port));
    PortSettings settings = modem.settings.value_or(PortSettings());
    auto* line = named(new QPushButton("회선 설정(&S)..."), "lineSettings");
    connect(line, &QPushButton::clicked, &dialog, [&] {
        PortSettingsDialog lineDialog(name->text(), settings, &dialog);
        if (lineDialog.exec() == QDialog::Accepted) settings = lineDialog.Settings();
    });
    auto* form = new QFormLayout(&dialog);
    form->addRow("모뎀 이름(&N):", name);
    form->addRow("통신 포트(&P):", port);
    form->addRow("", line);
    form->addRow(OkCancelButtons(&dialog));
    dialog.check = [&] {
        const std::string newName = toStored(name->text().trimmed());
        // The session finds a modem by its name: two of one name would hide the second.
        return !refuseField(prompt_, name, CheckRequired(newName, "모뎀 이름")) &&
               !refuseField(prompt_, name,
                            nameTaken(newName, index)
                                ? std::optional<std::string>("이미 있는 모뎀 이름입니다.")
                                : std::nullopt);
    };
    if (dialog.exec() != QDialog::Accepted) return false;
    modem = {toStored(name->text().trimmed()), toStored(port->currentText().trimmed()), settings};
    return true;
}

void ModemControlDialog::addModem() {
    ModemInfo modem;
    if (editInDialog(modem, -1)) {
        modems_.push_back(modem);
        showModems();
        list_->setCurrentRow(list_->count() - 1);
    }
}

void ModemControlDialog::editModem() {
    const int row = list_->currentRow();
    if (row < 0) return;
    ModemInfo modem = modems_[row];
    if (editInDialog(modem, row)) {
        modems_[row] = modem;
        showModems();
    }
}

void ModemControlDialog::deleteModem() {
    const int row = list_->currentRow();
    if (row < 0) return;
    modems_.erase(modems_.begin() + row);
    showModems();
}

void ModemControlDialog::accept() {
    const std::string prefix = toStored(outsidePrefix_->text().trimmed());
    const std::string area = toStored(localAreaCode_->text().trimmed());
    if (refuseField(prompt_, outsidePrefix_,
                    IsOutsidePrefix(prefix) ? std::nullopt
                                            : std::optional<std::string>(OnlyCharsText(
                                                  kOutsidePrefixLabel, kOutsidePrefixChars))))
        return;
    if (refuseField(prompt_, localAreaCode_, CheckDialText(area, kAreaCodeLabel))) return;
    const DialLocation location{toStored(locationName_->text().trimmed()), prefix, area};
    if (!ModemTable::store(registry_, modems_) || !StoreDialLocation(registry_, location)) {
        prompt_.tell("모뎀 설정을 저장하지 못했습니다.", PromptIcon::Warning);
        return;
    }
    QDialog::accept();
}
