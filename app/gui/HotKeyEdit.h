#pragma once
// The "단축키(&K):" field of the macro dialog: one key with its modifiers, shown as its key
// text. Backspace or Delete alone clears it; Tab moves on; Esc and Enter alone are left to the
// dialog; a modifier alone changes nothing.
#include <QLineEdit>
#include <string>

#include "auto/HotKey.h"

class HotKeyEdit : public QLineEdit {
public:
    explicit HotKeyEdit(const std::string& keyText, QWidget* parent = nullptr);
    // The key text as shown: a stored text that does not parse stays until a key replaces it.
    std::string KeyText() const { return text().toStdString(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
