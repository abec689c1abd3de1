// The view's mouse: selecting with the left button (scrolling while the pointer is above or
// below the window), a double click sending CR, Shift+double click sending the row, the middle
// button pasting PRIMARY, the wheel through the scroll-back, and the pointer offered to the
// smart mouse.
#include <QMouseEvent>
#include <QWheelEvent>

#include "app/gui/CQuillonView.h"
#include "link/CQuillonDoc.h"
#include "term/CopyText.h"

namespace {

constexpr int kWheelStep = 120;   // one notch of a common wheel
constexpr int kLinesPerStep = 3;  // lines scrolled per notch

}  // namespace

// The cell boundary nearest the pointer on the row under it; rows above or below the window
// give its first or last row.
TWCell CQuillonView::cellAt(QPoint pixel) const {
    const int cw = fonts_.CellWidth(), lh = fonts_.LineHeight();
    const int row = std::clamp(pixel.y() < 0 ? -1 : pixel.y() / lh, 0, Rows() - 1);
    return {topRow() + row, std::clamp((pixel.x() + cw / 2) / cw, 0, TWView::kColumns)};
}

void CQuillonView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ControlModifier)) {
        selection_.Start(cellAt(event->position().toPoint()));
        redraw();
    } else if (event->button() == Qt::MiddleButton) {
        PasteFrom(QClipboard::Selection);
    }
}

void CQuillonView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    offerPointer(at);
    if (!selection_.Dragging()) return;
    selection_.Extend(cellAt(at));
    dragPoint_ = at;
    const bool outside = at.y() < 0 || at.y() >= Rows() * fonts_.LineHeight();
    if (outside && !dragTimer_.isActive()) dragTimer_.start();
    if (!outside) dragTimer_.stop();
    redraw();
}

// A selection dragged above or below the window scrolls the view a line at a time.
void CQuillonView::dragScroll() {
    if (!selection_.Dragging()) {
        dragTimer_.stop();
        return;
    }
    ScrollBy(dragPoint_.y() < 0 ? -1 : 1);
    selection_.Extend(cellAt(dragPoint_));
}

void CQuillonView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selection_.Dragging()) return;
    dragTimer_.stop();
    if (selection_.Finish()) {
        const TWCell first = selection_.First(), last = selection_.Last();
        const std::string text =
            ::CopySelection(*this, first.column, first.row, last.column, last.row);
        putOnPrimary(text);
        if (first.row == last.row) selectItem(text);
        if (modes_.autoCopy) {
            CopySelection();
            selection_.Clear();
        }
    }
    redraw();
}

// A selection within one row (CP949) is what the session's article commands act on.
void CQuillonView::selectItem(const std::string& text) {
    if (!doc_) return;
    doc_->SetSelectedItem(text);
    if (itemSelected) itemSelected();
}

void CQuillonView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !doc_) return;
    if (event->modifiers() & Qt::ShiftModifier) {
        sendRowText(event->position().toPoint());
    } else {
        doc_->SendByte(kCR);
    }
}

// The clicked row without its trailing blanks, to the chat-room line while it is active, else
// to the host.
void CQuillonView::sendRowText(QPoint pixel) {
    const uint8_t* row = CharRow(cellAt(pixel).row);
    int end = TWView::kColumns;
    while (end > 0 && row[end - 1] == ' ')
        --end;
    const std::string text(reinterpret_cast<const char*>(row), end);
    if (chatLineText && chatLineText(text)) return;
    doc_->SendText(text);
}

void CQuillonView::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / kWheelStep;
    wheelRest_ -= steps * kWheelStep;
    if (steps != 0) ScrollBy(-steps * kLinesPerStep);
    event->accept();
}

// With the smart mouse on, the recogniser may highlight the screen item under the pointer.
void CQuillonView::offerPointer(QPoint pixel) {
    if (!modes_.smartMouse || !smartMouseItem) return;
    const TWCell cell = cellAt(pixel);
    const QRect item = smartMouseItem(
        {std::min(pixel.x() / fonts_.CellWidth(), TWView::kColumns - 1), cell.row - topRow()});
    if (item == smartItem_) return;
    smartItem_ = item;
    redraw();
}

// The highlight goes with the pointer.
void CQuillonView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (smartItem_.isEmpty()) return;
    smartItem_ = {};
    redraw();
}
