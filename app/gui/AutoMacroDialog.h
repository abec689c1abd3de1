#pragma once
// "%s 자동 매크로 등록 정보": one auto macro's name, pattern, reply, sound and menu command.
// The multi-line fields store a line break as CR LF, so a reply sends one CR for it.
#include <QDialog>

#include "auto/CRecordStore.h"
#include "platform/Prompt.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

class AutoMacroDialog : public QDialog {
public:
    AutoMacroDialog(const Record& record, Prompt& prompt, QWidget* parent = nullptr);
    // The record as OK left it; the fields the dialog does not show are kept.
    const Record& Result() const { return record_; }
    // Refuses a record without a name or a pattern, saying which field is missing.
    void accept() override;

    // Edits the record in a dialog over parent; false when cancelled.
    static bool Edit(Record& record, Prompt& prompt, QWidget* parent);

private:
    void fillCommands();
    void browseSound();

    Record record_;
    Prompt& prompt_;
    QLineEdit* title_;
    QPlainTextEdit* pattern_;
    QPlainTextEdit* sendString_;
    QLineEdit* sound_;
    QComboBox* command_;
};
