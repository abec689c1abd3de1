// The view and the clipboard: copies as UTF-8 with the LF line ends of this desktop (also to
// PRIMARY, the selection that a middle click pastes), and pastes through the conversions the
// tty front end uses: lone LF to CR LF, characters CP949 lacks to '?'.
#include <QGuiApplication>

#include "app/gui/CQuillonView.h"
#include "link/CQuillonDoc.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "term/CopyText.h"

namespace {

QString clipboardForm(const std::string& cp949) {
    QString text = QString::fromStdString(ClipboardText(cp949));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace

bool CQuillonView::CopySelection() {
    if (!selection_.Active()) return false;
    const TWCell first = selection_.First(), last = selection_.Last();
    return putOnClipboard(::CopySelection(*this, first.column, first.row, last.column, last.row));
}

bool CQuillonView::CopyScreen() {
    return putOnClipboard(::CopyScreen(*this));
}

bool CQuillonView::CopyScrollback() {
    return putOnClipboard(::CopyScrollback(*this));
}

// The clipboard is read back: a desktop that refused it (another owner, no access) leaves
// something else there, and the user is told.
bool CQuillonView::putOnClipboard(const std::string& cp949) {
    if (cp949.empty()) return false;
    const QString text = clipboardForm(cp949);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->text(QClipboard::Clipboard) != text) {
        if (prompt_) prompt_->tell(kClipboardOpenFailed, PromptIcon::Error);
        return false;
    }
    putOnPrimary(cp949);
    return true;
}

void CQuillonView::putOnPrimary(const std::string& cp949) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!cp949.empty() && clipboard->supportsSelection())
        clipboard->setText(clipboardForm(cp949), QClipboard::Selection);
}

void CQuillonView::PasteFrom(QClipboard::Mode mode) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!doc_ || (mode == QClipboard::Selection && !clipboard->supportsSelection())) return;
    const std::string text = clipboard->text(mode).toStdString();
    if (!text.empty()) doc_->Paste(utf8ToCp949Lossy(pastedLineEnds(text)));
}
