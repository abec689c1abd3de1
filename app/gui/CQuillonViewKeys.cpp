// The view's keyboard: what goes before the terminal (an embedded pane, macro hot keys, the
// function keys of VT220 mode over the menu shortcuts, the scroll-back keys), then the
// terminal's own translation: function, cursor and keypad keys by the interpreter, control
// bytes from the key code, Delete, Esc, Tab, and typed text as CP949.
#include <QKeyEvent>
#include <optional>

#include "app/gui/CQuillonView.h"
#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"

namespace {

constexpr uint8_t NUL = 0x00, BS = 0x08, HT = 0x09, ESC = 0x1B, DEL = 0x7F;

bool isFunctionKey(int key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F20;
}

bool isScrollBackKey(int key) {
    return key == Qt::Key_Escape || key == Qt::Key_Up || key == Qt::Key_Down;
}

unsigned terminalModifiers(Qt::KeyboardModifiers modifiers) {
    unsigned out = 0;
    if (modifiers & Qt::ShiftModifier) out |= kTWShift;
    if (modifiers & Qt::ControlModifier) out |= kTWCtrl;
    if (modifiers & Qt::AltModifier) out |= kTWAlt;
    return out;
}

// The keys the interpreter translates: function keys, the cursor keys (also on the keypad)
// and the keypad's digits and minus.
std::optional<TWKey> terminalKey(int key, Qt::KeyboardModifiers modifiers) {
    if (isFunctionKey(key)) return static_cast<TWKey>(key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Left:
            return TWKey::Left;
        case Qt::Key_Up:
            return TWKey::Up;
        case Qt::Key_Right:
            return TWKey::Right;
        case Qt::Key_Down:
            return TWKey::Down;
        default:
            break;
    }
    if (!(modifiers & Qt::KeypadModifier)) return std::nullopt;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<TWKey>(static_cast<int>(TWKey::Keypad0) + key - Qt::Key_0);
    if (key == Qt::Key_Minus) return TWKey::KeypadMinus;
    return std::nullopt;
}

// The byte a key gives with Ctrl, as terminals send it: letters 1-26, @ and space NUL, then
// [ \ ] ^ _ and ?.
std::optional<uint8_t> controlByte(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint8_t>(key - Qt::Key_A + 1);
    switch (key) {
        case Qt::Key_At:
        case Qt::Key_Space:
        case Qt::Key_2:
            return NUL;
        case Qt::Key_BracketLeft:
            return ESC;
        case Qt::Key_Backslash:
            return 0x1C;
        case Qt::Key_BracketRight:
            return 0x1D;
        case Qt::Key_AsciiCircum:
        case Qt::Key_6:
            return 0x1E;
        case Qt::Key_Underscore:
        case Qt::Key_Minus:
            return 0x1F;
        case Qt::Key_Question:
            return DEL;
        default:
            return std::nullopt;
    }
}

}  // namespace

// Keys taken before the menus see them: the pane's and the macros' keys, the function keys in
// VT220 mode (F4, Alt+F4 and Ctrl+F8 are menu shortcuts otherwise), and the scroll-back keys.
bool CQuillonView::claimsShortcut(const QKeyEvent& key) const {
    if (paneKeys.wants && paneKeys.wants(key)) return true;
    if (macroKeys.wants && macroKeys.wants(key)) return true;
    if (modes_.vt220 && isFunctionKey(key.key())) return true;
    return ScrolledBack() && isScrollBackKey(key.key());
}

bool CQuillonView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        if (!claimsShortcut(*static_cast<QKeyEvent*>(event))) return QWidget::event(event);
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && preTranslate(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::event(event);
}

// True when the key was taken before the terminal's translation.
bool CQuillonView::preTranslate(QKeyEvent& key) {
    for (KeyTaker* taker : {&paneKeys, &macroKeys}) {
        if (taker->wants && taker->wants(key)) {
            taker->take(key);
            return true;
        }
    }
    if (!ScrolledBack()) return false;
    switch (key.key()) {
        case Qt::Key_Escape:
            ScrollToBottom();
            return true;
        case Qt::Key_Up:
            ScrollBy(-1);
            return true;
        case Qt::Key_Down:
            ScrollBy(1);
            return true;
        default:
            // A character first returns to the live screen, then goes on.
            if (!key.text().isEmpty()) ScrollToBottom();
            return false;
    }
}

void CQuillonView::keyPressEvent(QKeyEvent* event) {
    if (!doc_) return;
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    switch (key) {
        case Qt::Key_Escape:
            if (!doc_->OnEscape()) sendByte(ESC);
            return;
        case Qt::Key_Delete:
            if (!(modifiers & Qt::ControlModifier)) sendByte(DEL);
            return;
        case Qt::Key_Backspace:
            sendByte(BS);
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            sendByte(HT);
            return;
        default:
            break;
    }
    if (const std::optional<TWKey> translated = terminalKey(key, modifiers)) {
        // Outside keypad application mode a keypad digit types its character.
        const bool keypadCharacter = *translated >= TWKey::Keypad0;
        if (doc_->SendKey(*translated, terminalModifiers(modifiers)) || !keypadCharacter) return;
    }
    const bool alt = modifiers & Qt::AltModifier;
    if ((modifiers & Qt::ControlModifier) && !alt) {
        if (const std::optional<uint8_t> control = controlByte(key)) {
            sendByte(*control);
            return;
        }
    }
    if (alt) return;  // Alt with a character is a menu's key, never text for the host
    sendTyped(event->text());
}

void CQuillonView::sendByte(uint8_t b) {
    if (doc_) doc_->SendByte(b);
}

void CQuillonView::sendTyped(const QString& text) {
    for (char c : utf8ToCp949Lossy(text.toStdString()))
        sendByte(static_cast<uint8_t>(c));
}
