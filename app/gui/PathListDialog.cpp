#include "app/gui/PathListDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "app/gui/StoredText.h"

PathListDialog::PathListDialog(const QString& title, const char* columns,
                               std::vector<NamedPath> rows, Store store, Prompt& prompt,
                               QWidget* parent)
    : QDialog(parent),
      loaded_(std::move(rows)),
      store_(std::move(store)),
      prompt_(prompt),
      list_(named(new QTreeWidget, "list")),
      buttons_(new QHBoxLayout) {
    setWindowTitle(title);
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels(QString(columns).split('\t'));
    for (const NamedPath& row : loaded_)
        list_->addTopLevelItem(new QTreeWidgetItem(
            QStringList{QString::fromStdString(row.name), QString::fromStdString(row.path)}));
    list_->resizeColumnToContents(0);
    list_->setMinimumWidth(480);
    buttons_->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons_);
    layout->addWidget(OkCancelButtons(this));
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!rowButtons_.empty()) static_cast<QPushButton*>(rowButtons_.front())->click();
    });
}

void PathListDialog::AddRowButton(const QString& text, std::function<void(int row)> act) {
    auto* button = new QPushButton(text);
    connect(button, &QPushButton::clicked, this, [this, act = std::move(act)] {
        const int row = list_->indexOfTopLevelItem(list_->currentItem());
        if (row >= 0) act(row);
    });
    buttons_->insertWidget(buttons_->count() - 1, button);
    rowButtons_.push_back(button);
    updateButtons();
}

int PathListDialog::Rows() const {
    return list_->topLevelItemCount();
}

std::string PathListDialog::Path(int row) const {
    return list_->topLevelItem(row)->text(1).toStdString();
}

bool PathListDialog::SetPath(int row, const std::string& path) {
    const QString text = QString::fromStdString(path);
    if (!storableName(text)) {
        prompt_.tell(QString(kUnstorableNameText).arg(text).toStdString(), PromptIcon::Warning);
        return false;
    }
    list_->topLevelItem(row)->setText(1, text);
    return true;
}

std::vector<NamedPath> PathListDialog::Chosen() const {
    std::vector<NamedPath> chosen = loaded_;
    for (int row = 0; row < Rows(); ++row)
        chosen[row].path = Path(row);
    return chosen;
}

void PathListDialog::accept() {
    if (!store_(loaded_, Chosen()))
        prompt_.tell("설정의 일부를 저장하지 못했습니다.", PromptIcon::Warning);
    QDialog::accept();
}

void PathListDialog::updateButtons() {
    for (QWidget* button : rowButtons_)
        button->setEnabled(list_->currentItem() != nullptr);
}
