// The private symbol rows rewritten into standard KS C 5601 symbols or line-plane blocks.
#include <cstdint>
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "term/SymbolRemap.h"

namespace {

// Received trail -> stored KS code, by received lead.
// clang-format off
const std::map<uint8_t, std::map<uint8_t, uint16_t>> kRewrittenRows = {
    {0xA2,
     {{0xE6, 0xA2C7}, {0xE7, 0xA2CC}, {0xE8, 0xA2CA}, {0xE9, 0xA2CB}, {0xEA, 0xA2C7},
      {0xEB, 0xA2C9}, {0xEC, 0xA2EB}, {0xED, 0xC5AB}, {0xEE, 0xBBE7}, {0xEF, 0xB6F7},
      {0xF0, 0xC5AB}, {0xF1, 0xBBE7}, {0xF2, 0xB6F7}}},
    {0xAD,
     {{0xA4, 0xA2BE}, {0xA5, 0xA1DF}, {0xA6, 0xA2C0}, {0xA7, 0xA2BC}, {0xAC, 0xA1CE},
      {0xAD, 0xA1CF}, {0xAE, 0xA2DC}, {0xAF, 0xA2DD}, {0xB0, 0xA2B4}, {0xB1, 0xA2BA},
      {0xB2, 0xA2B8}, {0xB3, 0xA2D5}, {0xB5, 0xA2D2}, {0xB6, 0xA1D7}, {0xB9, 0xA1E8},
      {0xBA, 0xA1E9}, {0xBB, 0xA1E6}, {0xBC, 0xA1E7}, {0xBE, 0xA1EA}, {0xBF, 0xA1E3},
      {0xC0, 0xA1E5}, {0xC1, 0xA5E5}, {0xC2, 0xA5E6}, {0xC3, 0xA5E7}, {0xC4, 0xA5EB},
      {0xC5, 0xA5ED}, {0xC6, 0xA5EE}, {0xC7, 0xA5F1}, {0xC8, 0xA5F7}, {0xC9, 0xA2CF},
      {0xCA, 0xA1BA}, {0xCB, 0xA1BB}, {0xCC, 0xA1C1}, {0xCD, 0xA1C5}, {0xCE, 0xA3DF},
      {0xCF, 0xA1ED}, {0xD0, 0xA1EC}}},
    {0xAE,
     {{0xA3, 0xA5E1}, {0xA4, 0xA5E2}, {0xA5, 0xA5E3}, {0xA6, 0xA5F0}, {0xA7, 0xA5D2},
      {0xA8, 0xA5F2}, {0xA9, 0xA5EC}, {0xAA, 0xA5F3}, {0xAB, 0xA5D5}, {0xAC, 0xA5E8},
      {0xAD, 0xA5D8}, {0xAE, 0xA5E4}, {0xAF, 0xA1C4}, {0xB0, 0xA5F5}, {0xB1, 0xA1F4},
      {0xB2, 0xA1FB}, {0xB3, 0xA1D5}, {0xB4, 0xA1BE}, {0xB5, 0xA1C3}, {0xB6, 0xA1C2},
      {0xB9, 0xA1C0}, {0xBE, 0xA1EE}, {0xBF, 0xA9FA}, {0xC0, 0xA9F7}}},
    {0xC9, {{0xA8, 0xA4A9}, {0xA9, 0xA4B1}, {0xAA, 0xA4B2}}},
};
// clang-format on

// Received code -> line-plane codes of the left and right cell.
const std::map<uint16_t, std::pair<char, char>> kBlockCodes = {
    {0xADFC, {'a', 'a'}}, {0xADFD, {'c', 'c'}}, {0xADFE, {'a', ' '}},
    {0xAEA1, {' ', 'a'}}, {0xAEA2, {'b', 'b'}},
};

struct Remapped {
    bool lines;
    uint16_t code;
    LinePair codes;
};

Remapped remap(uint16_t code) {
    uint8_t lead = uint8_t(code >> 8), trail = uint8_t(code);
    LinePair codes{'?', '?'};
    bool lines = RemapSymbol(lead, trail, codes);
    return {lines, uint16_t(lead << 8 | trail), codes};
}

TEST(SymbolRemap, EveryListedCellBecomesItsKsSymbol) {
    int checked = 0;
    for (const auto& [lead, row] : kRewrittenRows) {
        for (const auto& [trail, ks] : row) {
            Remapped r = remap(uint16_t(lead << 8 | trail));
            EXPECT_FALSE(r.lines);
            EXPECT_EQ(r.code, ks) << std::hex << int(lead) << ' ' << int(trail);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 13 + 37 + 24 + 3);
}

TEST(SymbolRemap, BlockCellsBecomeLinePlaneCodes) {
    for (const auto& [code, cells] : kBlockCodes) {
        Remapped r = remap(code);
        EXPECT_TRUE(r.lines) << std::hex << code;
        EXPECT_EQ(r.codes.left, cells.first) << std::hex << code;
        EXPECT_EQ(r.codes.right, cells.second) << std::hex << code;
    }
}

TEST(SymbolRemap, EveryOtherPairStaysAsItIs) {
    for (int lead = 0; lead <= 0xFF; ++lead) {
        auto row = kRewrittenRows.find(uint8_t(lead));
        for (int trail = 0; trail <= 0xFF; ++trail) {
            uint16_t code = uint16_t(lead << 8 | trail);
            bool listed = (row != kRewrittenRows.end() && row->second.count(uint8_t(trail))) ||
                          kBlockCodes.count(code);
            if (listed) continue;
            Remapped r = remap(code);
            ASSERT_FALSE(r.lines) << std::hex << code;
            ASSERT_EQ(r.code, code);
            ASSERT_EQ(r.codes.left, '?');  // untouched when no line-plane codes result
        }
    }
}

TEST(SymbolRemap, NamedCases) {
    EXPECT_EQ(remap(0xADA4).code, 0xA2BE);
    Remapped block = remap(0xAEA2);
    EXPECT_TRUE(block.lines);
    EXPECT_EQ(block.codes.left, 'b');
    EXPECT_EQ(block.codes.right, 'b');
    // Cells drawn from built-in bitmaps keep their code.
    for (uint16_t code : {0xADA1, 0xADA8, 0xADB4, 0xADBD, 0xAEB7, 0xAEBD, 0xAEC1}) {
        EXPECT_EQ(remap(code).code, code) << std::hex << code;
    }
}

}  // namespace
