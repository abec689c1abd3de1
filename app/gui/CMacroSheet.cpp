#include "app/gui/CMacroSheet.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/gui/AutoMacroDialog.h"
#include "app/gui/CommandList.h"
#include "app/gui/DialogButtons.h"
#include "app/gui/MacroDialog.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"

namespace {

// The services to choose from, with the first one chosen even when it is not stored.
void fillServices(QComboBox& box, std::vector<std::string> services, const std::string& first) {
    if (std::find(services.begin(), services.end(), first) == services.end())
        services.insert(services.begin(), first);
    for (const std::string& name : services)
        box.addItem(fromStored(name), QByteArray::fromStdString(name));
    box.setCurrentIndex(box.findData(QByteArray::fromStdString(first)));
}

std::string chosenService(const QComboBox& box) {
    return box.currentData().toByteArray().toStdString();
}

// The service selector above the list, the buttons below it on the right.
void layOutListPage(QWidget& page, QComboBox* service, CommandList* list,
                    std::initializer_list<QPushButton*> buttons) {
    auto* selector = new QFormLayout;
    selector->addRow("통신망 종류(&B):", service);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    auto* layout = new QVBoxLayout(&page);
    layout->addLayout(selector);
    layout->addWidget(list);
    layout->addLayout(row);
}

struct ListPageControls {
    QComboBox* service;
    CommandList* list;
    QPushButton *edit, *add, *remove;
};

// The service selector, the buttons and the double-click acting on the page model; `shown`
// redraws the rows afterwards.
template <class Model, class Dialog>
void connectListPage(QWidget& page, Model& model, const ListPageControls& c, Dialog dialog,
                     std::function<void()> shown) {
    QObject::connect(c.service, &QComboBox::currentIndexChanged, &page, [&model, c, shown] {
        model.SelectService(chosenService(*c.service));
        shown();
    });
    QObject::connect(c.edit, &QPushButton::clicked, &page, [&model, c, dialog, shown] {
        const std::vector<size_t> selected = c.list->SelectedRows();
        if (selected.size() == 1) model.Edit(selected[0], dialog);
        shown();
    });
    QObject::connect(c.add, &QPushButton::clicked, &page, [&model, dialog, shown] {
        model.Add(dialog);
        shown();
    });
    QObject::connect(c.remove, &QPushButton::clicked, &page, [&model, c, shown] {
        model.Delete(c.list->SelectedRows());
        shown();
    });
    c.list->doubleClicked = [&model, dialog, shown](const std::vector<size_t>& selected) {
        model.DoubleClick(selected, dialog);
        shown();
    };
}

}  // namespace

CMacroSheet::CMacroSheet(Registry& registry, Prompt& prompt, const std::string& service,
                         QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget) {
    setWindowTitle("매크로 설정");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    LayOutSheet(this, tabs_, [this] { Apply(); });
    for (CommSheetPage* page :
         std::initializer_list<CommSheetPage*>{new CMacroPage(registry, prompt, service),
                                               new CAutoMacroPage(registry, prompt, service)})
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

    fillServices(*service_, model_.Services(), service);

    connectListPage(
        *this, model_, {service_, list_, edit_, add, remove},
        [this](Record& record) { return editRecord(record); }, [this] { showRows(); });
    list_->checkToggled = [this](size_t row, bool on) { model_.SetOn(row, on); };
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });

    layOutListPage(*this, service_, list_, {edit_, add, remove});
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

CMacroPage::CMacroPage(Registry& registry, Prompt& prompt, const std::string& service)
    : CommSheetPage(MacroPage::kTitle),
      model_(registry, prompt, service),
      prompt_(prompt),
      service_(named(new QComboBox, "keyService")),
      list_(
          named(new CommandList(MacroPage::kColumns, {MacroPage::kNameWidth, MacroPage::kKeyWidth}),
                "keyMacros")),
      edit_(named(new QPushButton(MacroPage::kButtons[0]), "keyEdit")),
      remove_(named(new QPushButton(MacroPage::kButtons[2]), "keyDelete")) {
    auto* add = named(new QPushButton(MacroPage::kButtons[1]), "keyAdd");
    for (QPushButton* button : {edit_, add, remove_})
        list_->RegisterButton(button);
    fillServices(*service_, model_.Services(), service);

    connectListPage(
        *this, model_, {service_, list_, edit_, add, remove_},
        [this](MacroRow& row) { return MacroDialog::Edit(row, prompt_, this); },
        [this] { showRows(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    layOutListPage(*this, service_, list_, {add, remove_, edit_});
    showRows();
}

void CMacroPage::showRows() {
    list_->clear();
    for (const MacroRow& row : model_.Rows())
        list_->AddRow(
            {fromStored(row.name), QString::fromStdString(row.keyText), fromStored(row.contents)});
    updateButtons();
}

void CMacroPage::updateButtons() {
    const size_t selected = list_->SelectedRows().size();
    edit_->setEnabled(selected == 1);
    remove_->setEnabled(selected >= 1);
}

void CMacroPage::Apply() {
    if (!model_.Apply()) prompt_.tell("매크로를 저장하지 못했습니다.", PromptIcon::Warning);
}
