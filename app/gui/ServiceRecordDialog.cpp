#include "app/gui/ServiceRecordDialog.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "auto/ServiceCommands.h"

namespace {

constexpr int kNameRole = Qt::UserRole;

std::optional<RegKey> serviceRecord(CRecordStore& store, const std::string& service) {
    if (!store.SelectKind(RecordKind::ServiceCommands)) return std::nullopt;
    return store.FindRecord(service);
}

}  // namespace

ServiceRecordDialog::ServiceRecordDialog(Registry& registry, Prompt& prompt,
                                         const std::string& service, QWidget* parent)
    : QDialog(parent),
      registry_(registry),
      prompt_(prompt),
      service_(service),
      tree_(named(new QTreeWidget, "commands")),
      content_(named(new QLineEdit, "content")) {
    setWindowTitle(QString("%1 통신망 등록 정보").arg(fromStored(service)));
    CRecordStore store(registry_);
    if (std::optional<RegKey> key = serviceRecord(store, service_)) store.ReadRecord(*key, values_);
    tree_->setHeaderHidden(true);
    for (const ServiceCommandGroup& group : ServiceCommandGroups()) {
        auto* top = new QTreeWidgetItem(tree_, {QString::fromUtf8(group.caption)});
        for (const char* name : group.names) {
            auto* item = new QTreeWidgetItem(top, {QString::fromUtf8(name)});
            item->setData(0, kNameRole, QByteArray::fromStdString(toStored(name)));
        }
    }
    tree_->expandAll();
    content_->setEnabled(false);
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { choose(item); });
    connect(content_, &QLineEdit::textEdited, this,
            [this](const QString& text) { values_[chosen_] = toStored(text); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    auto* form = new QFormLayout;
    form->addRow("내용(&C):", content_);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

void ServiceRecordDialog::choose(QTreeWidgetItem* item) {
    chosen_ = item ? item->data(0, kNameRole).toByteArray().toStdString() : "";
    content_->setEnabled(!chosen_.empty());
    auto found = values_.find(chosen_);
    content_->setText(found == values_.end() ? QString() : fromStored(found->second));
}

void ServiceRecordDialog::accept() {
    CRecordStore store(registry_);
    std::optional<RegKey> key = serviceRecord(store, service_);
    if (!key || !store.WriteRecord(*key, values_)) {
        prompt_.tell("통신망 정보를 저장하지 못했습니다.", PromptIcon::Warning);
        return;
    }
    store.NotifyChanged(RecordKind::ServiceCommands);
    QDialog::accept();
}

bool EditServiceRecord(Registry& registry, Prompt& prompt, const std::string& service,
                       QWidget* parent) {
    ServiceRecordDialog dialog(registry, prompt, service, parent);
    return dialog.exec() == QDialog::Accepted;
}
