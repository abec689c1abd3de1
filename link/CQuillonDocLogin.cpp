// The session's part in the auto log-in: the step on partial lines while the link has nothing
// queued, the same step again at the next settled pass when it had, and the chooser shown while
// the pump waits.
#include "auto/DoubleByteText.h"
#include "link/CQuillonDoc.h"

class CQuillonDoc::LoginSide : public LoginPeer {
public:
    explicit LoginSide(CQuillonDoc& doc) : doc_(doc) {}
    bool Connected() override { return doc_.online_ && doc_.link_ && doc_.link_->IsOnline(); }
    void SendLine(std::string_view text) override { doc_.SendLine(text); }
    void RedrawNow() override { doc_.ctx_.frame.RedrawNow(); }
    void AttractUser() override { doc_.ctx_.frame.AttractUser(); }
    // Received data waits in the link while the chooser is open.
    bool ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) override {
        const bool suspended = doc_.pumpSuspended_;
        doc_.pumpSuspended_ = true;
        const bool confirmed = doc_.ctx_.frame.ChooseLogin(ids, choice);
        doc_.pumpSuspended_ = suspended;
        doc_.ctx_.loop.kickIdle();
        return confirmed;
    }

private:
    CQuillonDoc& doc_;
};

// A prompt offered while our own output was still queued is answered once the link drains.
void CQuillonDoc::stepLogin(std::string_view line) {
    if (!login_.Pending()) return;
    if (!link_ || !link_->IsDrained()) {
        autoLoginArmed_ = true;
        return;
    }
    autoLoginArmed_ = false;
    LoginSide side(*this);
    login_.LoginStep(line, side);
}

void CQuillonDoc::stepLoginWhenSettled() {
    if (!autoLoginArmed_) return;
    autoLoginArmed_ = false;
    const std::string line(ctx_.view.PendingLine());
    if (line.size() >= 3 && HasWholePairs(line)) stepLogin(line);
}
