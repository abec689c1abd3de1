#include "app/gui/ServiceField.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/gui/Named.h"
#include "app/gui/NewServiceDialog.h"
#include "app/gui/StoredText.h"
#include "auto/Services.h"

ServiceField::ServiceField(Registry& registry, Prompt& prompt, const std::string& current)
    : registry_(registry), prompt_(prompt), services_(named(new QComboBox, "service")) {
    auto* add = named(new QPushButton("새 통신망(&W)..."), "newService");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(services_, 1);
    layout->addWidget(add);
    connect(add, &QPushButton::clicked, this, [this] { addService(); });
    fill(current);
}

// A service the store no longer lists stays offered, so that saving keeps it.
void ServiceField::fill(const std::string& current) {
    services_->clear();
    for (const std::string& service : ServiceNames(registry_))
        services_->addItem(fromStored(service));
    if (current.empty()) return;
    if (services_->findText(fromStored(current)) < 0) services_->addItem(fromStored(current));
    services_->setCurrentText(fromStored(current));
}

std::string ServiceField::Service() const {
    return toStored(services_->currentText());
}

void ServiceField::addService() {
    NewServiceDialog dialog(registry_, prompt_, this);
    if (dialog.exec() == QDialog::Accepted) fill(dialog.Name());
}
