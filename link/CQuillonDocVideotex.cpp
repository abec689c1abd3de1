// Videotex mode: from the interpreter's videotex start until the page decoder reports the end
// of the session, or the connection goes, the decoder owns the pump passes.
#include "link/CQuillonDoc.h"
#include "link/SessionVideotex.h"
#include "vtx/CVtx.h"

// A picture document sets the link busy while it holds the link; any other busy link is a
// transfer's.
CQuillonDoc::PumpOwner CQuillonDoc::pumpOwner() const {
    if (linkBusy_) return picturePump_ ? PumpOwner::Picture : PumpOwner::Transfer;
    return videotex_ ? PumpOwner::Videotex : PumpOwner::Interpreter;
}

CVtx* CQuillonDoc::VideotexPage() {
    return videotex_ ? &videotex_->Page() : nullptr;
}

bool CQuillonDoc::VideotexShown() const {
    return videotex_ && videotex_->Shown();
}

void CQuillonDoc::startVideotex() {
    if (videotex_ || !link_) return;
    videotex_ = std::make_unique<SessionVideotex>(ctx_.loop, ctx_.clock, *link_,
                                                  ctx_.frame.VideotexWindow());
    ctx_.frame.VideotexMode(true);
    // The page may already wait in the link.
    ctx_.loop.kickIdle();
}

void CQuillonDoc::endVideotex() {
    if (!videotex_) return;
    videotex_.reset();
    ctx_.frame.VideotexMode(false);
}

// Run's result: 1 more at once, 0 wait for data or the wake-up, -1 the host ended the session
// and the text screen comes back; the interpreter then reads what follows at once.
int CQuillonDoc::pumpVideotex() {
    const int result = videotex_->Run();
    if (result < 0) endVideotex();
    return result != 0 ? 0 : kTWNoData;
}

bool CQuillonDoc::VideotexText(std::string_view cp949) {
    if (!videotex_) return false;
    CVtx& page = videotex_->Page();
    for (size_t i = 0; i < cp949.size(); ++i) {
        const uint8_t b = uint8_t(cp949[i]);
        if (b == '\r') {
            page.OnEnter();
        } else if (b == '\b') {
            page.OnBackspace();
        } else if (b >= 0x81 && i + 1 < cp949.size()) {
            page.OnChar(std::string(cp949.substr(i++, 2)));
        } else if (b >= 0x20 && b != 0x7F) {
            page.OnChar(std::string(1, char(b)));
        }
    }
    ctx_.loop.kickIdle();
    return true;
}

bool CQuillonDoc::VideotexKey(TWKey key, unsigned modifiers) {
    if (!videotex_) return false;
    if (modifiers != 0) return true;
    if (key >= TWKey::F1 && key <= TWKey::F10)
        videotex_->Page().OnKey(VtxKey(int(VtxKey::F1) + int(key) - int(TWKey::F1)));
    else if (key >= TWKey::Left && key <= TWKey::Down)
        videotex_->Page().OnKey(VtxKey(int(VtxKey::Left) + int(key) - int(TWKey::Left)));
    else if (key == TWKey::Backspace)
        videotex_->Page().OnBackspace();
    return true;
}
