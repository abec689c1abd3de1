#pragma once
// What the modem and telnet entry editors share: the caption "%s 연결 등록정보", the name
// ("연결명(&N):"), the service ("통신망 종류(&B):"), "아이콘 변경(&C)...", and OK, which checks
// the fields and stores the entry over the one it was opened with. Each editor adds its own
// fields and checks.
#include <QDialog>
#include <string>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "link/ConnectionEntries.h"
#include "platform/Prompt.h"

class QFormLayout;
class QLineEdit;
class QPushButton;
class ServiceField;

class EntryEditor : public QDialog {
public:
    // The entry as stored (CP949); an empty one for a new entry.
    const Record& Entry() const { return entry_; }
    void accept() override;

protected:
    EntryEditor(EntryKind kind, Registry& registry, Prompt& prompt, const Record& entry,
                QWidget* parent);
    // Checks the editor's own fields and writes them into the entry; false (after telling the
    // user) when one is refused.
    virtual bool TakeFields(Record& entry) = 0;
    // The service chosen now (CP949).
    std::string CurrentService() const;

    Registry& registry_;
    Prompt& prompt_;
    // The editor's own rows go in from row 2, after the name and service.
    QFormLayout* form_;

private:
    void chooseIcon();

    EntryKind kind_;
    Record entry_;
    std::string storedTitle_;  // "" for a new entry
    QLineEdit* name_;
    ServiceField* service_;
    QPushButton* icon_;
};
