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
#include "app/gui/ListPage.h"
#include "app/gui/MacroDialog.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"

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
