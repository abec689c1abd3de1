#pragma once
// The session's videotex mode: a page decoder reading the session's link and answering on
// it, shown in the window when there is one, woken by the loop when a page pauses or blinks.
// User-interface thread only.
#include <memory>

#include "platform/EventLoop.h"
#include "vtx/CVtx.h"
#include "xfer/GFComLink.h"

class SessionVideotex : private VtxHost {
public:
    // window: where the page is shown, or null (the tty front end) for a page kept unseen.
    SessionVideotex(EventLoop& loop, Clock& clock, GFComLink& link, VtxHost* window);
    ~SessionVideotex() override;
    SessionVideotex(const SessionVideotex&) = delete;
    SessionVideotex& operator=(const SessionVideotex&) = delete;

    // One pump pass: CVtx::Run.
    int Run() { return page_->Run(); }
    CVtx& Page() { return *page_; }
    bool Shown() const { return window_ != nullptr; }

private:
    // A page nobody sees: a mirror of this height, drawn without glyphs.
    static constexpr int kUnseenHeight = 400;
    class NoGlyphs : public GlyphSource {
        GlyphMask Glyph(char32_t, int, int) override { return {}; }
    };

    int ClientWidth() const override;
    int ClientHeight() const override;
    void Repaint() override;
    void WakeAfter(int ms) override;
    GlyphSource& Glyphs() override;
    Clock& Time() override;

    EventLoop& loop_;
    Clock& clock_;
    VtxHost* window_;
    NoGlyphs noGlyphs_;
    int timer_ = -1;
    std::unique_ptr<CVtx> page_;
};
