#pragma once
// When a memo window closes by itself: 10 seconds after it lost activation while auto-hide is
// on; activation stops the count; a text arriving meanwhile restarts it with 12 seconds. A
// window whose reply field holds text is never closed. Times are milliseconds of one clock.
#include <cstdint>
#include <optional>

class MemoAutoHide {
public:
    static constexpr int64_t kAfterDeactivationMs = 10000;
    static constexpr int64_t kAfterTextMs = 12000;

    void SetEnabled(bool on);
    void Deactivated(int64_t now);
    void Activated() { deadline_.reset(); }
    void TextArrived(int64_t now);
    // True once the time is up and the reply is empty: the window closes.
    bool Expired(int64_t now, bool replyEmpty) const;
    bool Running() const { return deadline_.has_value(); }

private:
    bool enabled_ = true;
    std::optional<int64_t> deadline_;
};
