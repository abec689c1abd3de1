#include "auto/MemoAutoHide.h"

void MemoAutoHide::SetEnabled(bool on) {
    enabled_ = on;
    if (!on) deadline_.reset();
}

void MemoAutoHide::Deactivated(int64_t now) {
    if (enabled_) deadline_ = now + kAfterDeactivationMs;
}

void MemoAutoHide::TextArrived(int64_t now) {
    if (deadline_) deadline_ = now + kAfterTextMs;
}

bool MemoAutoHide::Expired(int64_t now, bool replyEmpty) const {
    return deadline_ && now >= *deadline_ && replyEmpty;
}
