#pragma once
// What the settings lists that keep one record per row share (keyboard and auto macros,
// bookmarks): the service selector above the list, the buttons below it, and the buttons and
// double-click acting on the page's model.
#include <QComboBox>
#include <QObject>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "app/gui/CommandList.h"

// The services to choose from, with the first one chosen even when it is not stored.
void fillServices(QComboBox& box, std::vector<std::string> services, const std::string& first);
std::string chosenService(const QComboBox& box);

// The service selector above the list, the buttons below it on the right.
void layOutListPage(QWidget& page, QComboBox* service, CommandList* list,
                    std::initializer_list<QPushButton*> buttons);

struct ListPageControls {
    QComboBox* service;
    CommandList* list;
    QPushButton *edit, *add, *remove;
};

// The service selector, the buttons and the double-click acting on the page model; `shown`
// redraws the rows afterwards.
template <class Model, class Dialog>
void connectListPage(QWidget& page, Model& model, const ListPageControls& c, Dialog dialog,
                     std::function<void()> shown) {
    QObject::connect(c.service, &QComboBox::currentIndexChanged, &page, [&model, c, shown] {
        model.SelectService(chosenService(*c.service));
        shown();
    });
    QObject::connect(c.edit, &QPushButton::clicked, &page, [&model, c, dialog, shown] {
        const std::vector<size_t> selected = c.list->SelectedRows();
        if (selected.size() == 1) model.Edit(selected[0], dialog);
        shown();
    });
    QObject::connect(c.add, &QPushButton::clicked, &page, [&model, dialog, shown] {
        model.Add(dialog);
        shown();
    });
    QObject::connect(c.remove, &QPushButton::clicked, &page, [&model, c, shown] {
        model.Delete(c.list->SelectedRows());
        shown();
    });
    c.list->doubleClicked = [&model, dialog, shown](const std::vector<size_t>& selected) {
        model.DoubleClick(selected, dialog);
        shown();
    };
}
