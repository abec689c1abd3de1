#include "app/gui/VideotexPane.h"

#include <QDateTime>

#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"
#include "term/TermFonts.h"
#include "vtx/VtxImage.h"

namespace {

bool isPageKey(int key) {
    return (key >= Qt::Key_F1 && key <= Qt::Key_F10) ||
           (key >= Qt::Key_Left && key <= Qt::Key_Down);
}

TWKey pageKey(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10) return TWKey(int(TWKey::F1) + key - Qt::Key_F1);
    return TWKey(int(TWKey::Left) + key - Qt::Key_Left);
}

}  // namespace

VideotexPane::VideotexPane(QWidget& window)
    : window_(window), glyphs_(QString(TermFonts::kGulimFaceName)) {
    flash_.setSingleShot(true);
    QObject::connect(&flash_, &QTimer::timeout, &window_, [this] { window_.update(); });
}

void VideotexPane::Paint(QPainter& p, const CVtx& page) {
    const QImage image = VtxImage(page.GetVtxBitmap());
    const int left = (window_.width() - image.width()) / 2;
    p.fillRect(window_.rect(), window_.palette().color(QPalette::Dark));
    p.drawImage(left, 0, image);
    paintCursor(p, page.GetCursor(), left);
}

// The cursor inverts the pixels it covers; a flashing one shows in the first half of each
// second and brings its own repaint at the next change.
void VideotexPane::paintCursor(QPainter& p, const CVtx::Cursor& cursor, int left) {
    constexpr int kHalfMs = 500;
    if (!cursor.shown) return;
    if (cursor.flashing) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (!flash_.isActive()) flash_.start(int(kHalfMs - now % kHalfMs));
        if (now / kHalfMs % 2) return;
    }
    const QRect cell(left + cursor.x, cursor.top, cursor.w, cursor.h);
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    switch (cursor.style) {
        case 0:
            p.fillRect(cell.left(), cell.bottom(), cell.width(), 1, Qt::white);
            break;
        case 1:
            p.fillRect(cell, Qt::white);
            break;
        default:
            // The vertical stroke leaves out the middle, which the horizontal one inverts.
            p.fillRect(cell.left(), cell.center().y(), cell.width(), 1, Qt::white);
            p.fillRect(cell.center().x(), cell.top(), 1, cell.center().y() - cell.top(), Qt::white);
            p.fillRect(cell.center().x(), cell.center().y() + 1, 1,
                       cell.bottom() - cell.center().y(), Qt::white);
            break;
    }
    p.restore();
}

bool VideotexPane::Wants(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (isPageKey(key.key())) return mods == Qt::NoModifier;
    if (mods & (Qt::ControlModifier | Qt::AltModifier)) return false;
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ||
           key.key() == Qt::Key_Backspace || !key.text().isEmpty();
}

void VideotexPane::Take(const QKeyEvent& key, CQuillonDoc& doc) {
    if (isPageKey(key.key()))
        doc.VideotexKey(pageKey(key.key()), 0);
    else if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        doc.VideotexText("\r");
    else if (key.key() == Qt::Key_Backspace)
        doc.VideotexText("\b");
    else
        doc.VideotexText(utf8ToCp949Lossy(key.text().toStdString()));
}
