#pragma once
// "새 통신망 추가": a new service named by the user, its default values copied from a service
// chosen in the list. OK adds it; a refused name keeps the dialog open.
#include <QDialog>
#include <string>

#include "auto/Registry.h"
#include "platform/Prompt.h"

class QLineEdit;
class QListWidget;

class NewServiceDialog : public QDialog {
public:
    NewServiceDialog(Registry& registry, Prompt& prompt, QWidget* parent = nullptr);
    // The service added (CP949).
    const std::string& Name() const { return name_; }
    void accept() override;

private:
    Registry& registry_;
    Prompt& prompt_;
    QLineEdit* nameField_;
    QListWidget* models_;
    std::string name_;
};
