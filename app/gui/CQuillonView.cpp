#include "app/gui/CQuillonView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>

#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"

CQuillonView::CQuillonView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    ApplyScreenSettings(settings_);
}

CQuillonView::~CQuillonView() = default;

void CQuillonView::ApplyScreenSettings(const ScreenSettings& settings) {
    settings_ = settings;
    fonts_.Configure(settings);
    painter_.SetPalette(
        MakePalette(settings.sysColor, settings.sysColor ? DesktopColors() : SystemColors{}));
    painter_.SetWallpaper(
        settings.wallPaper.empty() ? QImage() : QImage(QString::fromStdString(settings.wallPaper)));
    painter_.SetDesktopBackground(settings.desktopBkGnd);
    SetRows(settings.rows);
    SetDefaultColors(settings.textColor, settings.bkColor);
    scroll_.SetVisibleRows(Rows());
    damaged_ = true;
    updateGeometry();
    if (sizeWanted) sizeWanted(CellAreaSize());
    update();
}

QSize CQuillonView::CellAreaSize() const {
    return {TWView::kColumns * fonts_.CellWidth(), Rows() * fonts_.LineHeight()};
}

void CQuillonView::OnDamaged() {
    damaged_ = true;
}

void CQuillonView::OnTextShifted(int rows) {
    scroll_.Shift(rows, *this);
    selection_.Shift(rows);
}

void CQuillonView::FlushDamage() {
    if (!damaged_) return;
    update();
}

void CQuillonView::ScrollToBottom() {
    if (scroll_.AtBottom()) return;
    scroll_.ToBottom();
    damaged_ = true;
    update();
}

void CQuillonView::OnLineReady(bool partial) {
    if (doc_) doc_->LineReady(partial);
}

void CQuillonView::paintInto(QImage& image) {
    const QSize size = CellAreaSize();
    if (image.size() != size) image = QImage(size, QImage::Format_RGB32);
    PaintRequest request;
    request.topRow = scroll_.AtBottom() ? ScreenTop() : scroll_.TopRow();
    request.rows = Rows();
    request.selection = &selection_;
    request.caret = scroll_.AtBottom() && CaretVisible() && hasFocus();
    painter_.Paint(image, *this, request);
}

QImage CQuillonView::Picture() {
    paintInto(image_);
    return image_;
}

void CQuillonView::paintEvent(QPaintEvent*) {
    if (damaged_) {
        ClearDamage();
        damaged_ = false;
    }
    paintInto(image_);
    QPainter p(this);
    p.drawImage(0, 0, image_);
    const QColor background = QColor::fromRgb(MakePalette(false, {})[DefaultAttribute() >> 4]);
    if (width() > image_.width())
        p.fillRect(image_.width(), 0, width() - image_.width(), height(), background);
    if (height() > image_.height())
        p.fillRect(0, image_.height(), width(), height() - image_.height(), background);
}

void CQuillonView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    damaged_ = true;
}

void CQuillonView::keyPressEvent(QKeyEvent* event) {
    if (!doc_) return;
    ScrollToBottom();
    const std::string text = event->text().toStdString();
    for (char c : utf8ToCp949Lossy(text))
        doc_->SendByte(static_cast<uint8_t>(c));
}

void CQuillonView::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenuWanted) contextMenuWanted(event->globalPos());
}
