// BMP files against netpbm and ImageMagick: what ppmtobmp and ImageMagick's RLE8 writer make is
// read to the pixel, and what SaveDIB and ChangeDIBFormat write reads back through bmptopnm.
#include <gtest/gtest.h>

#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "tests/image/PictureFiles.h"

namespace {

Surface loadShown(const std::string& path) {
    HDIB dib = LoadDIB(path);
    if (!dib) return {};
    Surface shown = DIBToBitmap(dib, {});
    DestroyDIB(dib);
    return shown;
}

TEST(BmpPeers, PpmtobmpFilesLoadExactly) {
    ScratchFolder folder;
    struct Case {
        int bpp, colors;
    };
    for (Case c : {Case{1, 2}, {4, 16}, {8, 200}, {24, 0}}) {
        const Surface picture =
            c.colors ? seededPicture(45, 17, c.colors, c.bpp) : seededPhoto(45, 17, 7);
        writePpm(picture, folder.path("in.ppm"));
        ASSERT_EQ(
            runCommand("ppmtobmp -bpp " + std::to_string(c.bpp) + " " + folder.path("in.ppm") +
                       " > " + folder.path("in.bmp") + " 2>/dev/null"),
            0);
        EXPECT_EQ(loadShown(folder.path("in.bmp")).pixels, picture.pixels) << c.bpp;
    }
    ASSERT_EQ(runCommand("ppmtobmp -os2 " + folder.path("in.ppm") + " > " + folder.path("os2.bmp") +
                         " 2>/dev/null"),
              0);
    EXPECT_EQ(LoadDIB(folder.path("os2.bmp")), nullptr);
}

TEST(BmpPeers, ImageMagickRle8Loads) {
    ScratchFolder folder;
    const Surface picture = seededPicture(61, 23, 40, 9);
    writePpm(picture, folder.path("in.ppm"));
    ASSERT_EQ(runCommand("convert-im6.q16 " + folder.path("in.ppm") +
                         " -type Palette -compress RLE BMP3:" + folder.path("rle.bmp")),
              0);
    HDIB dib = LoadDIB(folder.path("rle.bmp"));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(DIBHeaderOf(dib).compression, kBiRle8);
    EXPECT_EQ(DIBToBitmap(dib, {}).pixels, picture.pixels);
    DestroyDIB(dib);
}

// Every format ChangeDIBFormat writes: bmptopnm sees the pixels we decode, and an indexed
// source with its own table comes out unchanged.
TEST(BmpPeers, BmptopnmReadsWhatWeWrite) {
    ScratchFolder folder;
    const Surface picture = seededPicture(53, 19, 14, 4);
    writePpm(picture, folder.path("in.ppm"));
    ASSERT_EQ(runCommand("ppmtobmp -bpp 4 " + folder.path("in.ppm") + " > " +
                         folder.path("in4.bmp") + " 2>/dev/null"),
              0);
    HDIB indexed = LoadDIB(folder.path("in4.bmp"));
    ASSERT_NE(indexed, nullptr);
    HDIB photo = BitmapToDIB(seededPhoto(53, 19, 5), {});
    struct Case {
        HDIB source;
        int bits;
        uint32_t compression;
        bool exact;
    };
    const Case cases[] = {
        {indexed, 4, kBiRle4, true}, {indexed, 4, kBiRgb, true},  {indexed, 8, kBiRle8, true},
        {indexed, 8, kBiRgb, true},  {indexed, 24, kBiRgb, true}, {photo, 1, kBiRgb, false},
        {photo, 4, kBiRle4, false},  {photo, 8, kBiRle8, false},  {photo, 24, kBiRgb, true}};
    for (const Case& c : cases) {
        HDIB changed = ChangeDIBFormat(c.source, c.bits, c.compression);
        ASSERT_NE(changed, nullptr);
        ASSERT_EQ(SaveDIB(changed, folder.path("out.bmp")), kSaveOk);
        ASSERT_EQ(runCommand("bmptopnm " + folder.path("out.bmp") + " > " + folder.path("out.pnm") +
                             " 2>/dev/null"),
                  0)
            << c.bits << "/" << c.compression;
        const Surface peer = readPnm(folder.path("out.pnm"));
        const Surface ours = DIBToBitmap(changed, {});
        EXPECT_EQ(peer.pixels, ours.pixels) << c.bits << "/" << c.compression;
        if (c.exact) {
            EXPECT_EQ(ours.pixels, DIBToBitmap(c.source, {}).pixels);
        }
        DestroyDIB(changed);
    }
    DestroyDIB(indexed);
    DestroyDIB(photo);
}

}  // namespace
