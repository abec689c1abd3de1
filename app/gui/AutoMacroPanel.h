#pragma once
// The icon panel's auto-macro page: one check button per rule of the session's current list,
// ticked while the rule is on, named by its tool tip; a click switches the rule on or off.
#include <QWidget>
#include <string>

class CQuillonDoc;
class QVBoxLayout;

class AutoMacroPanel : public QWidget {
public:
    explicit AutoMacroPanel(QWidget* parent = nullptr);
    // Shows the rules of the session's list (none without a session).
    void Show(CQuillonDoc* doc);
    // "%s 자동 매크로를 끄거나 켭니다." with the title (CP949) in double quotes.
    static QString ToolTip(const std::string& title);

private:
    QVBoxLayout* rules_;
};
