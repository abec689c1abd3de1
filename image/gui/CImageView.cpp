#include "image/gui/CImageView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

CImageView::CImageView(ImageDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setBackgroundRole(QPalette::Window);
    doc_.SetObserver(this);
    if (doc_.DecodePending()) OnInputQueued();
}

CImageView::~CImageView() {
    doc_.SetObserver(nullptr);
    setWaitCursor(false);
}

QImage CImageView::PictureImage() const {
    const Surface* picture = doc_.Picture();
    if (!picture || picture->empty()) return {};
    return QImage(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width,
                  picture->height, picture->width * 4, QImage::Format_RGB32)
        .copy();
}

void CImageView::OnPictureSize(int width, int height, bool progressive) {
    progressive_ = progressive;
    rows_ = 0;
    updateScrollBars();
    if (onPictureSize) onPictureSize(QSize(width, height));
    viewport()->update();
}

// The window colour before the first rows is the surface's fill; a progressive picture gets
// the wait cursor while it is decoded.
bool CImageView::OnPictureRows(int first, int count) {
    if (closing_) return true;
    if (progressive_) setWaitCursor(true);
    rows_ = std::max(rows_, first + count);
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    viewport()->update(QRect(origin.x(), origin.y() + first, viewport()->width(), count));
    return true;
}

void CImageView::OnInputQueued() {
    if (sliceScheduled_) return;
    sliceScheduled_ = true;
    QTimer::singleShot(0, this, [this] { decodeSlice(); });
}

void CImageView::OnTransferEnded() {
    viewport()->update();
}

void CImageView::decodeSlice() {
    sliceScheduled_ = false;
    if (doc_.DecodeSlice(ImageDoc::kSliceMs)) {
        OnInputQueued();
        return;
    }
    setWaitCursor(false);
    complete_ = doc_.Feed() && doc_.Feed()->Stopped();
    viewport()->update();
}

void CImageView::setWaitCursor(bool on) {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    on ? viewport()->setCursor(Qt::WaitCursor) : viewport()->unsetCursor();
}

void CImageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const Surface* picture = doc_.Picture();
    if (doc_.Undecodable() || !picture || picture->empty()) {
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        const QString text = QString::fromStdString(
            doc_.Undecodable() && doc_.Feed() ? doc_.Feed()->FailureText() : "이미지 전송중입니다");
        painter.drawText(viewport()->rect(), Qt::AlignCenter, text);
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width,
                       picture->height, picture->width * 4, QImage::Format_RGB32);
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    painter.drawImage(QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value()),
                      image);
}

void CImageView::updateScrollBars() {
    const Surface* picture = doc_.Picture();
    const QSize size = picture ? QSize(picture->width, picture->height) : QSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, size.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
}

void CImageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CImageView::scrollContentsBy(int, int) {
    viewport()->update();
}

// Opened at the mouse, 10 pixels left and 7 down.
void CImageView::contextMenuEvent(QContextMenuEvent* event) {
    if (!fillMenu) return;
    QMenu menu(this);
    fillMenu(menu);
    menu.exec(event->globalPos() + QPoint(-10, 7));
}

// A palette change repaints with the picture's colours.
void CImageView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) viewport()->update();
}
