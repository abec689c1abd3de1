#pragma once
// The buttons of the settings dialogs, with their Korean texts set explicitly.
#include <QDialog>
#include <QDialogButtonBox>
#include <functional>

class QTabWidget;

// "확인" and "취소", connected to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// A property sheet: its tabs above "확인", "취소" and "적용(&A)", which runs apply.
void LayOutSheet(QDialog* sheet, QTabWidget* tabs, const std::function<void()>& apply);
