#include "app/gui/BookmarkPanel.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/gui/EntryIconDialog.h"
#include "app/gui/StoredText.h"
#include "auto/Bookmarks.h"
#include "link/CQuillonDoc.h"

BookmarkPanel::BookmarkPanel(QWidget* parent) : QWidget(parent), bookmarks_(new QVBoxLayout(this)) {
    bookmarks_->setContentsMargins(0, 0, 0, 0);
    bookmarks_->setSpacing(0);
    bookmarks_->addWidget(new QLabel("책갈피"));
}

void BookmarkPanel::Show(CQuillonDoc* doc) {
    // A click on a button comes here through the visit it records: the button goes once its
    // signal has returned.
    for (QToolButton* button : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        button->hide();
        button->deleteLater();
    }
    if (!doc) return;
    const std::vector<Record>& bookmarks = doc->Bookmarks();
    for (size_t i = 0; i < bookmarks.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setText(fromStored(BookmarkField(bookmarks[i], "Title")));
        button->setToolTip(fromStored(BookmarkField(bookmarks[i], "Location")));
        button->setIcon(EntryIcon(bookmarks[i]));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);  // the panel's width
        connect(button, &QToolButton::clicked, this, [doc, i] { doc->GoBookmark(i); });
        bookmarks_->addWidget(button);
    }
}
