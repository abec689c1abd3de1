#include "app/gui/CommandMenus.h"

#include <QKeySequence>

#include "app/CommandTable.h"

CommandMenus::CommandMenus(QWidget* owner) : popup_(new QMenu("메뉴(&U)", owner)) {
    std::map<MenuGroup, QMenu*> byGroup;
    for (const MenuTitle& title : menuTitles()) {
        auto* menu = new QMenu(QString::fromStdString(title.text), owner);
        byGroup[title.group] = menu;
        menus_.push_back(menu);
        popup_->addMenu(menu);
    }
    for (const Command& c : commandTable()) {
        auto* action = new QAction(QString::fromStdString(c.text), owner);
        action->setStatusTip(QString::fromStdString(c.status));
        action->setToolTip(QString::fromStdString(c.tip));
        action->setIconText(QString::fromStdString(c.tip));  // a tool-bar button's text
        action->setCheckable(c.checkable);
        if (!c.shortcut.empty()) {
            action->setShortcut(QKeySequence(QString::fromStdString(c.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        action->setData(c.id);
        owner->addAction(action);  // shortcuts work with the menu bar hidden too
        QMenu* menu = byGroup.at(c.group);
        if (c.separatorBefore) menu->addSeparator();
        menu->addAction(action);
        actions_[c.id] = action;
    }
}

QAction* CommandMenus::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}
