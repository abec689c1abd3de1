#include "app/gui/TelnetEntryDialog.h"

#include <QFormLayout>
#include <QLineEdit>

#include "app/gui/FieldRefusal.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "link/EntryChecks.h"

TelnetEntryDialog::TelnetEntryDialog(Registry& registry, Prompt& prompt, const Record& entry,
                                     QWidget* parent)
    : EntryEditor(EntryKind::Telnet, registry, prompt, entry, parent),
      host_(named(new QLineEdit, "host")),
      port_(named(new QLineEdit, "port")) {
    const TelnetAddress address = TelnetEntryAddress(entry);
    host_->setText(fromStored(address.host));
    port_->setText(address.valid ? QString::number(address.port)
                                 : QString::fromStdString(address.portText));
    form_->insertRow(2, "호스트 이름(&H):", host_);
    form_->insertRow(3, "포트 번호(&P):", port_);
}

bool TelnetEntryDialog::TakeFields(Record& entry) {
    const std::string host = toStored(host_->text().trimmed());
    if (refuseField(prompt_, host_, CheckRequired(host, "호스트 이름"))) return false;
    if (refuseField(prompt_, host_, CheckHostName(host))) return false;
    const std::string portText = port_->text().trimmed().toStdString();
    if (refuseField(prompt_, port_, CheckRequired(portText, "포트 번호"))) return false;
    if (refuseField(prompt_, port_, CheckPortText(portText))) return false;
    entry["Server"] = TelnetServerValue(host, *ParsePortText(portText));
    return true;
}
