#include "app/gui/EntryEditor.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/gui/DialogButtons.h"
#include "app/gui/EntryIconDialog.h"
#include "app/gui/FieldRefusal.h"
#include "app/gui/Named.h"
#include "app/gui/ServiceField.h"
#include "app/gui/StoredText.h"
#include "link/EntryChecks.h"
#include "platform/StoredValues.h"

EntryEditor::EntryEditor(EntryKind kind, Registry& registry, Prompt& prompt, const Record& entry,
                         QWidget* parent)
    : QDialog(parent),
      registry_(registry),
      prompt_(prompt),
      form_(new QFormLayout(this)),
      kind_(kind),
      entry_(entry),
      storedTitle_(EntryField(entry, "Title")),
      name_(named(new QLineEdit(fromStored(storedTitle_)), "name")),
      service_(named(new ServiceField(registry, prompt, EntryField(entry, "Host")), "services")),
      icon_(named(new QPushButton("아이콘 변경(&C)..."), "icon")) {
    const QString title = storedTitle_.empty() ? QString("새 연결") : fromStored(storedTitle_);
    setWindowTitle(QString("%1 연결 등록정보").arg(title));
    icon_->setIcon(EntryIcon(entry_));
    form_->addRow("연결명(&N):", name_);
    form_->addRow("통신망 종류(&B):", service_);
    form_->addRow("", icon_);
    form_->addRow(OkCancelButtons(this));
    connect(icon_, &QPushButton::clicked, this, [this] { chooseIcon(); });
}

// A chosen icon of the set replaces an imported icon file.
void EntryEditor::chooseIcon() {
    if (std::optional<int> index =
            ChooseEntryIcon(this, parseDecimal(EntryField(entry_, "IconIndex")))) {
        entry_["IconIndex"] = std::to_string(*index);
        entry_["IconFile"] = "";
        icon_->setIcon(EntryIcon(entry_));
    }
}

std::string EntryEditor::CurrentService() const {
    return service_->Service();
}

void EntryEditor::accept() {
    const std::string title = toStored(name_->text().trimmed());
    if (refuseField(prompt_, name_, CheckRequired(title, "연결명"))) return;
    // Entries are found by name: a second of one name could never be opened.
    const bool taken = title != storedTitle_ && EntryStore(registry_).Find(kind_, title);
    if (refuseField(prompt_, name_,
                    taken ? std::optional<std::string>("이미 있는 연결명입니다.") : std::nullopt))
        return;
    Record entry = entry_;
    if (!TakeFields(entry)) return;
    entry["Title"] = title;
    entry["Host"] = service_->Service();
    entry["Type"] = kind_ == EntryKind::Modem ? "0" : "1";
    if (!EntryStore(registry_).Save(kind_, entry, storedTitle_)) {
        prompt_.tell("연결 항목을 저장하지 못했습니다.", PromptIcon::Warning);
        return;
    }
    entry_ = entry;
    QDialog::accept();
}
