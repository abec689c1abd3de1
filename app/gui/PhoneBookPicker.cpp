#include "app/gui/PhoneBookPicker.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"

PhoneBookPicker::PhoneBookPicker(const IniFile& hosts, const std::string& service, QWidget* parent)
    : QDialog(parent),
      groups_(PhoneBookGroups(hosts, service)),
      tree_(named(new QTreeWidget, "phoneBook")) {
    setWindowTitle("전화번호부");
    tree_->setHeaderHidden(true);
    tree_->setMinimumSize(320, 300);
    for (const PhoneBookGroup& group : groups_) {
        auto* top = new QTreeWidgetItem(tree_, {QString::fromStdString(group.title)});
        for (const PhoneBookItem& item : group.items) {
            auto* row = new QTreeWidgetItem(top, {QString::fromStdString(item.text)});
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            row->setCheckState(0, Qt::Unchecked);
        }
        top->setExpanded(!group.items.empty());
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addWidget(OkCancelButtons(this));
}

std::vector<PhoneRecord> PhoneBookPicker::Chosen() const {
    std::vector<PhoneRecord> chosen;
    for (size_t g = 0; g < groups_.size(); ++g) {
        QTreeWidgetItem* top = tree_->topLevelItem(static_cast<int>(g));
        for (size_t i = 0; i < groups_[g].items.size(); ++i)
            if (top->child(static_cast<int>(i))->checkState(0) == Qt::Checked)
                chosen.push_back(groups_[g].items[i].record);
    }
    return chosen;
}
