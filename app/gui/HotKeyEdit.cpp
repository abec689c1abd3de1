#include "app/gui/HotKeyEdit.h"

#include <QKeyEvent>

#include "app/gui/QtHotKey.h"

HotKeyEdit::HotKeyEdit(const std::string& keyText, QWidget* parent)
    : QLineEdit(QString::fromStdString(keyText), parent) {
    setReadOnly(true);  // keys are recorded, never typed
}

void HotKeyEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (modifiers == Qt::NoModifier) {
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->ignore();
            return;
        }
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
            clear();
            return;
        }
    }
    const HotKey hot = QtHotKey(key, event->modifiers());
    if (hot.Valid()) setText(QString::fromStdString(::KeyText(hot)));
}
