// yuvconv against ffmpeg's scaler with the same (bilinear) flags, byte for byte, and the cut and
// colours it must produce.
#include <gtest/gtest.h>

#include <cstdlib>

#include "VideomailTestSupport.h"
#include "videomail/YuvConv.h"

namespace {

// Smooth gradients with some texture, the same for every run.
std::string frameBytes(size_t size, int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 / 5 + (i * seed) % 23);
    return bytes;
}

std::string ffmpeg(const std::string& in, const std::string& inFormat, int width, int height,
                   const std::string& filter, const std::string& outFormat) {
    std::string out = in + ".out";
    std::string command = "ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt " + inFormat + " -s " +
                          std::to_string(width) + "x" + std::to_string(height) + " -i '" + in +
                          "' " + filter + " -sws_flags bilinear -pix_fmt " + outFormat +
                          " -f rawvideo '" + out + "'";
    return std::system(command.c_str()) == 0 ? readFile(out) : "ffmpeg failed";
}

struct Cut {
    int x, y, width, height;
    std::string filter() const {
        return std::to_string(width) + ":" + std::to_string(height) + ":" + std::to_string(x) +
               ":" + std::to_string(y);
    }
    std::string packedBytes(const std::string& frame, int frameWidth) const {
        size_t stride = (frameWidth + 1) / 2 * 4;
        std::string bytes;
        for (int row = y; row < y + height; ++row)
            bytes += frame.substr(row * stride + x * 2, width * 2);
        return bytes;
    }
};

}  // namespace

TEST(YuvConvPeer, CutsAndScalesToQcifAsFfmpeg) {
    struct Case {
        YuvLayout layout;
        const char* format;
        int width, height;
        Cut cut;  // the centre 11:9 cut
    } cases[] = {
        {YuvLayout::Yuyv, "yuyv422", 640, 480, {26, 0, 586, 480}},
        {YuvLayout::Uyvy, "uyvy422", 320, 240, {14, 0, 292, 240}},
        {YuvLayout::Yuyv, "yuyv422", 176, 144, {0, 0, 176, 144}},
        {YuvLayout::Uyvy, "uyvy422", 91, 200, {0, 62, 90, 74}},
        {YuvLayout::Planar420, "yuv420p", 352, 288, {0, 0, 352, 288}},
        {YuvLayout::Planar420, "yuv420p", 1280, 720, {200, 0, 880, 720}},
        {YuvLayout::Planar420, "yuv420p", 161, 243, {0, 56, 160, 130}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        std::string frame = frameBytes(yuvFrameBytes(c.layout, c.width, c.height), c.width);
        writeFile(folder / "in", frame);
        auto ours = yuvToQcif420(c.layout, c.width, c.height, frame);
        ASSERT_TRUE(ours) << c.format << " " << c.width;
        EXPECT_EQ(ours->size(), 176u * 144 * 3 / 2);
        // ffmpeg's crop filter takes no packed 4:2:2 (it would convert before cutting), so the
        // cut of those is handed to ffmpeg already made.
        std::string expected;
        if (c.layout == YuvLayout::Planar420) {
            expected = ffmpeg(folder / "in", c.format, c.width, c.height,
                              "-vf crop=" + c.cut.filter() + ",scale=176:144", "yuv420p");
        } else {
            writeFile(folder / "cut", c.cut.packedBytes(frame, c.width));
            expected = ffmpeg(folder / "cut", c.format, c.cut.width, c.cut.height,
                              "-vf scale=176:144", "yuv420p");
        }
        EXPECT_TRUE(*ours == expected) << c.format << " " << c.width << "x" << c.height;
    }
}

TEST(YuvConvPeer, ConvertsBetween420AndRgbAsFfmpeg) {
    TempFolder folder;
    // Even sizes: for an odd width, ffmpeg's RGB reader pairs the last pixel with whatever
    // follows the line.
    for (auto [width, height] : {std::pair{176, 144}, std::pair{34, 18}}) {
        std::string picture = frameBytes(yuvFrameBytes(YuvLayout::Planar420, width, height), 3);
        writeFile(folder / "in", picture);
        auto rgb = yuv420ToRgb24(width, height, picture);
        ASSERT_TRUE(rgb);
        EXPECT_TRUE(*rgb == ffmpeg(folder / "in", "yuv420p", width, height, "", "rgb24")) << width;
        writeFile(folder / "rgb", *rgb);
        auto back = rgb24ToYuv420(width, height, *rgb);
        ASSERT_TRUE(back);
        EXPECT_TRUE(*back == ffmpeg(folder / "rgb", "rgb24", width, height, "", "yuv420p"))
            << width;
    }
}

TEST(YuvConv, LimitedRangeColoursAndTheCentreCut) {
    // A wide frame: white in its 11:9 middle, black bars either side that the cut removes.
    int width = 320, height = 144;
    std::string frame(yuvFrameBytes(YuvLayout::Planar420, width, height), '\x80');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame[y * width + x] = x < 72 || x >= 248 ? 16 : 235;
    auto qcif = yuvToQcif420(YuvLayout::Planar420, width, height, frame);
    ASSERT_TRUE(qcif);
    EXPECT_EQ(qcif->substr(0, 176 * 144), std::string(176 * 144, '\xEB'));
    auto rgb = yuv420ToRgb24(176, 144, *qcif);
    ASSERT_TRUE(rgb);
    EXPECT_EQ(*rgb, std::string(176 * 144 * 3, '\xFF'));

    std::string black(yuvFrameBytes(YuvLayout::Planar420, 4, 4), '\x80');
    black.replace(0, 16, 16, '\x10');
    EXPECT_EQ(*yuv420ToRgb24(4, 4, black), std::string(48, '\0'));
    EXPECT_EQ(*rgb24ToYuv420(4, 4, std::string(48, '\0')), black);
    // An odd width converts the same on every call.
    std::string odd = frameBytes(33 * 17 * 3, 5);
    EXPECT_EQ(rgb24ToYuv420(33, 17, odd), rgb24ToYuv420(33, 17, odd));
}

TEST(YuvConv, RefusesFramesOfTheWrongSize) {
    EXPECT_FALSE(yuvToQcif420(YuvLayout::Yuyv, 4, 4, std::string(31, '\0')));
    EXPECT_FALSE(yuvToQcif420(YuvLayout::Yuyv, 0, 4, ""));
    EXPECT_FALSE(yuvToQcif420(YuvLayout::Planar420, -2, -2, std::string(6, '\0')));
    EXPECT_FALSE(yuv420ToRgb24(176, 144, std::string(100, '\0')));
    EXPECT_FALSE(rgb24ToYuv420(2, 2, std::string(11, '\0')));
    EXPECT_FALSE(yuv420ToRgb24(1, 1, std::string(3, '\0')));
    EXPECT_EQ(yuvFrameBytes(YuvLayout::Yuyv, 3, 2), 16u);
    EXPECT_EQ(yuvFrameBytes(YuvLayout::Planar420, 3, 3), 17u);
}
