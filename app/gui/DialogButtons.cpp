#include "app/gui/DialogButtons.h"

#include <QPushButton>

#include "app/gui/QtPrompt.h"

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QtPrompt::kOk, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QtPrompt::kCancel, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
