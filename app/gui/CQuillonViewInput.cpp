// The view and the input method: the syllable being composed is drawn at a two-cell caret and
// nothing is sent; what the input method commits is sent as CP949 text. Shift with a syllable
// and a space ends Hangul input: the space is dropped and the input method switches to
// alphanumeric.
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QPainter>

#include "app/gui/CQuillonView.h"
#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"

namespace {

// The cells at `cells` in the background colour with the glyph's ink over them, then inverted
// as the caret is.
void paintCaretGlyph(QImage& image, const QRect& cells, const GlyphMask& glyph, QRgb fg, QRgb bg) {
    QImage ink(glyph.width, glyph.height, QImage::Format_ARGB32);
    ink.fill(fg);
    QImage alpha(glyph.alpha.data(), glyph.width, glyph.height, glyph.width, QImage::Format_Alpha8);
    ink.setAlphaChannel(alpha);
    QPainter p(&image);
    p.fillRect(cells, QColor::fromRgb(bg));
    p.drawImage(cells.topLeft(), ink);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(cells, Qt::white);
}

}  // namespace

void CQuillonView::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) commitText(event->commitString());
    if (event->preeditString() != preedit_) {
        preedit_ = event->preeditString();
        redraw();
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    }
    event->accept();
}

void CQuillonView::commitText(const QString& text) {
    if (!doc_) return;
    ScrollToBottom();
    std::string bytes = utf8ToCp949Lossy(text.toStdString());
    const bool shift = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    if (shift && bytes.size() == 3 && bytes[2] == ' ') {
        bytes.resize(2);
        inputSwitch_->SetHangulMode(false);
    }
    if (!doc_->VideotexText(bytes)) doc_->SendText(bytes);
}

// The composed syllable (its first character) in the current colours over the two-cell caret.
void CQuillonView::paintPreedit(QImage& image) {
    const std::string code = utf8ToCp949Lossy(preedit_.left(1).toStdString());
    if (code.empty()) return;
    const uint8_t lead = static_cast<uint8_t>(code[0]);
    const uint16_t glyph =
        code.size() >= 2 ? static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(code[1])) : lead;
    const GlyphMask& mask = fonts_.Glyph(glyph);
    if (mask.empty()) return;
    paintCaretGlyph(image, caretRect(), mask, palette_[Attribute() & 15],
                    palette_[Attribute() >> 4]);
}

QVariant CQuillonView::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle:
            return caretRect();
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition:
            return 0;
        case Qt::ImSurroundingText:
        case Qt::ImCurrentSelection:
            return QString();
        case Qt::ImHints:
            return static_cast<int>(Qt::ImhNoPredictiveText);
        default:
            return QWidget::inputMethodQuery(query);
    }
}
