#pragma once
// "%s 매크로 등록 정보": one keyboard macro's hot key, name and contents. The contents store a
// line break as CR LF, so the macro sends one CR for it. OK runs the page's checks.
#include <QDialog>
#include <vector>

#include "auto/MacroTable.h"
#include "platform/Prompt.h"

class HotKeyEdit;
class QLineEdit;
class QPlainTextEdit;

class MacroDialog : public QDialog {
public:
    MacroDialog(const MacroRow& row, Prompt& prompt, QWidget* parent = nullptr);
    const MacroRow& Result() const { return row_; }
    void accept() override;

    // Edits the row in a dialog over parent; false when cancelled.
    static bool Edit(MacroRow& row, Prompt& prompt, QWidget* parent);

private:
    MacroRow row_;
    Prompt& prompt_;
    HotKeyEdit* key_;
    QLineEdit* name_;
    QPlainTextEdit* contents_;
};
