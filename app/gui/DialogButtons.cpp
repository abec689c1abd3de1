#include "app/gui/DialogButtons.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/gui/QtPrompt.h"

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QtPrompt::kOk, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QtPrompt::kCancel, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void LayOutSheet(QDialog* sheet, QTabWidget* tabs, const std::function<void()>& apply) {
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(tabs);
    QDialogButtonBox* buttons = OkCancelButtons(sheet);
    QPushButton* applyButton = buttons->addButton("적용(&A)", QDialogButtonBox::ApplyRole);
    QObject::connect(applyButton, &QPushButton::clicked, sheet, apply);
    layout->addWidget(buttons);
}
