#pragma once
// "전화번호": one phone record of a modem entry, its number, area code (the region it names
// shown beside it) and speed. OK runs the number checks; a refused field stays open.
#include <QDialog>

#include "link/PhoneRecords.h"
#include "platform/Prompt.h"

class QComboBox;
class QLabel;
class QLineEdit;

class PhoneNumberDialog : public QDialog {
public:
    PhoneNumberDialog(Prompt& prompt, const PhoneRecord& record, QWidget* parent = nullptr);
    // CP949, as the entry stores it.
    const PhoneRecord& Record() const { return record_; }
    void accept() override;

private:
    Prompt& prompt_;
    PhoneRecord record_;
    QLineEdit* number_;
    QComboBox* area_;
    QLabel* region_;
    QLineEdit* speed_;
};
