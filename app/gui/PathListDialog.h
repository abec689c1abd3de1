#pragma once
// A settings dialog that lists names with a file or folder each (two columns, as "  폴더\t위치"
// gives them), with buttons under the list that act on the selected row, and OK / Cancel.
// Paths are UTF-8; the dialog checks that the store can keep a path the user picks, and OK
// hands the rows as loaded and as chosen to the store function.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/gui/PathSettings.h"
#include "platform/Prompt.h"

class QHBoxLayout;
class QTreeWidget;

class PathListDialog : public QDialog {
public:
    using Store = std::function<bool(const std::vector<NamedPath>& loaded,
                                     const std::vector<NamedPath>& chosen)>;

    PathListDialog(const QString& title, const char* columns, std::vector<NamedPath> rows,
                   Store store, Prompt& prompt, QWidget* parent = nullptr);

    // A button under the list, enabled while a row is selected; `act` gets the row.
    void AddRowButton(const QString& text, std::function<void(int row)> act);
    QTreeWidget* List() const { return list_; }
    int Rows() const;
    std::string Path(int row) const;
    // Shows `path` for the row; false (and the user told) when the store could not keep it.
    bool SetPath(int row, const std::string& path);
    std::vector<NamedPath> Chosen() const;
    void accept() override;

private:
    void updateButtons();

    std::vector<NamedPath> loaded_;
    Store store_;
    Prompt& prompt_;
    QTreeWidget* list_;
    QHBoxLayout* buttons_;
    std::vector<QWidget*> rowButtons_;
};
