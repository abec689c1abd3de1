#pragma once
// The board pane of the Go window: the board document painted through BoardPainter, the point
// under the mouse framed, a left click played and the right button's menu of game commands.
#include <QWidget>
#include <memory>

#include "baduk/BoardPainter.h"
#include "baduk/ServiceCommands.h"
#include "baduk/gui/BadukWindows.h"
#include "term/OutlineGlyphs.h"

class CBadukDoc;
class QMenu;

class CBadukView : public QWidget {
public:
    CBadukView(CBadukDoc& doc, const BadukWindowServices& services, int cellSize, QWidget* parent);
    ~CBadukView() override;

    // The document was reset: everything is painted again.
    void ResetDocument();
    bool Numbering() const { return numbering_; }
    TWPoint Hovered() const { return hovered_; }
    // The popup's menu for the point under the cursor (the caller owns it).
    QMenu* MakeMenu();
    void RunMenuItem(BadukMenuItem item);
    QSize sizeHint() const override { return {painter_.Width(), painter_.Height()}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void setHovered(TWPoint point);
    void updatePoint(TWPoint point);
    void setNumbering(bool on);
    std::string downloadFolder() const;

    CBadukDoc& doc_;
    BadukWindowServices services_;
    OutlineGlyphs arial_{"Arial"};
    BoardPainter painter_;
    Surface surface_;
    TWPoint hovered_{-1, -1};
    bool numbering_;
};
