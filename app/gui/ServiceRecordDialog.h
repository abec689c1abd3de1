#pragma once
// "%s 통신망 등록 정보": a service's command values in their seven groups; choosing a command
// shows its text in the content field, and OK stores every value of the service.
#include <QDialog>
#include <map>
#include <string>

#include "auto/CRecordStore.h"
#include "platform/Prompt.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

class ServiceRecordDialog : public QDialog {
public:
    ServiceRecordDialog(Registry& registry, Prompt& prompt, const std::string& service,
                        QWidget* parent = nullptr);
    const Record& Values() const { return values_; }
    // Stores the values (the session reloads its map on the notice).
    void accept() override;

private:
    void choose(QTreeWidgetItem* item);

    Registry& registry_;
    Prompt& prompt_;
    std::string service_;
    Record values_;  // CP949 names and texts
    QTreeWidget* tree_;
    QLineEdit* content_;
    std::string chosen_;  // the value the content field edits; "" for none
};

// Opens the dialog over parent; true when OK stored the values.
bool EditServiceRecord(Registry& registry, Prompt& prompt, const std::string& service,
                       QWidget* parent);
