#include "app/gui/CMacroSheet.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/gui/AutoMacroDialog.h"
#include "app/gui/CommandList.h"
#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"

CMacroSheet::CMacroSheet(Registry& registry, Prompt& prompt, const std::string& service,
                         QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget) {
    setWindowTitle("매크로 설정");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    LayOutSheet(this, tabs_, [this] { Apply(); });
    auto* page = new CAutoMacroPage(registry, prompt, service);
    tabs_->addTab(page, page->Title());
}

void CMacroSheet::Apply() {
    ApplyPages(*tabs_);
}

void CMacroSheet::accept() {
    Apply();
    QDialog::accept();
}

CAutoMacroPage::CAutoMacroPage(Registry& registry, Prompt& prompt, const std::string& service)
    : CommSheetPage(AutoMacroPage::kTitle),
      model_(registry, prompt, service),
      prompt_(prompt),
      service_(named(new QComboBox, "service")),
      list_(named(new CommandList(AutoMacroPage::kColumns,
                                  {AutoMacroPage::kNameWidth, AutoMacroPage::kPatternWidth}),
                  "macros")),
      edit_(named(new QPushButton(AutoMacroPage::kButtons[0]), "edit")) {
    auto* add = named(new QPushButton(AutoMacroPage::kButtons[1]), "add");
    auto* remove = named(new QPushButton(AutoMacroPage::kButtons[2]), "delete");
    for (QPushButton* button : {edit_, add, remove})
        list_->RegisterButton(button);

    std::vector<std::string> services = model_.Services();
    if (std::find(services.begin(), services.end(), service) == services.end())
        services.insert(services.begin(), service);
    for (const std::string& name : services)
        service_->addItem(fromStored(name), QByteArray::fromStdString(name));
    service_->setCurrentIndex(service_->findData(QByteArray::fromStdString(service)));

    auto edit = [this](Record& record) { return editRecord(record); };
    connect(service_, &QComboBox::currentIndexChanged, this, [this] {
        model_.SelectService(service_->currentData().toByteArray().toStdString());
        showRows();
    });
    connect(edit_, &QPushButton::clicked, this, [this, edit] {
        const std::vector<size_t> selected = list_->SelectedRows();
        if (selected.size() == 1) model_.Edit(selected[0], edit);
        showRows();
    });
    connect(add, &QPushButton::clicked, this, [this, edit] {
        model_.Add(edit);
        showRows();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        model_.Delete(list_->SelectedRows());
        showRows();
    });
    list_->checkToggled = [this](size_t row, bool on) { model_.SetOn(row, on); };
    list_->doubleClicked = [this, edit](const std::vector<size_t>& selected) {
        model_.DoubleClick(selected, edit);
        showRows();
    };
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });

    auto* selector = new QFormLayout;
    selector->addRow("통신망 종류(&B):", service_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {edit_, add, remove})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selector);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    showRows();
}

void CAutoMacroPage::showRows() {
    list_->clear();
    auto field = [](const Record& record, const char* name) {
        auto found = record.find(name);
        return found == record.end() ? QString() : fromStored(found->second);
    };
    for (const AutoMacroPage::Row& row : model_.Rows())
        list_->AddRow({field(row.record, "Title"), field(row.record, "Pattern"),
                       field(row.record, "SendString")},
                      row.on);
    updateButtons();
}

void CAutoMacroPage::updateButtons() {
    edit_->setEnabled(list_->SelectedRows().size() == 1);
}

bool CAutoMacroPage::editRecord(Record& record) {
    return AutoMacroDialog::Edit(record, prompt_, this);
}

void CAutoMacroPage::Apply() {
    if (!model_.Apply()) prompt_.tell("자동 매크로를 저장하지 못했습니다.", PromptIcon::Warning);
}
