#include "app/gui/PhoneNumberDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/gui/DialogButtons.h"
#include "app/gui/FieldRefusal.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "link/AreaCodes.h"
#include "link/EntryChecks.h"

PhoneNumberDialog::PhoneNumberDialog(Prompt& prompt, const PhoneRecord& record, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      record_(record),
      number_(named(new QLineEdit(fromStored(record.number)), "number")),
      area_(named(new QComboBox, "area")),
      region_(named(new QLabel, "region")),
      speed_(named(new QLineEdit(fromStored(record.speed)), "speed")) {
    setWindowTitle("전화번호");
    area_->setEditable(true);
    area_->setInsertPolicy(QComboBox::NoInsert);
    for (const AreaCode& row : AreaCodeTable())
        area_->addItem(row.code);
    area_->setEditText(fromStored(record.area));
    auto showRegion = [this](const QString& code) {
        region_->setText(QString::fromStdString(RegionName(toStored(code.trimmed()))));
    };
    showRegion(area_->currentText());
    connect(area_, &QComboBox::editTextChanged, this, showRegion);
    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(area_);
    areaRow->addWidget(region_, 1);
    auto* form = new QFormLayout(this);
    form->addRow("전화번호(&N):", number_);
    form->addRow("지역번호(&A):", areaRow);
    form->addRow("속도(&S):", speed_);
    form->addRow(OkCancelButtons(this));
}

void PhoneNumberDialog::accept() {
    const std::string number = toStored(number_->text().trimmed());
    const std::string area = toStored(area_->currentText().trimmed());
    if (std::optional<PhoneFieldProblem> problem = CheckPhoneFields(area, number, prompt_)) {
        refuseField(
            prompt_,
            problem->field == PhoneFieldProblem::Field::Number ? number_ : area_->lineEdit(),
            problem->message);
        return;
    }
    record_.number = number;
    record_.area = area;
    record_.speed = SpeedText(toStored(speed_->text().trimmed()));
    QDialog::accept();
}
