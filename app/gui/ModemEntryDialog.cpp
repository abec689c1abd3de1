#include "app/gui/ModemEntryDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/Named.h"
#include "app/gui/PhoneBookPicker.h"
#include "app/gui/PhoneNumberDialog.h"
#include "app/gui/StoredText.h"
#include "auto/HostsFile.h"
#include "link/AreaCodes.h"

ModemEntryDialog::ModemEntryDialog(Registry& registry, Prompt& prompt, const Record& entry,
                                   QWidget* parent)
    : EntryEditor(EntryKind::Modem, registry, prompt, entry, parent),
      numbers_(named(new QTreeWidget, "numbers")) {
    PhoneList list = ParsePhoneList(EntryField(entry, "Phone"));
    unreadable_ = std::move(list.unreadable);
    numbers_->setHeaderLabels(QString(" 전화번호\t속도\t지역").split('\t'));
    numbers_->setRootIsDecorated(false);
    numbers_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* add = named(new QPushButton("추가(&A)..."), "addNumber");
    auto* edit = named(new QPushButton("편집(&E)..."), "editNumber");
    auto* remove = named(new QPushButton("삭제(&D)"), "deleteNumber");
    auto* book = named(new QPushButton("전화번호부(&P)..."), "phoneBook");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add, edit, remove, book})
        buttons->addWidget(button);
    auto* numbers = new QVBoxLayout;
    numbers->addWidget(numbers_);
    numbers->addLayout(buttons);
    form_->insertRow(2, "전화번호(&T):", numbers);
    connect(add, &QPushButton::clicked, this, [this] { addNumber(); });
    connect(edit, &QPushButton::clicked, this, [this] { editNumber(); });
    connect(numbers_, &QTreeWidget::itemDoubleClicked, this, [this] { editNumber(); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteNumber(); });
    connect(book, &QPushButton::clicked, this, [this] { pickFromPhoneBook(); });
    showRecords(list.records);
}

void ModemEntryDialog::showRecords(const std::vector<PhoneRecord>& records) {
    numbers_->clear();
    for (const PhoneRecord& record : records) {
        auto* item =
            new QTreeWidgetItem(numbers_, {fromStored(record.number), fromStored(record.speed),
                                           QString::fromStdString(RegionName(record.area))});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, record.checked ? Qt::Checked : Qt::Unchecked);
    }
    records_ = records;
}

std::vector<PhoneRecord> ModemEntryDialog::Records() const {
    std::vector<PhoneRecord> records = records_;
    for (size_t i = 0; i < records.size(); ++i)
        records[i].checked =
            numbers_->topLevelItem(static_cast<int>(i))->checkState(0) == Qt::Checked;
    return records;
}

void ModemEntryDialog::addNumber() {
    PhoneNumberDialog dialog(prompt_, PhoneRecord{}, this);
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<PhoneRecord> records = Records();
    records.push_back(dialog.Record());
    showRecords(records);
}

void ModemEntryDialog::editNumber() {
    const int row = numbers_->indexOfTopLevelItem(numbers_->currentItem());
    if (row < 0) return;
    std::vector<PhoneRecord> records = Records();
    PhoneNumberDialog dialog(prompt_, records[row], this);
    if (dialog.exec() != QDialog::Accepted) return;
    records[row] = dialog.Record();
    showRecords(records);
}

void ModemEntryDialog::deleteNumber() {
    const int row = numbers_->indexOfTopLevelItem(numbers_->currentItem());
    if (row < 0) return;
    std::vector<PhoneRecord> records = Records();
    records.erase(records.begin() + row);
    showRecords(records);
}

void ModemEntryDialog::pickFromPhoneBook() {
    PhoneBookPicker picker(LoadHostsFile(), CurrentService(), this);
    if (picker.exec() != QDialog::Accepted) return;
    std::vector<PhoneRecord> records = Records();
    for (const PhoneRecord& chosen : picker.Chosen())
        records.push_back(chosen);
    showRecords(records);
}

bool ModemEntryDialog::TakeFields(Record& entry) {
    const std::vector<PhoneRecord> records = Records();
    if (records.empty()) {
        prompt_.tell("전화번호를 추가하십시오.", PromptIcon::Warning);
        return false;
    }
    entry["Phone"] = JoinPhoneList(records, unreadable_);
    return true;
}
