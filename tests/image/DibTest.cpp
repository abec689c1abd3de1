// The DIB routines on their own: creation, the file checks, result codes, format changes and
// painting, pixel by pixel.
#include <gtest/gtest.h>

#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "image/Paint.h"
#include "tests/image/PictureFiles.h"

namespace {

const uint32_t kMagenta = rgbColor(255, 0, 255);

TEST(Dib, CreateRoundsTheDepthAndSizesTheRows) {
    struct Case {
        int bits, wantBits, colors;
    };
    for (Case c : {Case{0, 1, 2}, {3, 4, 16}, {5, 8, 256}, {16, 24, 0}, {32, 24, 0}}) {
        HDIB dib = CreateDIB(10, 10, c.bits);
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(DIBHeaderOf(dib).bitCount, c.wantBits) << c.bits;
        EXPECT_EQ(DIBNumColors(dib), c.colors);
        EXPECT_EQ(PaletteSize(dib), c.colors * 4);
        EXPECT_EQ(DIBWidth(dib), 10);
        EXPECT_EQ(DIBHeight(dib), 10);
        EXPECT_EQ(FindDIBBits(dib) - dib->bytes.data(), 40 + c.colors * 4);
        DestroyDIB(dib);
    }
    EXPECT_EQ(DIBRowSize(10, 8), 12u);
}

TEST(Dib, CoreHeaderIsReadForSizesAndTable) {
    DIB dib;
    dib.bytes = {12, 0, 0, 0, 7, 0, 5, 0, 1, 0, 4, 0};
    dib.bytes.resize(12 + 16 * 3 + 4 * 5, 0);
    dib.bytes[12 + 3 * 3 + 2] = 200;  // entry 3: red 200
    EXPECT_EQ(DIBWidth(&dib), 7);
    EXPECT_EQ(DIBHeight(&dib), 5);
    EXPECT_EQ(PaletteSize(&dib), 48);
    EXPECT_EQ(CreateDIBPalette(&dib).colors[3], rgbColor(200, 0, 0));
    HDIB trueColour = CreateDIB(2, 2, 24);
    EXPECT_TRUE(CreateDIBPalette(trueColour).empty());
    DestroyDIB(trueColour);
}

std::vector<uint8_t> bmpFile(int width, int height, int bits, uint32_t colors) {
    HDIB dib = CreateDIB(width, height, bits);
    writeLe32(dib->bytes.data() + 32, colors);
    std::vector<uint8_t> file(14, 0);
    writeLe16(file.data(), kBmpMagic);
    file.insert(file.end(), dib->bytes.begin(), dib->bytes.end());
    writeLe32(file.data() + 10, 14 + 40 + (bits == 24 ? 0 : 4 << bits));
    DestroyDIB(dib);
    return file;
}

TEST(Dib, LoadChecksEveryHeaderField) {
    ScratchFolder folder;
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        int width;  // bytes written at `at`
    };
    const Case cases[] = {
        {"not BM", 0, 0x4D43, 2},         {"core header", 14, 12, 4},
        {"two planes", 26, 2, 2},         {"bit count 3", 28, 3, 2},
        {"RLE4 at 8 bits", 30, 2, 4},     {"257 colours", 46, 257, 4},
        {"offset past end", 10, 9999, 4}, {"negative height", 22, 0xFFFFFFF6u, 4},
        {"huge width", 18, 20000, 4},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = bmpFile(10, 10, 8, 0);
        (c.width == 2 ? writeLe16(file.data() + c.at, static_cast<uint16_t>(c.value))
                      : writeLe32(file.data() + c.at, c.value));
        writeFileBytes(folder.path("bad.bmp"), file);
        EXPECT_EQ(LoadDIB(folder.path("bad.bmp")), nullptr) << c.what;
    }
    std::vector<uint8_t> truncated = bmpFile(10, 10, 8, 0);
    truncated.resize(truncated.size() - 1);
    writeFileBytes(folder.path("short.bmp"), truncated);
    EXPECT_EQ(LoadDIB(folder.path("short.bmp")), nullptr);
    EXPECT_EQ(LoadDIB(folder.path("absent.bmp")), nullptr);

    writeFileBytes(folder.path("good.bmp"), bmpFile(10, 10, 8, 0));
    HDIB good = LoadDIB(folder.path("good.bmp"));
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(DIBNumColors(good), 256);
    DestroyDIB(good);
}

TEST(Dib, SaveReportsItsResultsAndRoundTrips) {
    ScratchFolder folder;
    EXPECT_EQ(SaveDIB(nullptr, folder.path("x.bmp")), kSaveNoDib);
    const Surface picture = seededPicture(13, 7, 5, 1);
    HDIB dib = BitmapToDIB(picture, {});
    EXPECT_EQ(SaveDIB(dib, folder.path("none/x.bmp")), kSaveCannotWrite);
    ASSERT_EQ(SaveDIB(dib, folder.path("x.bmp")), kSaveOk);
    const std::vector<uint8_t> file = readFileBytes(folder.path("x.bmp"));
    EXPECT_EQ(readLe32(file.data() + 2), file.size());
    EXPECT_EQ(readLe32(file.data() + 10), 54u);
    HDIB back = LoadDIB(folder.path("x.bmp"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(DIBToBitmap(back, {}).pixels, picture.pixels);
    HDIB grabbed = BitmapToDIB(Surface(2, 2), {});
    EXPECT_EQ(DIBHeaderOf(grabbed).bitCount, 24);
    DestroyDIB(grabbed);
    DestroyDIB(dib);
    DestroyDIB(back);
}

TEST(Dib, FormatChangesAllowedAndLossless) {
    HDIB source = BitmapToDIB(seededPicture(37, 11, 16, 2), {});
    struct Case {
        int bits;
        uint32_t compression;
        bool allowed;
    };
    const Case cases[] = {{1, kBiRgb, true},    {4, kBiRgb, true},   {4, kBiRle4, true},
                          {8, kBiRgb, true},    {8, kBiRle8, true},  {24, kBiRgb, true},
                          {0, kBiRgb, true},    {4, kBiRle8, false}, {8, kBiRle4, false},
                          {24, kBiRle8, false}, {2, kBiRgb, false},  {16, kBiRgb, false},
                          {1, kBiRle4, false}};
    for (const Case& c : cases) {
        HDIB changed = ChangeDIBFormat(source, c.bits, c.compression);
        EXPECT_EQ(changed != nullptr, c.allowed) << c.bits << "/" << c.compression;
        if (changed) {
            EXPECT_EQ(DIBHeaderOf(changed).bitCount, c.bits ? c.bits : 24);
            EXPECT_EQ(DIBHeaderOf(changed).compression, c.compression);
        }
        DestroyDIB(changed);
    }
    // Re-encoding an indexed DIB keeps its own table, so nothing is lost either way.
    HDIB indexed = ChangeDIBFormat(source, 8, kBiRgb);
    const Surface shown = DIBToBitmap(indexed, {});
    for (auto [bits, compression] : {std::pair{8, kBiRle8}, {8, kBiRgb}}) {
        HDIB rle = ChangeDIBFormat(indexed, bits, compression);
        EXPECT_EQ(DIBToBitmap(rle, {}).pixels, shown.pixels);
        HDIB back = ChangeDIBFormat(rle, 8, kBiRgb);
        EXPECT_EQ(DIBToBitmap(back, {}).pixels, shown.pixels);
        DestroyDIB(rle);
        DestroyDIB(back);
    }
    DestroyDIB(indexed);
    DestroyDIB(source);
}

TEST(Dib, FewerBitsTakeTheNearestStandardColour) {
    Surface picture(4, 1);
    picture.pixels = {rgbColor(250, 5, 5), rgbColor(10, 10, 10), rgbColor(140, 150, 145),
                      rgbColor(200, 200, 200)};
    HDIB four = ChangeBitmapFormat(picture, 4, kBiRle4, {});
    const std::vector<uint32_t> want4 = {rgbColor(255, 0, 0), rgbColor(0, 0, 0),
                                         rgbColor(128, 128, 128), rgbColor(192, 192, 192)};
    EXPECT_EQ(DIBToBitmap(four, {}).pixels, want4);
    HDIB one = ChangeBitmapFormat(picture, 1, kBiRgb, {});
    const std::vector<uint32_t> want1 = {rgbColor(0, 0, 0), rgbColor(0, 0, 0),
                                         rgbColor(255, 255, 255), rgbColor(255, 255, 255)};
    EXPECT_EQ(DIBToBitmap(one, {}).pixels, want1);
    HDIB eight = ChangeBitmapFormat(picture, 8, kBiRle8, {});
    EXPECT_EQ(DIBToBitmap(eight, {}).pixels[0], rgbColor(255, 0, 0));
    EXPECT_EQ(GetPalette(picture).colors.size(), 256u);
    DestroyDIB(four);
    DestroyDIB(one);
    DestroyDIB(eight);
}

TEST(Paint, TileRectWithOffsetStartsInsideTheTile) {
    Surface tile(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            tile.at(x, y) = rgbColor(x, y, 0);
    Surface dc(100, 50);
    Rect rect{40, 0, 90, 40};
    PaintTileRect(dc, tile, rect, 8, {});
    EXPECT_EQ(dc.at(40, 0), rgbColor(8, 8, 0));
    EXPECT_EQ(dc.at(64, 24), rgbColor(0, 0, 0));  // x 64 and row 24 + 8 wrap to 0
    EXPECT_EQ(dc.at(89, 39), rgbColor(89 % 32, (39 + 8) % 32, 0));
    EXPECT_EQ(dc.at(39, 0), 0xFF000000u);
    Rect negative{-5, 0, 10, 2};
    PaintTileRect(dc, tile, negative, -1, {});
    EXPECT_EQ(negative.left, 0);
    EXPECT_EQ(dc.at(0, 0), rgbColor(0, 31, 0));

    Surface plain(70, 70);
    PaintTileRect(plain, tile, Rect{5, 6, 70, 70}, {});
    EXPECT_EQ(plain.at(5, 6), rgbColor(0, 0, 0));
    EXPECT_EQ(plain.at(40, 40), rgbColor(3, 2, 0));
    EXPECT_EQ(plain.at(4, 6), 0xFF000000u);
}

TEST(Paint, TransparentLeavesTheTopLeftColourOut) {
    Surface sprite(3, 2, kMagenta);
    sprite.at(1, 0) = rgbColor(1, 2, 3);
    sprite.at(2, 1) = rgbColor(4, 5, 6);
    Surface dc(5, 5, rgbColor(9, 9, 9));
    DrawTransparent(dc, sprite, Point{1, 1}, 0);
    EXPECT_EQ(dc.at(1, 1), rgbColor(9, 9, 9));
    EXPECT_EQ(dc.at(2, 1), rgbColor(1, 2, 3));
    EXPECT_EQ(dc.at(3, 2), rgbColor(4, 5, 6));
    EXPECT_EQ(dc.at(2, 2), rgbColor(9, 9, 9));
}

TEST(Paint, CopiesAndStretches) {
    const Surface picture = seededPicture(4, 2, 8, 3);
    Surface dc(10, 10);
    PaintBitmap(dc, picture, Point{-1, 9}, {});
    EXPECT_EQ(dc.at(0, 9), picture.at(1, 0));
    Surface big(8, 4);
    PaintBitmap(big, Rect{0, 0, 8, 4}, picture, Rect{0, 0, 4, 2}, {});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(big.at(x, y), picture.at(x / 2, y / 2));
    HDIB dib = BitmapToDIB(picture, {});
    Surface fromDib(4, 2);
    PaintDIB(fromDib, Rect{0, 0, 2, 1}, dib, Rect{2, 1, 4, 2}, {});
    EXPECT_EQ(fromDib.at(0, 0), picture.at(2, 1));
    EXPECT_EQ(fromDib.at(1, 0), picture.at(3, 1));
    DestroyDIB(dib);
}

}  // namespace
