// The sample pages: the colours they draw, and the same picture whether a page arrives whole
// or one byte per Run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "tests/vtx/VtxSession.h"

namespace {

std::string page(const std::string& name) {
    std::ifstream in(std::string(QUILITE_SOURCE_DIR) + "/tests/fixtures/naplps/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::tuple<int, int, int> rgbAt(const VtxMirror& m, double x, double y) {
    const VtxRgb c = m.RgbAt(m.Column(x), m.Row(y));
    return {c.r, c.g, c.b};
}

const VtxRgb kDefaultMap[16] = {
    {0, 0, 0},       {32, 32, 32},    {64, 64, 64},    {96, 96, 96},
    {124, 124, 124}, {188, 188, 188}, {208, 208, 208}, {252, 252, 252},
    {0, 0, 252},     {188, 0, 252},   {252, 0, 124},   {252, 64, 0},
    {252, 252, 0},   {64, 252, 0},    {0, 252, 124},   {0, 188, 252},
};

}  // namespace

TEST(VtxPages, PaletteDemoShowsTheSixteenDefaultColoursOnWhite) {
    VtxSession s;
    ASSERT_EQ(s.Feed(page("palette_demo.nap")), 0);
    const VtxMirror& m = s.Mirror();
    std::set<std::tuple<int, int, int>> seen;
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x) {
            const VtxRgb c = m.RgbAt(x, y);
            seen.insert({c.r, c.g, c.b});
        }
    std::set<std::tuple<int, int, int>> expected{{255, 255, 255}};
    for (const VtxRgb& c : kDefaultMap)
        expected.insert({c.r, c.g, c.b});
    EXPECT_EQ(seen, expected);
    // Each colour fills a bar, not a stray pixel.
    std::array<int, 17> count{};
    for (uint8_t p : m.Pixels())
        ++count[p];
    for (int i = 0; i < 16; ++i)
        EXPECT_GT(count[i], 1000) << i;
    EXPECT_EQ(rgbAt(m, 0.99, 0.74), std::make_tuple(255, 255, 255));
}

TEST(VtxPages, RectClearsToColourZeroAndFillsASquareInColourTwelve) {
    VtxSession s;
    s.Feed(page("rect.nap"));
    const VtxMirror& m = s.Mirror();
    EXPECT_EQ(rgbAt(m, 0.25, 0.25), std::make_tuple(252, 252, 0));
    EXPECT_EQ(m.At(m.Column(0.25), m.Row(0.25)), 12);
    EXPECT_EQ(m.At(m.Column(0.25), m.Row(0.6)), 0);
    EXPECT_EQ(m.At(m.Column(0.1), m.Row(0.7)), 0);
}

TEST(VtxPages, EveryPageDrawsTheSameWholeAndOneBytePerRun) {
    for (const char* name :
         {"palette_demo.nap", "house.nap", "star.nap", "snowflake.nap", "clock.nap",
          "spirograph.nap", "hello.nap", "rect.nap", "char_grid.nap"}) {
        const std::string bytes = page(name);
        ASSERT_FALSE(bytes.empty()) << name;
        VtxSession whole, bytewise;
        whole.Feed(bytes);
        bytewise.FeedBytewise(bytes);
        EXPECT_EQ(whole.Mirror().Pixels(), bytewise.Mirror().Pixels()) << name;
        EXPECT_EQ(whole.Mirror().Palette(), bytewise.Mirror().Palette()) << name;
        // Something was drawn.
        const auto& px = whole.Mirror().Pixels();
        EXPECT_TRUE(std::any_of(px.begin(), px.end(), [](uint8_t p) { return p != 16; })) << name;
    }
}
