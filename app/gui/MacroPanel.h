#pragma once
// The icon panel's page "매크로": one button per keyboard macro of the session's current
// service, named by its tool tip; a click runs the macro.
#include <QWidget>
#include <string>

class CQuillonDoc;
class QVBoxLayout;

class MacroPanel : public QWidget {
public:
    explicit MacroPanel(QWidget* parent = nullptr);
    // Shows the session's macros (none without a session).
    void Show(CQuillonDoc* doc);
    // "%s 매크로를 실행합니다." with the name (CP949).
    static QString ToolTip(const std::string& name);

private:
    QVBoxLayout* macros_;
};
