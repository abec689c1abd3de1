#pragma once
// The modem entry editor: the common fields and the entry's phone numbers (" 전화번호\t속도\t
// 지역", each with its check mark), added one by one or chosen from the service's phone book,
// edited, deleted. An entry without numbers is refused. Records the list cannot show are kept
// and written back after the others.
#include <vector>

#include "app/gui/EntryEditor.h"
#include "link/PhoneRecords.h"

class QTreeWidget;

class ModemEntryDialog : public EntryEditor {
public:
    ModemEntryDialog(Registry& registry, Prompt& prompt, const Record& entry,
                     QWidget* parent = nullptr);
    // The records as the list shows them now (CP949).
    std::vector<PhoneRecord> Records() const;

protected:
    bool TakeFields(Record& entry) override;

private:
    void showRecords(const std::vector<PhoneRecord>& records);
    void addNumber();
    void editNumber();
    void deleteNumber();
    void pickFromPhoneBook();

    std::vector<std::string> unreadable_;
    std::vector<PhoneRecord> records_;  // the list's rows, check marks taken from the list
    QTreeWidget* numbers_;
};
