#include "app/gui/EntryIconDialog.h"

#include <QDialog>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "link/EntryIcons.h"

QIcon EntryIcon(const Record& record) {
    return QIcon(QString::fromStdString(EntryIconPath(record)));
}

std::optional<int> ChooseEntryIcon(QWidget* parent, int current) {
    QDialog dialog(parent);
    dialog.setWindowTitle("아이콘 변경");
    auto* icons = named(new QListWidget, "icons");
    icons->setViewMode(QListView::IconMode);
    icons->setIconSize(QSize(32, 32));
    icons->setMovement(QListView::Static);
    for (int i = 0; i < kEntryIconCount; ++i)
        icons->addItem(new QListWidgetItem(QIcon(QString::fromStdString(EntryIconPath(i))), ""));
    icons->setCurrentRow(current >= 0 && current < kEntryIconCount ? current : 0);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(icons);
    layout->addWidget(OkCancelButtons(&dialog));
    QObject::connect(icons, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || icons->currentRow() < 0) return std::nullopt;
    return icons->currentRow();
}
