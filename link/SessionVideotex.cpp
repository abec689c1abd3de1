#include "link/SessionVideotex.h"

#include <algorithm>

SessionVideotex::SessionVideotex(EventLoop& loop, Clock& clock, GFComLink& link, VtxHost* window)
    : loop_(loop), clock_(clock), window_(window) {
    page_ = CVtx::New(
        *this,
        [&link](bool) {
            const int b = link.ReadByte();
            return b >= 0 ? b : -1;
        },
        [&link](uint8_t b) { link.WriteByte(b); });
}

SessionVideotex::~SessionVideotex() {
    if (timer_ >= 0) loop_.removeTimer(timer_);
}

int SessionVideotex::ClientWidth() const {
    return window_ ? window_->ClientWidth() : kUnseenHeight * 4 / 3;
}

int SessionVideotex::ClientHeight() const {
    return window_ ? window_->ClientHeight() : kUnseenHeight;
}

void SessionVideotex::Repaint() {
    if (window_) window_->Repaint();
}

// The next pump pass comes after `ms` even without data: one timer, the latest request.
void SessionVideotex::WakeAfter(int ms) {
    if (timer_ >= 0) loop_.removeTimer(timer_);
    timer_ = loop_.addTimer(std::max(ms, 1), false, [this] {
        timer_ = -1;
        loop_.kickIdle();
    });
}

GlyphSource& SessionVideotex::Glyphs() {
    return window_ ? window_->Glyphs() : noGlyphs_;
}

Clock& SessionVideotex::Time() {
    return clock_;
}
