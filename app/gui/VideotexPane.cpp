#include "app/gui/VideotexPane.h"

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
    : window_(window), glyphs_(QString(TermFonts::kGulimFaceName)) {}

void VideotexPane::Paint(QPainter& p, const CVtx& page) const {
    const QImage image = VtxImage(page.GetVtxBitmap());
    p.fillRect(window_.rect(), window_.palette().color(QPalette::Dark));
    p.drawImage((window_.width() - image.width()) / 2, 0, image);
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
