// Bad input: pictures cut short and with bytes changed, and random inline packet streams, go
// through the decoders and the DImage document without harm (the sanitizers watch); what was
// decoded before the damage stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "image/DImageDoc.h"
#include "image/PictureFeed.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/image/PictureFiles.h"

namespace {

void feedAll(const std::vector<uint8_t>& bytes, size_t piece) {
    FeedLoad feed(PictureEvents{});
    for (size_t at = 0; at < bytes.size(); at += piece)
        feed.Feed(bytes.data() + at, std::min(piece, bytes.size() - at));
    feed.Stop();
    EXPECT_TRUE(feed.Undecodable() || feed.SizeKnown());
}

TEST(BadInput, CutAndDamagedPictures) {
    ScratchFolder folder;
    writePpm(seededPhoto(48, 40, 8), folder.path("in.ppm"));
    const char* makers[] = {"cjpeg in.ppm > pic",
                            "cjpeg -progressive in.ppm > pic",
                            "pnmtopng in.ppm > pic 2>/dev/null",
                            "pnmtopng -interlace in.ppm > pic 2>/dev/null",
                            "ppmtobmp -bpp 24 in.ppm > pic 2>/dev/null",
                            "pnmquant 60 in.ppm 2>/dev/null | convert-im6.q16 - -type Palette "
                            "-compress RLE BMP3:pic"};
    std::mt19937 random(17);
    for (const char* make : makers) {
        ASSERT_EQ(runCommand("cd " + folder.path() + " && " + make), 0) << make;
        const std::vector<uint8_t> whole = readFileBytes(folder.path("pic"));
        for (int part = 1; part < 8; ++part) {
            std::vector<uint8_t> cut(whole.begin(), whole.begin() + whole.size() * part / 8);
            feedAll(cut, 7);
        }
        for (int round = 0; round < 30; ++round) {
            std::vector<uint8_t> damaged = whole;
            for (int n = 0; n < 1 + round % 5; ++n)
                damaged[2 + random() % (damaged.size() - 2)] = static_cast<uint8_t>(random());
            feedAll(damaged, 1 + random() % 1024);
        }
    }
}

TEST(BadInput, RandomPacketStreams) {
    // Bytes drawn mostly from what the protocol gives meaning to.
    const uint8_t alphabet[] = {1, 13, '#', 'A', 'D', 'Z', 'H', '@', '1', ' ', 0xFF, 0xD8, 0};
    std::mt19937 random(23);
    for (int round = 0; round < 60; ++round) {
        std::string stream;
        const size_t length = 200 + random() % 6000;
        for (size_t i = 0; i < length; ++i)
            stream += static_cast<char>(random() % 3 ? alphabet[random() % sizeof alphabet]
                                                     : random() % 256);
        size_t next = 0;
        FakeClock clock;
        std::string answers;
        VNImageHooks hooks{[&] { return next < stream.size() ? uint8_t(stream[next++]) : -1; },
                           [&](int b) { answers += static_cast<char>(b); }, [](int) {},
                           [](const DImageDoc&) { return 0; }};
        DImageDoc doc(hooks, clock, true, std::filesystem::temp_directory_path().string());
        for (int pass = 0; pass < 100 && doc.State() != DImageDoc::kFinished; ++pass) {
            doc.Pump();
            doc.DecodeSlice();
            clock.advance(DImageDoc::kStallCancelMs);
        }
        doc.DecodeAll();
        EXPECT_EQ(doc.State(), DImageDoc::kFinished) << round;
        EXPECT_LE(doc.BadPackets(), DImageDoc::kBadPacketLimit) << round;
    }
}

}  // namespace
