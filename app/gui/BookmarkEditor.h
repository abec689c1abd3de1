#pragma once
// "책갈피 편집": a service's bookmarks in the shared command list with their icons, locations
// and visit times, edited through the record dialog and stored by OK.
#include <QDialog>
#include <string>

#include "auto/BookmarkPage.h"

class CommandList;
class QComboBox;
class QPushButton;

class BookmarkEditor : public QDialog {
public:
    BookmarkEditor(Registry& registry, Prompt& prompt, const std::string& service,
                   QWidget* parent = nullptr);
    const BookmarkPage& Model() const { return model_; }
    // Stores the list when it was modified; a store that fails keeps the dialog open.
    void accept() override;

private:
    void showRows();
    void updateButtons();
    void deselectReadOnly();

    BookmarkPage model_;
    Prompt& prompt_;
    QComboBox* service_;
    CommandList* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* edit_;
};

// Opens the editor over parent on the service; true when it was closed with OK.
bool EditBookmarks(Registry& registry, Prompt& prompt, const std::string& service, QWidget* parent);
