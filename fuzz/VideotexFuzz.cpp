// Host bytes through the videotex decoder on a small mirror, in pieces whose size the first
// byte chooses, with a few keys typed at the end; pauses pass at once.
#include <string>

#include "term/GlyphSource.h"
#include "vtx/CVtx.h"

namespace {

// Boxes as glyphs: the decoder's drawing is exercised without a face file.
class BoxGlyphs : public GlyphSource {
public:
    GlyphMask Glyph(char32_t, int width, int height) override {
        return {width, height, std::vector<uint8_t>(size_t(width) * height, 255)};
    }
};

class FuzzHost : public VtxHost {
public:
    int ClientWidth() const override { return 80; }
    int ClientHeight() const override { return 60; }
    GlyphSource& Glyphs() override { return glyphs; }
    Clock& Time() override { return clock; }

    class JumpClock : public Clock {
    public:
        int64_t nowMs() const override { return now; }
        void sleepMs(int ms) override { now += ms; }
        int64_t now = 0;
    } clock;
    BoxGlyphs glyphs;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = 1 + data[0] % 64;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    FuzzHost host;
    size_t available = 0, read = 0;
    auto vtx = CVtx::New(
        host, [&](bool) { return read < available ? int(uint8_t(bytes[read++])) : -1; },
        [](uint8_t) {});
    while (read < bytes.size() && vtx->Running()) {
        available = std::min(bytes.size(), available + piece);
        for (int r = 1; r == 1 || (r == 0 && vtx->Paused());) {
            if (vtx->Paused()) host.clock.now += 1 << 30;
            r = vtx->Run();
        }
    }
    vtx->OnChar("a");
    vtx->OnChar("\xB0\xA1");
    vtx->OnBackspace();
    vtx->OnEnter();
    vtx->OnKey(VtxKey::F1);
    return 0;
}
