#include "app/gui/BookmarkDialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/gui/DialogButtons.h"
#include "app/gui/EntryIconDialog.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"
#include "auto/BookmarkPage.h"
#include "auto/Bookmarks.h"
#include "platform/StoredValues.h"

BookmarkDialog::BookmarkDialog(const Record& bookmark, Prompt& prompt, QWidget* parent)
    : QDialog(parent),
      bookmark_(bookmark),
      prompt_(prompt),
      title_(named(new QLineEdit(fromStored(BookmarkField(bookmark, "Title"))), "title")),
      location_(named(new QLineEdit(fromStored(BookmarkField(bookmark, "Location"))), "location")),
      icon_(named(new QPushButton("아이콘 변경(&C)..."), "icon")) {
    setWindowTitle(QString::fromStdString(BookmarkPage::RecordCaption(bookmark)));
    const bool locked = BookmarkReadOnly(bookmark);
    title_->setReadOnly(locked);
    location_->setReadOnly(locked);
    icon_->setIcon(EntryIcon(bookmark_));
    auto* visit = named(new QLabel(QString::fromStdString(VisitTimeText(bookmark))), "visit");
    auto* form = new QFormLayout(this);
    form->addRow("이름(&N):", title_);
    form->addRow("위치(&L):", location_);
    form->addRow("방문시간:", visit);
    form->addRow("", icon_);
    form->addRow(OkCancelButtons(this));
    connect(icon_, &QPushButton::clicked, this, [this] { chooseIcon(); });
}

// A chosen icon of the set replaces an imported icon file.
void BookmarkDialog::chooseIcon() {
    if (std::optional<int> index =
            ChooseEntryIcon(this, parseDecimal(BookmarkField(bookmark_, "IconIndex")))) {
        bookmark_["IconIndex"] = std::to_string(*index);
        bookmark_["IconFile"] = "";
        icon_->setIcon(EntryIcon(bookmark_));
    }
}

void BookmarkDialog::accept() {
    Record edited = bookmark_;
    edited["Title"] = toStored(title_->text().trimmed());
    edited["Location"] = toStored(location_->text().trimmed());
    if (std::optional<std::string> refusal = BookmarkPage::CheckRecord(edited)) {
        prompt_.tell(*refusal, PromptIcon::Warning);
        (edited["Title"].empty() ? title_ : location_)->setFocus();
        return;
    }
    bookmark_ = std::move(edited);
    QDialog::accept();
}

bool BookmarkDialog::Edit(Record& bookmark, Prompt& prompt, QWidget* parent) {
    BookmarkDialog dialog(bookmark, prompt, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    bookmark = dialog.Result();
    return true;
}
