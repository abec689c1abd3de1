#pragma once
// "모뎀/전화걸기": the modems set up (the `Modems` list: add, edit, delete, each a name, a
// serial port and its line settings) and where the user dials from (the location's name, the
// prefix that reaches an outside line, the local area code). OK stores both.
#include <QDialog>
#include <vector>

#include "auto/Registry.h"
#include "link/ModemTable.h"
#include "link/SerialPorts.h"
#include "platform/Prompt.h"

class QLineEdit;
class QListWidget;

class ModemControlDialog : public QDialog {
public:
    ModemControlDialog(Registry& registry, Prompt& prompt, const SerialPortPaths& ports = {},
                       QWidget* parent = nullptr);
    const std::vector<ModemInfo>& Modems() const { return modems_; }
    // Checks the location's fields, then stores; the dialog stays open on a refused field.
    void accept() override;

private:
    void showModems();
    void addModem();
    void editModem();
    void deleteModem();
    bool nameTaken(const std::string& name, int except) const;
    bool editInDialog(ModemInfo& modem, int index);

    Registry& registry_;
    Prompt& prompt_;
    SerialPortPaths ports_;
    std::vector<ModemInfo> modems_;
    QListWidget* list_;
    QLineEdit* locationName_;
    QLineEdit* outsidePrefix_;
    QLineEdit* localAreaCode_;
};
