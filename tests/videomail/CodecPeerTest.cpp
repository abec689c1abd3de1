// The coders against their reference peers: libgsm's toast and untoast, ffmpeg's H.263 decoder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "VideomailTestSupport.h"
#include "videomail/GsmCoder.h"
#include "videomail/H263Coder.h"
#include "videomail/TestPattern.h"

namespace {

int run(const std::string& command) {
    return std::system(command.c_str());
}

}  // namespace

TEST(GsmPeer, ToastAndUntoastCodeAlike) {
    TempFolder folder;
    // Two tones and a last partial frame, over several records.
    std::string samples = sineSamples(4000, 440) + sineSamples(4050, 1200, 20000);
    writeFile(folder / "in.l", samples);
    ASSERT_EQ(run("toast -l -c '" + folder / "in.l" + "' > '" + folder / "peer.gsm" + "'"), 0);

    GsmEncoder encoder;
    std::string ours;
    for (const std::string& record : encoder.EncodeBuffer(samples))
        ours += record;
    EXPECT_EQ(ours.size(), (samples.size() + 319) / 320 * 33);
    EXPECT_EQ(ours, readFile(folder / "peer.gsm"));

    writeFile(folder / "ours.gsm", ours);
    ASSERT_EQ(run("untoast -l -c '" + folder / "ours.gsm" + "' > '" + folder / "peer.l" + "'"), 0);
    GsmDecoder decoder;
    EXPECT_EQ(decoder.DecodeFrames(ours), readFile(folder / "peer.l"));
}

TEST(H263Peer, FfmpegDecodesOurStreamToOurPictures) {
    TempFolder folder;
    H263Encoder encoder;
    H263Decoder decoder;
    std::string stream, pictures;
    for (int n = 0; n < 45; ++n) {
        auto coded = encoder.EncodePicture(testPatternPicture(n));
        ASSERT_TRUE(coded);
        stream += *coded;
        auto picture = decoder.DecodePicture(*coded);
        ASSERT_TRUE(picture);
        pictures += *picture;
    }
    writeFile(folder / "m.h263", stream);
    ASSERT_EQ(run("ffmpeg -nostdin -v error -f h263 -i '" + folder / "m.h263" +
                  "' -f rawvideo -pix_fmt yuv420p '" + folder / "peer.yuv" + "'"),
              0);
    std::string peer = readFile(folder / "peer.yuv");
    EXPECT_EQ(peer.size(), pictures.size());
    EXPECT_TRUE(peer == pictures);
}
