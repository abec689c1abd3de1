#pragma once
// The list of the settings pages that keep one record per row (auto macros, log-in IDs,
// keyboard macros, bookmarks): report style, with a check box in each row where the page has
// one. Its owner registers its command buttons in order, hidden ones too; a right-click selects
// the row under the cursor and offers one menu entry per registered button, labelled and
// enabled as the button is, that clicks it.
#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QPushButton;

class CommandList : public QTreeWidget {
public:
    // columns: the header texts joined by tabs; widths: the first columns' widths in average
    // characters (the last column takes the rest).
    CommandList(const QString& columns, const std::vector<int>& widths, QWidget* parent = nullptr);

    void RegisterButton(QPushButton* button);
    // Appends a row: one text per column, and whether the row's box is ticked.
    void AddRow(const QStringList& texts, bool checked);
    // Appends a row without a box.
    void AddRow(const QStringList& texts);
    bool Checked(int row) const;
    // The selected rows, in display order.
    std::vector<size_t> SelectedRows() const;

    // The user ticked or cleared the box of a row.
    std::function<void(size_t row, bool checked)> checkToggled;
    // A double-click, on a row or beside the rows, with the rows selected then.
    std::function<void(const std::vector<size_t>& selected)> doubleClicked;

    // The right-click menu for a point of the list's viewport (what a right-click opens).
    std::unique_ptr<QMenu> ContextMenuAt(const QPoint& point);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<QPushButton*> buttons_;
    bool filling_ = false;  // rows being added: their boxes are not the user's doing
};
