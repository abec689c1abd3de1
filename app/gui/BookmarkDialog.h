#pragma once
// "%s 책갈피 등록 정보": one bookmark's name, location, last visit and icon. A read-only
// bookmark shows its name and location locked.
#include <QDialog>

#include "auto/CRecordStore.h"
#include "platform/Prompt.h"

class QLineEdit;
class QPushButton;

class BookmarkDialog : public QDialog {
public:
    BookmarkDialog(const Record& bookmark, Prompt& prompt, QWidget* parent = nullptr);
    // The bookmark as OK left it; the fields the dialog does not show are kept.
    const Record& Result() const { return bookmark_; }
    // Refuses a bookmark without a name or a location, saying which is missing.
    void accept() override;

    // Edits the bookmark in a dialog over parent; false when cancelled.
    static bool Edit(Record& bookmark, Prompt& prompt, QWidget* parent);

private:
    void chooseIcon();

    Record bookmark_;
    Prompt& prompt_;
    QLineEdit* title_;
    QLineEdit* location_;
    QPushButton* icon_;
};
