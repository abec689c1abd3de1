#include "app/gui/BookmarkEditor.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/BookmarkDialog.h"
#include "app/gui/CommandList.h"
#include "app/gui/DialogButtons.h"
#include "app/gui/EntryIconDialog.h"
#include "app/gui/ListPage.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "auto/Bookmarks.h"

BookmarkEditor::BookmarkEditor(Registry& registry, Prompt& prompt, const std::string& service,
                               QWidget* parent)
    : QDialog(parent),
      model_(registry, prompt, service),
      prompt_(prompt),
      service_(named(new QComboBox, "service")),
      list_(named(new CommandList(BookmarkPage::kColumns,
                                  {BookmarkPage::kNameWidth, BookmarkPage::kLocationWidth,
                                   BookmarkPage::kTimeWidth}),
                  "bookmarks")),
      add_(named(new QPushButton(BookmarkPage::kButtons[0]), "add")),
      remove_(named(new QPushButton(BookmarkPage::kButtons[1]), "delete")),
      edit_(named(new QPushButton(BookmarkPage::kButtons[2]), "edit")) {
    setWindowTitle(BookmarkPage::kCaption);
    setModal(true);
    for (QPushButton* button : {add_, remove_, edit_})
        list_->RegisterButton(button);
    fillServices(*service_, model_.Services(), service);
    // Read-only rows leave the selection before the delete button acts on it.
    connect(remove_, &QPushButton::pressed, this, [this] { deselectReadOnly(); });
    connectListPage(
        *this, model_, {service_, list_, edit_, add_, remove_},
        [this](Record& bookmark) { return BookmarkDialog::Edit(bookmark, prompt_, this); },
        [this] { showRows(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    layOutListPage(*this, service_, list_, {add_, remove_, edit_});
    static_cast<QVBoxLayout*>(layout())->addWidget(OkCancelButtons(this));
    showRows();
}

void BookmarkEditor::showRows() {
    list_->clear();
    for (const Record& bookmark : model_.Rows()) {
        list_->AddRow({fromStored(BookmarkField(bookmark, "Title")),
                       fromStored(BookmarkField(bookmark, "Location")),
                       QString::fromStdString(VisitTimeText(bookmark))});
        list_->topLevelItem(list_->topLevelItemCount() - 1)->setIcon(0, EntryIcon(bookmark));
    }
    updateButtons();
}

void BookmarkEditor::updateButtons() {
    const size_t selected = list_->SelectedRows().size();
    edit_->setEnabled(selected == 1);
    remove_->setEnabled(selected >= 1);
}

void BookmarkEditor::deselectReadOnly() {
    for (size_t row : list_->SelectedRows())
        if (BookmarkReadOnly(model_.Rows()[row]))
            list_->topLevelItem(static_cast<int>(row))->setSelected(false);
}

void BookmarkEditor::accept() {
    if (!model_.Save()) {
        prompt_.tell("책갈피를 저장하지 못했습니다.", PromptIcon::Warning);
        return;
    }
    QDialog::accept();
}

bool EditBookmarks(Registry& registry, Prompt& prompt, const std::string& service,
                   QWidget* parent) {
    BookmarkEditor editor(registry, prompt, service, parent);
    return editor.exec() == QDialog::Accepted;
}
