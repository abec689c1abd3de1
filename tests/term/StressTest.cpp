// Millions of random bytes, biased towards what makes sequences: the cursor and the region stay
// on the screen, every status code is a known one, and nothing hangs.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "link/MemoryLink.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

namespace {

// Bytes that start or continue sequences come often; any byte can come.
std::string randomBytes(std::mt19937& rng, size_t n) {
    static const std::string alphabet =
        "\x1b\x1b\x1b[[[?=,;;;;0123456789%&#()*B\x18\x18\r\n\x08\t\x84\x85\x8d\x9b"
        "HJKLMPXcghlmnrsuGfABCD@E78Z\xb0\xa1\xa6\xad\xae\x88\x61";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> coin(0, 3);
    std::string out(n, '\0');
    for (char& c : out)
        c = coin(rng) ? alphabet[pick(rng)] : static_cast<char>(any(rng));
    return out;
}

void checkInvariants(const TWView& view) {
    TWPoint c = view.Cursor();
    ASSERT_GE(c.x, 0);
    ASSERT_LT(c.x, TWView::kColumns);
    ASSERT_GE(c.y, 0);
    ASSERT_LT(c.y, view.Rows());
    ASSERT_LE(0, view.RegionTop());
    ASSERT_LE(view.RegionTop(), view.RegionBottom());
    ASSERT_LT(view.RegionBottom(), view.Rows());
    ASSERT_LE(view.HistoryRows(), view.ScreenTop());
}

TEST(Stress, RandomBytesKeepTheCursorAndRegionOnTheScreen) {
    const std::set<int> known = {-802, -806, -807, -808, -809, -810, -811, -812,
                                 -813, -814, -815, -816, -817, -818, -819};
    std::mt19937 rng(20261207);
    size_t total = 0;
    for (int round = 0; round < 12; ++round) {
        MemoryLink link;
        TWView view;
        view.SetRows(1 + round * 9);
        view.SetJohabDisplay(round % 3 == 1);
        view.SetHighlightText(round % 4 == 2 ? "\xb0\xa1q\nB0" : "");
        TWEmulator emulator(&view, &link);
        emulator.SetAnswerEcho(round % 5 == 3);
        emulator.SetJohabSend(round % 3 == 1);
        for (int chunk = 0; chunk < 50; ++chunk) {
            link.Feed(randomBytes(rng, 5000));
            while (link.InputCount() > 0) {
                int r = emulator.GetChar();
                ASSERT_TRUE(r >= 0 || known.count(r)) << r;
            }
            checkInvariants(view);
            for (uint8_t b : randomBytes(rng, 20))
                emulator.PutChar(b);
            link.ClearOutput();
            total += 5000;
        }
    }
    EXPECT_EQ(total, 3000000u);
}

}  // namespace
