#include "app/gui/ListPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "app/gui/StoredText.h"

void fillServices(QComboBox& box, std::vector<std::string> services, const std::string& first) {
    if (std::find(services.begin(), services.end(), first) == services.end())
        services.insert(services.begin(), first);
    for (const std::string& name : services)
        box.addItem(fromStored(name), QByteArray::fromStdString(name));
    box.setCurrentIndex(box.findData(QByteArray::fromStdString(first)));
}

std::string chosenService(const QComboBox& box) {
    return box.currentData().toByteArray().toStdString();
}

void layOutListPage(QWidget& page, QComboBox* service, CommandList* list,
                    std::initializer_list<QPushButton*> buttons) {
    auto* selector = new QFormLayout;
    selector->addRow("통신망 종류(&B):", service);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    auto* layout = new QVBoxLayout(&page);
    layout->addLayout(selector);
    layout->addWidget(list);
    layout->addLayout(row);
}
