// The feed-load decoders against the peers' own decoders: pictures made by cjpeg, pnmtopng,
// ppmtobmp and ImageMagick, fed in pieces of 1, 7 and 1024 bytes, equal djpeg's, pngtopam's and
// the source's pixels byte for byte.
#include <gtest/gtest.h>

#include "image/PictureFeed.h"
#include "tests/image/PictureFiles.h"

namespace {

struct Fed {
    Surface picture;
    int rowsReported = 0;
    bool progressive = false;
    bool undecodable = false;
};

Fed feedInPieces(const std::vector<uint8_t>& bytes, size_t piece, bool stallEachPiece = true) {
    Fed fed;
    FeedLoad feed(PictureEvents{[&](int, int, bool progressive) { fed.progressive = progressive; },
                                [&](int, int count) {
                                    fed.rowsReported += count;
                                    return true;
                                }});
    for (size_t at = 0; at < bytes.size(); at += piece) {
        const size_t n = std::min(piece, bytes.size() - at);
        feed.Feed(bytes.data() + at, n, !stallEachPiece && at + n < bytes.size());
    }
    feed.Stop();
    fed.picture = feed.Picture();
    fed.undecodable = feed.Undecodable();
    return fed;
}

struct PeerCase {
    const char* name;
    std::string make;    // shell command from in.ppm to the picture file "pic"
    std::string decode;  // shell command from "pic" to out.pnm; empty: the source's pixels
    bool progressive;
};

class FeedPeers : public ::testing::TestWithParam<PeerCase> {};

TEST_P(FeedPeers, PiecesOfAnySizeGiveThePeersPixels) {
    const PeerCase& c = GetParam();
    ScratchFolder folder;
    const Surface source = seededPhoto(83, 61, 11);
    writePpm(source, folder.path("in.ppm"));
    const std::string cd = "cd " + folder.path() + " && ";
    ASSERT_EQ(runCommand(cd + c.make + " 2>/dev/null"), 0) << c.make;
    Surface want = source;
    if (!c.decode.empty()) {
        ASSERT_EQ(runCommand(cd + c.decode + " > out.pnm"), 0) << c.decode;
        want = readPnm(folder.path("out.pnm"));
    }
    ASSERT_FALSE(want.empty());
    const std::vector<uint8_t> bytes = readFileBytes(folder.path("pic"));
    for (size_t piece : {size_t{1}, size_t{7}, size_t{1024}}) {
        const Fed fed = feedInPieces(bytes, piece);
        EXPECT_FALSE(fed.undecodable);
        EXPECT_EQ(fed.progressive, c.progressive);
        EXPECT_EQ(fed.picture.width, want.width);
        EXPECT_TRUE(fed.picture.pixels == want.pixels) << c.name << " in pieces of " << piece;
        // Progressive pictures show passes while the input stalls, then the last one.
        if (c.progressive) {
            EXPECT_GT(fed.rowsReported, want.height) << piece;
        }
    }
    // With the input never stalling only the final pass is drawn.
    const Fed flowing = feedInPieces(bytes, 1024, false);
    EXPECT_TRUE(flowing.picture.pixels == want.pixels);
    if (std::string(c.name).find("jpeg") != std::string::npos) {
        EXPECT_EQ(flowing.rowsReported, want.height) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FeedPeers,
    ::testing::Values(
        PeerCase{"jpeg_baseline", "cjpeg -quality 85 in.ppm > pic", "djpeg pic", false},
        PeerCase{"jpeg_progressive", "cjpeg -progressive in.ppm > pic", "djpeg pic", true},
        PeerCase{"jpeg_restart", "cjpeg -restart 1 in.ppm > pic", "djpeg pic", false},
        PeerCase{"jpeg_grayscale", "cjpeg -grayscale in.ppm > pic", "djpeg pic", false},
        PeerCase{"jpeg_progressive_grayscale", "cjpeg -progressive -grayscale in.ppm > pic",
                 "djpeg pic", true},
        PeerCase{"png", "pnmtopng in.ppm > pic", "pngtopam pic", false},
        PeerCase{"png_interlaced", "pnmtopng -interlace in.ppm > pic", "pngtopam pic", true},
        PeerCase{"png_grey", "ppmtopgm in.ppm | pnmtopng > pic", "pngtopam pic", false},
        PeerCase{"bmp24", "ppmtobmp -bpp 24 in.ppm > pic", "", false},
        PeerCase{"bmp8_rle",
                 "pnmquant 200 in.ppm > q.ppm && convert-im6.q16 q.ppm -type Palette "
                 "-compress RLE BMP3:pic",
                 "cat q.ppm", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Feed, TruncatedPicturesKeepTheirRows) {
    ScratchFolder folder;
    writePpm(seededPhoto(64, 64, 3), folder.path("in.ppm"));
    ASSERT_EQ(runCommand("cd " + folder.path() + " && cjpeg in.ppm > pic && djpeg pic > out.pnm"),
              0);
    const Surface whole = readPnm(folder.path("out.pnm"));
    std::vector<uint8_t> bytes = readFileBytes(folder.path("pic"));
    bytes.resize(bytes.size() * 2 / 3);
    const Fed fed = feedInPieces(bytes, 100);
    EXPECT_FALSE(fed.undecodable);
    ASSERT_GT(fed.rowsReported, 8);
    ASSERT_LT(fed.rowsReported, 64);
    const size_t kept = static_cast<size_t>(fed.rowsReported - 8) * 64;
    EXPECT_TRUE(
        std::equal(whole.pixels.begin(), whole.pixels.begin() + kept, fed.picture.pixels.begin()));
    EXPECT_EQ(fed.picture.pixels.back(), 0xFFFFFFFFu);  // still the fill colour
}

TEST(Feed, ReceiverCanStopTheDecode) {
    ScratchFolder folder;
    writePpm(seededPhoto(40, 40, 3), folder.path("in.ppm"));
    ASSERT_EQ(runCommand("cd " + folder.path() + " && cjpeg in.ppm > pic"), 0);
    const std::vector<uint8_t> bytes = readFileBytes(folder.path("pic"));
    int calls = 0;
    FeedLoad feed(PictureEvents{nullptr, [&](int, int) { return ++calls < 2; }});
    feed.Feed(bytes.data(), bytes.size());
    feed.Stop();
    EXPECT_EQ(calls, 2);
    EXPECT_LT(feed.RowsDecoded(), 40);
}

TEST(Feed, UnknownAndOversizedPicturesAreUndecodable) {
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_TRUE(feedInPieces(gif, 1).undecodable);
    EXPECT_TRUE(feedInPieces({0xFF}, 1).undecodable);
    // A BMP header claiming 20000 × 10 pixels.
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    bmp[18] = 0x20;
    bmp[19] = 0x4E;
    bmp[22] = 10;
    bmp[26] = 1;
    bmp[28] = 24;
    FeedLoad feed(PictureEvents{});
    feed.Feed(bmp.data(), bmp.size());
    feed.Stop();
    EXPECT_TRUE(feed.Undecodable());
    EXPECT_EQ(feed.FailureText(), "그림이 너무 커서 표시할 수 없습니다.");
}

}  // namespace
