// Pixels of the board view at each cell size: grid lines, star points, point squares, stones,
// the hover frame, repainting one square, and the saved picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "baduk/BadukDoc.h"
#include "baduk/BoardArt.h"
#include "baduk/BoardGeometry.h"
#include "baduk/BoardPainter.h"
#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "term/RasterGlyphs.h"

namespace {

using namespace BoardGeometry;
constexpr uint32_t kBlack = BoardPainter::kBlack;

const std::string kBlackSymbol = "\xA1\xDC";

void put(CBadukDoc& doc, int column, int row, int flag, const std::string& text) {
    doc.OnChar({column * 2 + 3, row + 1}, flag, reinterpret_cast<const uint8_t*>(text.data()),
               static_cast<int>(text.size()));
}

// The board drawn on a plain texture, so that only what the painter adds is black.
BoardBitmaps plainBitmaps(int b) {
    return {Surface(8, 8, 0xFFC08040u), BoardArt::StoneStrip(b), BoardArt::StoneMask(b)};
}

class BoardPainterTest : public ::testing::TestWithParam<int> {
protected:
    RasterGlyphs glyphs;
};

TEST_P(BoardPainterTest, GridStarPointsAndShadow) {
    const int b = GetParam();
    BoardPainter painter(b, plainBitmaps(b), glyphs);
    const Surface& s = painter.Board();
    ASSERT_EQ(s.width, b * 18 + 60);
    ASSERT_EQ(s.height, b * 18 + 48);
    for (int i = 0; i < 19; ++i) {
        for (int along = 0; along <= 18 * b; ++along) {
            EXPECT_EQ(s.at(kMarginX + i * b, kMarginY + along), kBlack);
            EXPECT_EQ(s.at(kMarginX + along, kMarginY + i * b), kBlack);
        }
    }
    // Between the lines the texture shows, except at the 5 x 5 star points.
    for (int c = 0; c < 18; ++c) {
        for (int r = 0; r < 18; ++r) {
            int x = kMarginX + c * b + b / 2, y = kMarginY + r * b + b / 2;
            EXPECT_EQ(s.at(x, y), 0xFFC08040u);
        }
    }
    for (int c : {3, 9, 15}) {
        for (int r : {3, 9, 15}) {
            int x = kMarginX + c * b, y = kMarginY + r * b;
            for (int d = -2; d <= 2; ++d)
                EXPECT_EQ(s.at(x + d, y + d), kBlack);
            EXPECT_NE(s.at(x + 3, y + 3), kBlack);
        }
    }
    EXPECT_EQ(s.at(s.width - 1, 5), BoardPainter::kButtonShadow);
    EXPECT_EQ(s.at(5, s.height - 6), BoardPainter::kButtonShadow);
    EXPECT_EQ(s.at(5, s.height - 1), BoardPainter::kActiveCaption);
    // The labels put ink above the first row and left of the first column.
    int ink = 0;
    for (int y = 0; y < kMarginY - b / 4; ++y)
        ink += s.at(kMarginX, y) != 0xFFC08040u;
    EXPECT_GT(ink, 0);
}

TEST_P(BoardPainterTest, StonesHoverAndOneSquareRepaints) {
    const int b = GetParam();
    BoardPainter painter(b, plainBitmaps(b), glyphs);
    CBadukDoc doc;
    Surface before = painter.Render(doc, true, {-1, -1});
    EXPECT_EQ(before.pixels, painter.Board().pixels);

    put(doc, 4, 5, 1, kBlackSymbol);
    Surface view = before;
    Rect square = PointSquare(4, 5, b);
    painter.Paint(view, square, doc, false, {-1, -1});
    EXPECT_EQ(view.pixels, painter.Render(doc, false, {-1, -1}).pixels);
    int changed = 0;
    for (int y = 0; y < view.height; ++y)
        for (int x = 0; x < view.width; ++x)
            if (view.at(x, y) != before.at(x, y)) {
                ++changed;
                EXPECT_TRUE(x >= square.left && x < square.right && y >= square.top &&
                            y < square.bottom);
            }
    EXPECT_GT(changed, b * b / 2);
    // The stone's centre is the black stone's pixel, unmarked.
    Surface strip = BoardArt::StoneStrip(b);
    EXPECT_EQ(view.at(square.left + b / 2, square.top + 1),
              strip.at(BoardArt::kStoneBlack * b + b / 2, 1));

    // Hover frame: the square's outline, black, and nothing else.
    Surface hovered = painter.Render(doc, false, {0, 0});
    Rect f = PointSquare(0, 0, b);
    for (int i = 0; i < b; ++i) {
        EXPECT_EQ(hovered.at(f.left + i, f.top), kBlack);
        EXPECT_EQ(hovered.at(f.left + i, f.bottom - 1), kBlack);
        EXPECT_EQ(hovered.at(f.left, f.top + i), kBlack);
        EXPECT_EQ(hovered.at(f.right - 1, f.top + i), kBlack);
    }
    EXPECT_EQ(hovered.at(f.left + 1, f.top + 1), view.at(f.left + 1, f.top + 1));

    // Numbering writes the move number in white on the black stone.
    Surface numbered = painter.Render(doc, true, {-1, -1});
    int white = 0;
    for (int y = square.top; y < square.bottom; ++y)
        for (int x = square.left; x < square.right; ++x)
            white += numbered.at(x, y) == BoardPainter::kWhite;
    EXPECT_GT(white, 0);
}

TEST_P(BoardPainterTest, SavedPictureIsTheViewLessTwoRows) {
    const int b = GetParam();
    BoardPainter painter(b, plainBitmaps(b), glyphs);
    CBadukDoc doc;
    put(doc, 3, 3, 0, kBlackSymbol);
    HDIB dib = painter.PictureDIB(doc, true);
    Surface saved = DIBToBitmap(dib, Palette());
    DestroyDIB(dib);
    Surface view = painter.Render(doc, true, {-1, -1});
    ASSERT_EQ(saved.width, view.width);
    ASSERT_EQ(saved.height, view.height - 2);
    for (int y = 0; y < saved.height; ++y)
        for (int x = 0; x < saved.width; ++x)
            ASSERT_EQ(saved.at(x, y), view.at(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(CellSizes, BoardPainterTest, ::testing::Values(19, 25, 33));

TEST(BoardBitmaps, GeneratedArtworkIsLoaded) {
    for (int b : {19, 25, 33}) {
        BoardBitmaps bitmaps = LoadBoardBitmaps(b);
        EXPECT_EQ(bitmaps.stones.pixels, BoardArt::StoneStrip(b).pixels);
        EXPECT_EQ(bitmaps.mask.pixels, BoardArt::StoneMask(b).pixels);
        EXPECT_TRUE(std::filesystem::exists(BoardArtFolder() + "/S" + std::to_string(b) + ".bmp"));
    }
}

}  // namespace
