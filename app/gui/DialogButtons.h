#pragma once
// The buttons of the settings dialogs, with their Korean texts set explicitly.
#include <QDialog>
#include <QDialogButtonBox>

// "확인" and "취소", connected to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
