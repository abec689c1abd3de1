#pragma once
// The stored modem or telnet entries ("모뎀 연결 항목", "텔넷 연결 항목"): their icon, name,
// first number or host, and service, narrowed by "통신망 종류(&B):"; an entry is added,
// deleted, edited in its editor, or chosen for connecting. Read-only entries can be neither
// edited nor deleted.
#include <QDialog>
#include <optional>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "link/ConnectionEntries.h"
#include "platform/Prompt.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

class EntryListDialog : public QDialog {
public:
    EntryListDialog(EntryKind kind, Registry& registry, Prompt& prompt, QWidget* parent = nullptr);
    // The entry chosen with "연결(&O)" (CP949); nothing when the dialog was closed.
    const std::optional<Record>& Chosen() const { return chosen_; }

private:
    void showEntries(const std::string& select = "");
    const Record* current() const;
    void updateButtons();
    void connectCurrent();
    void addEntry();
    void editCurrent();
    void deleteCurrent();
    // The editor of this kind, on `entry`; true when it stored the entry.
    bool edit(const Record& entry);

    EntryKind kind_;
    Registry& registry_;
    Prompt& prompt_;
    std::vector<Record> shown_;
    std::optional<Record> chosen_;
    QComboBox* filter_;
    QTreeWidget* list_;
    QPushButton* connect_;
    QPushButton* delete_;
    QPushButton* properties_;
};
