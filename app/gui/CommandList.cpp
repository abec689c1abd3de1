#include "app/gui/CommandList.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <algorithm>

CommandList::CommandList(const QString& columns, const std::vector<int>& widths, QWidget* parent)
    : QTreeWidget(parent) {
    setHeaderLabels(columns.split('\t'));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    const int average = fontMetrics().averageCharWidth();
    for (size_t i = 0; i < widths.size(); ++i)
        setColumnWidth(static_cast<int>(i), widths[i] * average + 2 * average);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (filling_ || column != 0 || !checkToggled) return;
        checkToggled(static_cast<size_t>(indexOfTopLevelItem(item)),
                     item->checkState(0) == Qt::Checked);
    });
}

void CommandList::RegisterButton(QPushButton* button) {
    buttons_.push_back(button);
}

void CommandList::AddRow(const QStringList& texts, bool checked) {
    filling_ = true;
    auto* item = new QTreeWidgetItem(texts);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    addTopLevelItem(item);
    filling_ = false;
}

void CommandList::AddRow(const QStringList& texts) {
    addTopLevelItem(new QTreeWidgetItem(texts));
}

bool CommandList::Checked(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->checkState(0) == Qt::Checked;
}

std::vector<size_t> CommandList::SelectedRows() const {
    std::vector<size_t> rows;
    for (QTreeWidgetItem* item : selectedItems())
        rows.push_back(static_cast<size_t>(indexOfTopLevelItem(item)));
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::unique_ptr<QMenu> CommandList::ContextMenuAt(const QPoint& point) {
    // A row not yet selected becomes the selection; a right-click inside a selection keeps it.
    QTreeWidgetItem* item = itemAt(point);
    if (item && !item->isSelected()) {
        clearSelection();
        item->setSelected(true);
        setCurrentItem(item);
    }
    auto menu = std::make_unique<QMenu>(this);
    for (QPushButton* button : buttons_) {
        QAction* action = menu->addAction(button->text());
        action->setEnabled(button->isEnabled());
        connect(action, &QAction::triggered, button, &QPushButton::click);
    }
    return menu;
}

void CommandList::contextMenuEvent(QContextMenuEvent* event) {
    ContextMenuAt(event->pos())->exec(event->globalPos());  // pos: in the viewport
}

void CommandList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (doubleClicked) doubleClicked(SelectedRows());
}
