#pragma once
// A videotex session for tests: a host with the raster face and a fake clock, bytes queued for
// the decoder and every byte it sends collected.
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "term/RasterGlyphs.h"
#include "tests/fixtures/FakeClock.h"
#include "vtx/CVtx.h"

class VtxTestHost : public VtxHost {
public:
    explicit VtxTestHost(int height) : height_(height) {}
    int ClientWidth() const override { return height_ * 2; }
    int ClientHeight() const override { return height_; }
    void Repaint() override { ++repaints; }
    void WakeAfter(int ms) override { lastWake = ms; }
    // One face for every session: reading it is the slowest part of a short test.
    GlyphSource& Glyphs() override {
        static RasterGlyphs glyphs;
        return glyphs;
    }
    Clock& Time() override { return clock; }

    FakeClock clock;
    int repaints = 0;
    int lastWake = -1;

private:
    int height_;
};

struct VtxSession {
    explicit VtxSession(int height = 400) : host(height) {
        vtx = CVtx::New(
            host,
            [this](bool) {
                if (input.empty()) return -1;
                const int b = input.front();
                input.pop_front();
                return b;
            },
            [this](uint8_t b) { sent += char(b); });
    }

    // Queues the bytes and runs until the decoder waits or ends; its last result.
    int Feed(std::string_view bytes) {
        input.insert(input.end(), bytes.begin(), bytes.end());
        return RunAll();
    }
    // One byte per Run.
    int FeedBytewise(std::string_view bytes) {
        int r = 0;
        for (char c : bytes)
            r = Feed(std::string_view(&c, 1));
        return r;
    }
    int RunAll() {
        int r;
        do
            r = vtx->Run();
        while (r == 1);
        return r;
    }
    const VtxMirror& Mirror() const { return vtx->GetVtxBitmap(); }

    VtxTestHost host;
    std::deque<uint8_t> input;
    std::string sent;
    std::unique_ptr<CVtx> vtx;
};
