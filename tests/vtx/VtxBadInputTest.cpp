// Bad input: random and cut-off streams, coordinates far off the screen, degenerate arcs and
// endless pauses decode without faults, within bounds and without blocking.
#include <gtest/gtest.h>

#include <random>

#include "tests/vtx/VtxSession.h"

namespace {

// Runs `bytes` through a session on a small mirror, passing every pause at once.
void decodeAll(const std::string& bytes, int height = 60) {
    VtxSession s(height);
    s.input.assign(bytes.begin(), bytes.end());
    for (int guard = 0; !s.input.empty() && guard < 1000000; ++guard) {
        const int r = s.vtx->Run();
        if (r < 0) {
            ASSERT_FALSE(s.vtx->Running());
            break;
        }
        if (r == 0) s.host.clock.advance(1 << 20);
    }
    EXPECT_EQ(s.Mirror().Pixels().size(), size_t(s.Mirror().Width()) * s.Mirror().Height());
}

}  // namespace

TEST(VtxBadInput, RandomStreams) {
    std::mt19937 random(24);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes)
        c = char(random());
    // Session ends ("ESC % @", "ESC & 1") would stop the run early: taken out.
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0x1B) bytes[i + 1] = 'n';
    decodeAll(bytes);
    // Mostly instructions: GR bytes with operands.
    std::string pdi;
    for (int i = 0; i < 200000; ++i)
        pdi += char(random() % 3 ? 0xC0 | (random() & 0x3F) : 0xA0 | (random() & 0x1F));
    decodeAll(pdi);
}

TEST(VtxBadInput, FarCoordinatesDegenerateArcsAndLongLists) {
    const std::string far = "\xA4\xDF\xFF\xFF";  // (just under 1, just under 1)
    const std::string low = "\xA4\xE0\xC0\xC0";  // (-1, 0)
    // Relative lines and rectangles walking far outside, huge pels, outlined and filled.
    std::string s = "\xA1\x4F\xDF\xFF\xFF\xFF\xFF" + far;
    for (int i = 0; i < 300; ++i)
        s += "\xA9\xDF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xB1\xDF\xFF\xFF\xFF\xFF\xFF\xFF\xFF";
    // Arcs: identical points, collinear points, end on start.
    s += low + "\xAC\xC0\xC0\xC0\xC0\xC0\xC0";
    s += low + "\xAD\xC8\xC0\xC0\xC8\xC0\xC0";
    s += low + "\xAD\xD0\xC0\xC0\xF0\xC0\xC0";
    s += low + "\xAD\xC8\xC8\xC0\xC0\xC0\xC0";
    // A polygon of far more points than are kept.
    s += "\xB5";
    for (int i = 0; i < 10000; ++i)
        s += i % 2 ? "\xC7\xFF\xFF" : "\xF8\xC0\xC0";
    s += "\xBE\xC0";
    decodeAll(s);
    decodeAll(s, 400);
}

TEST(VtxBadInput, CutOffStreamsAndEndlessPauses) {
    // Every prefix of a stream with every kind of construct.
    const std::string stream =
        "\x1B$)C\x0E\x30\x21\x0F\x1C\x41\x42\x1F\x41\x41\x80\x20"
        "AB\x85"
        "\x83\x21\x0E\x20\x50\x0F\x85\x1B&0ab\xA4\xC0\xC0\xC0\xB5\xC1\xC1"
        "\xC1\xC8\xC0\xC0\x1B[1;2m\x86\x41";
    for (size_t n = 0; n <= stream.size(); ++n)
        decodeAll(stream.substr(0, n));
    // A pause of days: Run comes back at once, waiting for its wake-up.
    VtxSession s(60);
    std::string wait = "\x0E\x3D\x5C" + std::string(100000, '\x7F') +
                       "\x0F"
                       "A";
    s.input.assign(wait.begin(), wait.end());
    EXPECT_EQ(s.RunAll(), 0);
    EXPECT_GT(s.host.lastWake, 0);
    EXPECT_EQ(s.input.size(), 1u);
}
