// The view's settings, modes, scroll-back and painting. Keys, the input method, the mouse and
// the clipboard are in the CQuillonView*.cpp files beside this one.
#include "app/gui/CQuillonView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QPainter>

#include "app/gui/VideotexPane.h"
#include "link/CQuillonDoc.h"
#include "platform/EventLoop.h"
#include "vtx/VtxImage.h"

CQuillonView::CQuillonView(QWidget* parent)
    : QWidget(parent),
      videotex_(std::make_unique<VideotexPane>(*this)),
      baduk_(
          *this, [this] { return doc_ ? doc_->CurrentService() : std::string(); },
          modes_.badukMode) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setMouseTracking(true);  // the smart mouse follows the pointer without a button
    dragTimer_.setInterval(50);
    QObject::connect(&dragTimer_, &QTimer::timeout, this, [this] { dragScroll(); });
    ApplyScreenSettings(settings_);
}

CQuillonView::~CQuillonView() = default;

void CQuillonView::SetServices(EventLoop& loop, Prompt& prompt) {
    loop_ = &loop;
    prompt_ = &prompt;
}

void CQuillonView::ApplyScreenSettings(const ScreenSettings& settings) {
    settings_ = settings;
    fonts_.Configure(settings);
    palette_ = MakePalette(settings.sysColor, settings.sysColor ? DesktopColors() : SystemColors{});
    painter_.SetPalette(palette_);
    applyWallpaper();
    painter_.SetDesktopBackground(settings.desktopBkGnd);
    SetRows(settings.rows);
    SetDefaultColors(settings.textColor, settings.bkColor);
    scroll_.SetVisibleRows(Rows());
    updateGeometry();
    if (sizeWanted) sizeWanted(CellAreaSize());
    redraw();
}

void CQuillonView::applyWallpaper() {
    const bool shown = modes_.wallpaper && !settings_.wallPaper.empty();
    painter_.SetWallpaper(shown ? QImage(QString::fromStdString(settings_.wallPaper)) : QImage());
}

void CQuillonView::SetModes(const ViewModes& modes) {
    const bool wallpaperChanged = modes.wallpaper != modes_.wallpaper;
    modes_ = modes;
    baduk_.SetMode(modes_.badukMode);
    if (!modes_.smartMouse) smartItem_ = {};
    if (wallpaperChanged) applyWallpaper();
    redraw();
}

void CQuillonView::ChangeRows(int change) {
    ScreenSettings changed = settings_;
    changed.rows = std::clamp(Rows() + change, 1, TWView::kMaxRows);
    ApplyScreenSettings(changed);
}

QSize CQuillonView::CellAreaSize() const {
    return {TWView::kColumns * fonts_.CellWidth(), Rows() * fonts_.LineHeight()};
}

// The host's BEL rings the desktop's bell unless the session is silenced.
void CQuillonView::OnBell() {
    if (!doc_ || !doc_->Silent()) QApplication::beep();
}

void CQuillonView::OnHighlight() {
    if (doc_) doc_->OnHighlight();
}

void CQuillonView::OnDamaged() {
    stale_ = true;
}

void CQuillonView::OnTextShifted(int rows) {
    scroll_.Shift(rows, *this);
    selection_.Shift(rows);
}

void CQuillonView::redraw() {
    stale_ = true;
    update();
}

bool CQuillonView::caretMoved() const {
    return Cursor() != paintedCursor_ || caretShown() != paintedCaret_;
}

void CQuillonView::FlushDamage() {
    if (caretMoved()) stale_ = true;
    if (!stale_) return;
    update();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void CQuillonView::ScrollToBottom() {
    if (scroll_.AtBottom()) return;
    ScrollBy(TWView::kRingRows);
}

void CQuillonView::ScrollBy(int lines) {
    const bool wasBack = ScrolledBack();
    scroll_.ScrollBy(lines, *this);
    // The pump waited while the history showed: what arrived meanwhile is taken up now.
    if (wasBack && !ScrolledBack() && loop_) loop_->kickIdle();
    redraw();
}

void CQuillonView::OnLineReady(bool partial) {
    if (doc_) doc_->LineReady(partial);
}

bool CQuillonView::caretShown() const {
    return scroll_.AtBottom() && CaretVisible() && hasFocus() && !videotexMode_;
}

VtxHost& CQuillonView::VideotexWindow() {
    return *videotex_;
}

void CQuillonView::SetVideotexMode(bool on) {
    videotexMode_ = on;
    if (on)
        paneKeys = {VideotexPane::Wants, [this](QKeyEvent& key) {
                        if (doc_) VideotexPane::Take(key, *doc_);
                    }};
    else
        paneKeys = {};
    redraw();
}

QImage CQuillonView::ScreenPicture() {
    if (CVtx* page = videotexMode_ && doc_ ? doc_->VideotexPage() : nullptr)
        return VtxImage(page->GetVtxBitmap());
    return RenderScreen(*this, fonts_, settings_);
}

// The caret's cell in widget pixels: two cells while a syllable is composed; doubled on a row
// of double width.
QRect CQuillonView::caretRect() const {
    const TWPoint c = Cursor();
    const int scale = RowFlag(ScreenTop() + c.y) != 0 ? 2 : 1;
    const int cw = fonts_.CellWidth() * scale;
    return {c.x * cw, c.y * fonts_.LineHeight(), (preedit_.isEmpty() ? 1 : 2) * cw,
            fonts_.LineHeight()};
}

void CQuillonView::paintInto(QImage& image) {
    const QSize size = CellAreaSize();
    if (image.size() != size) image = QImage(size, QImage::Format_RGB32);
    PaintRequest request;
    request.topRow = topRow();
    request.rows = Rows();
    request.selection = &selection_;
    request.caret = caretShown();
    request.caretTwoCells = !preedit_.isEmpty();
    painter_.Paint(image, *this, request);
    if (request.caret && request.caretTwoCells) paintPreedit(image);
    if (!smartItem_.isEmpty()) {
        QPainter p(&image);
        const int cw = fonts_.CellWidth(), lh = fonts_.LineHeight();
        p.setPen(QColor::fromRgb(palette_[DefaultAttribute() & 15]));
        p.drawRect(smartItem_.x() * cw, smartItem_.y() * lh, smartItem_.width() * cw - 1,
                   smartItem_.height() * lh - 1);
    }
}

QImage CQuillonView::Picture() {
    if (stale_ || caretMoved() || image_.size() != CellAreaSize()) {
        ClearDamage();
        stale_ = false;
        paintedCursor_ = Cursor();
        paintedCaret_ = caretShown();
        paintInto(image_);
    }
    return image_;
}

void CQuillonView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (CVtx* page = videotexMode_ && doc_ ? doc_->VideotexPage() : nullptr) {
        videotex_->Paint(p, *page);
        return;
    }
    const QImage& image = Picture();
    p.drawImage(0, 0, image);
    const QColor background = QColor::fromRgb(palette_[DefaultAttribute() >> 4]);
    if (width() > image.width())
        p.fillRect(image.width(), 0, width() - image.width(), height(), background);
    if (height() > image.height())
        p.fillRect(0, image.height(), width(), height() - image.height(), background);
}

// With "VariableRows" the rows follow the height; any resize returns to the live screen.
void CQuillonView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (settings_.variableRows) {
        const int rows = std::clamp(height() / fonts_.LineHeight(), 1, TWView::kMaxRows);
        if (rows != Rows()) {
            ResizeRows(rows);
            settings_.rows = Rows();
            scroll_.SetVisibleRows(Rows());
        }
    }
    ScrollToBottom();
    redraw();
}

void CQuillonView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    redraw();  // the caret shows
}

void CQuillonView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    redraw();
}

void CQuillonView::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenuWanted) contextMenuWanted(event->globalPos());
}
