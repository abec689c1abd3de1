// Videotex mode: from the interpreter's videotex start until the page decoder reports the end
// of the session, or the connection goes, the decoder owns the pump passes.
#include "link/CQuillonDoc.h"
#include "link/SessionVideotex.h"

CQuillonDoc::PumpOwner CQuillonDoc::pumpOwner() const {
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
