#pragma once
// The log-in chooser "사용자 로그인": the service's IDs with masked passwords, the ID and
// password fields for this connection and the automatic selection check box.
#include <QDialog>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/LoginChoice.h"
#include "platform/Prompt.h"

class QCheckBox;
class QLineEdit;
class QTreeWidget;

class LoginChooserDialog : public QDialog {
public:
    // ids: CP949 records with clear passwords; the fields start with `choice`.
    // A refused ID is told through `prompt`.
    LoginChooserDialog(QWidget* parent, Prompt& prompt, const std::vector<Record>& ids,
                       const LoginChoice& choice);
    // The fields as confirmed.
    LoginChoice Choice() const;
    // Confirms after the ID check; a refused ID keeps the dialog open.
    void accept() override;

private:
    void takeRow();

    Prompt& prompt_;
    const std::vector<Record>& ids_;
    QTreeWidget* list_;
    QLineEdit* id_;
    QLineEdit* password_;
    QCheckBox* autoSelect_;
};

// Shows the chooser modally; false when cancelled.
bool ChooseLoginInDialog(QWidget* parent, Prompt& prompt, const std::vector<Record>& ids,
                         LoginChoice& choice);
