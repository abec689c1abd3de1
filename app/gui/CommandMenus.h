#pragma once
// The window's menus and actions, built from the command table: one QAction per command with its
// text, status text, tool tip, shortcut and check mark, gathered in the top-level menus, and the
// whole main menu once more as one pop-up ("메뉴(&U)") for a window without its menu bar.
#include <QAction>
#include <QMenu>
#include <map>
#include <vector>

class CommandMenus {
public:
    // The actions belong to `owner`, whose shortcuts they become.
    explicit CommandMenus(QWidget* owner);

    QAction* Action(int id) const;
    const std::map<int, QAction*>& Actions() const { return actions_; }
    // The top-level menus in menu-bar order.
    const std::vector<QMenu*>& Menus() const { return menus_; }
    // "메뉴(&U)": the top-level menus as its submenus.
    QMenu* Popup() const { return popup_; }

private:
    std::map<int, QAction*> actions_;
    std::vector<QMenu*> menus_;
    QMenu* popup_;
};
