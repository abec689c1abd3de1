#include "app/gui/NewServiceDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>

#include "app/gui/DialogButtons.h"
#include "app/gui/FieldRefusal.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "auto/Services.h"

NewServiceDialog::NewServiceDialog(Registry& registry, Prompt& prompt, QWidget* parent)
    : QDialog(parent),
      registry_(registry),
      prompt_(prompt),
      nameField_(named(new QLineEdit, "serviceName")),
      models_(named(new QListWidget, "models")) {
    setWindowTitle("새 통신망 추가");
    for (const std::string& service : ServiceNames(registry))
        models_->addItem(fromStored(service));
    models_->setCurrentRow(0);
    auto* form = new QFormLayout(this);
    form->addRow("통신망 이름(&N):", nameField_);
    form->addRow("기본값을 가져올 통신망(&S):", models_);
    form->addRow(OkCancelButtons(this));
}

void NewServiceDialog::accept() {
    const std::string name = toStored(nameField_->text().trimmed());
    QListWidgetItem* model = models_->currentItem();
    Record service = NewServiceDefaults(registry_, model ? toStored(model->text()) : "");
    service["Title"] = name;
    if (refuseField(prompt_, nameField_, AddService(registry_, service))) return;
    name_ = name;
    QDialog::accept();
}
