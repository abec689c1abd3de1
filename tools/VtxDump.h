#pragma once
// Runs a videotex session over bytes handed in pieces, types keys into it, and describes the
// outcome (Run results, session end, bytes sent, mirror, colour map, field, key buffer) as one
// JSON object. Pauses pass at once: the session's clock jumps to each wake-up.
#include <string>
#include <string_view>
#include <vector>

#include "vtx/CVtx.h"

class VtxDump : public VtxHost {
public:
    VtxDump(int height, GlyphSource& glyphs);

    // The bytes in pieces of `chunk`, each run until the session waits for more or ends.
    void Feed(std::string_view bytes, size_t chunk);
    // UTF-8 text with the key names "<Enter>", "<BS>", "<F1>".."<F10>", "<Left>", "<Up>",
    // "<Right>", "<Down>"; false (nothing typed) when the text is not UTF-8 or has no CP949 form.
    bool Type(std::string_view keys);
    std::string Json() const;
    const CVtx& Session() const { return *vtx_; }

    int ClientWidth() const override { return height_ * 2; }
    int ClientHeight() const override { return height_; }
    void WakeAfter(int ms) override { wake_ = ms; }
    GlyphSource& Glyphs() override { return glyphs_; }
    Clock& Time() override { return clock_; }

private:
    class JumpingClock : public Clock {
    public:
        int64_t nowMs() const override { return now; }
        void sleepMs(int ms) override { now += ms; }
        int64_t now = 0;
    };

    void runUntilIdle();

    int height_;
    GlyphSource& glyphs_;
    JumpingClock clock_;
    int wake_ = -1;
    std::string input_;
    size_t available_ = 0, read_ = 0;
    std::string sent_;
    std::vector<int> results_;
    std::unique_ptr<CVtx> vtx_;
};
