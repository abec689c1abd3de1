#include "baduk/gui/CBadukView.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>

#include "auto/CSettingsSection.h"
#include "auto/Folders.h"
#include "baduk/BadukDoc.h"
#include "baduk/BadukInit.h"
#include "baduk/BoardGeometry.h"
#include "baduk/BoardSaving.h"

namespace {

QRect qRect(const Rect& r) {
    return {r.left, r.top, r.width(), r.height()};
}

bool readNumbering(Registry* registry) {
    if (!registry) return true;
    std::string stored = CSettingsSection(*registry, "Baduk").GetString("Numbering");
    return stored.empty() || stored != "0";
}

}  // namespace

CBadukView::CBadukView(CBadukDoc& doc, const BadukWindowServices& services, int cellSize,
                       QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      services_(services),
      painter_(cellSize, LoadBoardBitmaps(cellSize), arial_),
      surface_(painter_.Width(), painter_.Height()),
      numbering_(readNumbering(services.registry)) {
    setFixedSize(painter_.Width(), painter_.Height());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    doc_.pointChanged = [this](int column, int row) { updatePoint({column, row}); };
}

CBadukView::~CBadukView() {
    doc_.pointChanged = nullptr;
}

void CBadukView::ResetDocument() {
    hovered_ = {-1, -1};
    update();
}

void CBadukView::updatePoint(TWPoint point) {
    if (point.x >= 0)
        update(qRect(BoardGeometry::PointSquare(point.x, point.y, painter_.CellSize())));
}

void CBadukView::paintEvent(QPaintEvent* event) {
    QRect r = event->rect();
    painter_.Paint(surface_, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, doc_, numbering_,
                   hovered_);
    QImage image(reinterpret_cast<const uchar*>(surface_.pixels.data()), surface_.width,
                 surface_.height, QImage::Format_RGB32);
    QPainter(this).drawImage(r, image, r);
}

void CBadukView::setHovered(TWPoint point) {
    if (point == hovered_) return;
    updatePoint(hovered_);
    hovered_ = point;
    updatePoint(hovered_);
}

void CBadukView::mouseMoveEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    setHovered(BoardGeometry::PixelToPoint(at.x(), at.y(), painter_.CellSize()));
}

void CBadukView::leaveEvent(QEvent*) {
    setHovered({-1, -1});
}

void CBadukView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint at = event->position().toPoint();
    TWPoint point = BoardGeometry::PixelToPoint(at.x(), at.y(), painter_.CellSize());
    if (point.x >= 0) BadukPuts(MoveText(point).c_str());
}

QMenu* CBadukView::MakeMenu() {
    auto* menu = new QMenu(this);
    for (BadukMenuItem item : kBadukMenu) {
        QAction* action = menu->addAction(QString::fromUtf8(MenuText(item)));
        action->setEnabled(MenuEnabled(item, doc_.ServiceIndex(), hovered_));
        if (item == BadukMenuItem::Numbering) {
            action->setCheckable(true);
            action->setChecked(numbering_);
        }
        connect(action, &QAction::triggered, this, [this, item] { RunMenuItem(item); });
        if (item == BadukMenuItem::SavePicture) menu->addSeparator();
    }
    return menu;
}

void CBadukView::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(MakeMenu());
    menu->exec(event->globalPos());
}

void CBadukView::RunMenuItem(BadukMenuItem item) {
    if (!MenuEnabled(item, doc_.ServiceIndex(), hovered_)) return;
    switch (item) {
        case BadukMenuItem::Numbering:
            return setNumbering(!numbering_);
        case BadukMenuItem::SaveRecord:
            if (services_.prompt) AskAndSaveRecord(*services_.prompt, downloadFolder(), doc_);
            return;
        case BadukMenuItem::SavePicture:
            setHovered({-1, -1});
            if (services_.prompt)
                AskAndSavePicture(*services_.prompt, downloadFolder(), painter_, doc_, numbering_);
            return;
        default:
            BadukPuts(MenuCommandText(item, doc_.ServiceIndex(), hovered_).c_str());
    }
}

void CBadukView::setNumbering(bool on) {
    numbering_ = on;
    if (services_.registry)
        CSettingsSection(*services_.registry, "Baduk").SetString("Numbering", on ? "1" : "0");
    update();
}

std::string CBadukView::downloadFolder() const {
    return services_.registry ? GetFolder(*services_.registry, FolderKind::Download)
                              : std::string();
}
