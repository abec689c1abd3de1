#include "app/gui/EntryListDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "app/gui/EntryIconDialog.h"
#include "app/gui/ModemEntryDialog.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "app/gui/TelnetEntryDialog.h"
#include "auto/Services.h"
#include "link/PhoneRecords.h"

namespace {

constexpr char kAllServices[] = "(전체)";

// The second column: the first number of a modem entry, the host of a telnet entry.
QString reachedAt(EntryKind kind, const Record& entry) {
    if (kind == EntryKind::Telnet) return fromStored(TelnetEntryAddress(entry).host);
    const PhoneList list = ParsePhoneList(EntryField(entry, "Phone"));
    return list.records.empty() ? QString() : fromStored(list.records.front().number);
}

}  // namespace

EntryListDialog::EntryListDialog(EntryKind kind, Registry& registry, Prompt& prompt,
                                 QWidget* parent)
    : QDialog(parent),
      kind_(kind),
      registry_(registry),
      prompt_(prompt),
      filter_(named(new QComboBox, "filter")),
      list_(named(new QTreeWidget, "entries")),
      connect_(named(new QPushButton("연결(&O)"), "connect")),
      delete_(named(new QPushButton("삭제(&D)"), "delete")),
      properties_(named(new QPushButton("등록 정보(&R)..."), "properties")) {
    const bool modem = kind == EntryKind::Modem;
    setWindowTitle(modem ? "모뎀 연결 항목" : "텔넷 연결 항목");
    filter_->addItem(kAllServices);
    for (const std::string& service : ServiceNames(registry))
        filter_->addItem(fromStored(service));
    list_->setHeaderLabels(
        QString(modem ? "   연결명\t전화번호\t통신망" : "   연결명\t호스트 이름\t통신망")
            .split('\t'));
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumSize(420, 240);
    auto* add = named(new QPushButton("추가(&A)..."), "add");
    auto* close = named(new QPushButton("닫기"), "close");
    connect_->setDefault(true);

    auto* filterRow = new QFormLayout;
    filterRow->addRow("통신망 종류(&B):", filter_);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {connect_, add, delete_, properties_, close})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(list_, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addLayout(body);

    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { showEntries(); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { connectCurrent(); });
    connect(connect_, &QPushButton::clicked, this, [this] { connectCurrent(); });
    connect(add, &QPushButton::clicked, this, [this] { addEntry(); });
    connect(delete_, &QPushButton::clicked, this, [this] { deleteCurrent(); });
    connect(properties_, &QPushButton::clicked, this, [this] { editCurrent(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    showEntries();
}

void EntryListDialog::showEntries(const std::string& select) {
    const bool all = filter_->currentIndex() <= 0;
    const std::string service = toStored(filter_->currentText());
    const QSignalBlocker quiet(list_);
    list_->clear();
    shown_.clear();
    for (Record& entry : EntryStore(registry_).List(kind_))
        if (all || EntryField(entry, "Host") == service) shown_.push_back(std::move(entry));
    QTreeWidgetItem* chosen = nullptr;
    for (const Record& entry : shown_) {
        auto* item = new QTreeWidgetItem(
            list_, {fromStored(EntryField(entry, "Title")), reachedAt(kind_, entry),
                    fromStored(EntryField(entry, "Host"))});
        item->setIcon(0, EntryIcon(entry));
        if (!chosen || EntryField(entry, "Title") == select) chosen = item;
    }
    list_->setCurrentItem(chosen);
    updateButtons();
}

const Record* EntryListDialog::current() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row >= 0 ? &shown_[row] : nullptr;
}

void EntryListDialog::updateButtons() {
    const Record* entry = current();
    connect_->setEnabled(entry);
    delete_->setEnabled(entry && !IsReadOnly(*entry));
    properties_->setEnabled(entry && !IsReadOnly(*entry));
}

void EntryListDialog::connectCurrent() {
    if (const Record* entry = current()) {
        chosen_ = *entry;
        accept();
    }
}

bool EntryListDialog::edit(const Record& entry) {
    std::unique_ptr<EntryEditor> editor;
    if (kind_ == EntryKind::Modem) {
        editor = std::make_unique<ModemEntryDialog>(registry_, prompt_, entry, this);
    } else {
        editor = std::make_unique<TelnetEntryDialog>(registry_, prompt_, entry, this);
    }
    if (editor->exec() != QDialog::Accepted) return false;
    showEntries(EntryField(editor->Entry(), "Title"));
    return true;
}

void EntryListDialog::addEntry() {
    Record entry;
    if (filter_->currentIndex() > 0) entry["Host"] = toStored(filter_->currentText());
    edit(entry);
}

void EntryListDialog::editCurrent() {
    if (const Record* entry = current(); entry && !IsReadOnly(*entry)) edit(*entry);
}

void EntryListDialog::deleteCurrent() {
    const Record* entry = current();
    if (!entry || IsReadOnly(*entry)) return;
    const std::string title = EntryField(*entry, "Title");
    const std::string question = cp949ToUtf8Lossy(title) + " 연결 항목을 삭제하시겠습니까?";
    if (prompt_.ask(question, PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
        return;
    if (!EntryStore(registry_).Delete(kind_, title))
        prompt_.tell("연결 항목을 삭제하지 못했습니다.", PromptIcon::Warning);
    showEntries();
}
