// Sound and picture coders and caption texts.
#include <gtest/gtest.h>

#include <cmath>

#include "VideomailTestSupport.h"
#include "videomail/Caption.h"
#include "videomail/GsmCoder.h"
#include "videomail/H263Coder.h"
#include "videomail/TestPattern.h"

namespace {

double lumaPsnr(const std::string& a, const std::string& b) {
    double sum = 0;
    for (int i = 0; i < qcif::kWidth * qcif::kHeight; ++i) {
        double d = static_cast<uint8_t>(a[i]) - static_cast<uint8_t>(b[i]);
        sum += d * d;
    }
    double mse = sum / (qcif::kWidth * qcif::kHeight);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace

TEST(GsmEncoder, FramesPerBufferAndRecordSplit) {
    struct Case {
        size_t bytes;
        std::vector<size_t> records;
    } cases[] = {
        {0, {}},       {1, {33}},     {320, {33}},       {321, {66}},
        {3200, {330}}, {9600, {990}}, {9601, {990, 33}}, {32000, {990, 990, 990, 330}},
    };
    for (const Case& c : cases) {
        GsmEncoder encoder;
        std::vector<size_t> sizes;
        for (const std::string& record :
             encoder.EncodeBuffer(sineSamples(c.bytes / 2, 440) + std::string(c.bytes % 2, '\x01')))
            sizes.push_back(record.size());
        EXPECT_EQ(sizes, c.records) << c.bytes;
    }
}

TEST(GsmEncoder, CompletesALastPartialFrameWithSilence) {
    std::string samples = sineSamples(100, 440);
    GsmEncoder partial, padded;
    EXPECT_EQ(partial.EncodeBuffer(samples), padded.EncodeBuffer(samples + std::string(120, '\0')));
}

TEST(GsmDecoder, RestoresATone) {
    std::string tone = sineSamples(8000, 440);
    GsmEncoder encoder;
    GsmDecoder decoder;
    std::string decoded;
    for (const std::string& record : encoder.EncodeBuffer(tone))
        decoded += decoder.DecodeFrames(record);
    ASSERT_EQ(decoded.size(), tone.size());
    double signal = 0, noise = 0;
    for (size_t i = 800; i + 1 < tone.size(); i += 2) {
        double a = static_cast<int16_t>(static_cast<uint8_t>(tone[i]) | tone[i + 1] << 8);
        double b = static_cast<int16_t>(static_cast<uint8_t>(decoded[i]) | decoded[i + 1] << 8);
        signal += a * a;
        noise += (a - b) * (a - b);
    }
    EXPECT_GT(10 * std::log10(signal / noise), 5.0);
}

TEST(GsmDecoder, PlaysDamagedFramesAsSilence) {
    GsmEncoder encoder;
    std::string frames = encoder.EncodeBuffer(sineSamples(480, 440))[0];
    frames[33] = '\x00';  // the second frame loses its signature nibble
    frames += "short";    // and an incomplete frame follows the third
    GsmDecoder decoder;
    std::string samples = decoder.DecodeFrames(frames);
    ASSERT_EQ(samples.size(), 4u * 320);
    EXPECT_NE(samples.substr(0, 320), std::string(320, '\0'));
    EXPECT_EQ(samples.substr(320, 320), std::string(320, '\0'));
    EXPECT_EQ(samples.substr(960), std::string(320, '\0'));
}

TEST(H263, CodesTheTestPatternAndSurvivesDamage) {
    H263Encoder encoder;
    H263Decoder decoder;
    for (int n = 0; n < 40; ++n) {
        std::string picture = testPatternPicture(n);
        auto coded = encoder.EncodePicture(picture);
        ASSERT_TRUE(coded && !coded->empty()) << n;
        auto decoded = decoder.DecodePicture(*coded);
        ASSERT_TRUE(decoded) << n;
        ASSERT_EQ(decoded->size(), qcif::kPictureBytes);
        EXPECT_GT(lumaPsnr(picture, *decoded), 25.0) << n;
    }
    EXPECT_FALSE(encoder.EncodePicture("too short"));
    EXPECT_FALSE(decoder.DecodePicture(""));
    // Noise and a picture cut short decode to something or nothing, never a crash, and the
    // decoder still decodes whole pictures afterwards.
    std::string noise;
    for (int i = 0; i < 3000; ++i)
        noise += static_cast<char>(i * 7919 % 251);
    decoder.DecodePicture(noise);
    auto coded = encoder.EncodePicture(testPatternPicture(40));
    decoder.DecodePicture(coded->substr(0, coded->size() / 3));
    H263Encoder fresh;
    auto key = fresh.EncodePicture(testPatternPicture(41));
    auto decoded = decoder.DecodePicture(*key);
    ASSERT_TRUE(decoded);
    EXPECT_GT(lumaPsnr(testPatternPicture(41), *decoded), 25.0);
}

TEST(Caption, RecordData) {
    struct Case {
        std::string typed;
        std::string record;
    } cases[] = {
        {"hello", "hello"},
        {"", "."},
        {"\xEC\x95\x88\xEB\x85\x95", "\xBE\xC8\xB3\xE7"},  // 안녕
        {std::string(300, 'a'), std::string(255, 'a')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(captionRecordData(c.typed), c.record) << c.typed;
    // 127 Hangul syllables fill 254 bytes; a 128th would be cut in half, so it is left out.
    std::string hangul;
    for (int i = 0; i < 130; ++i)
        hangul += "\xEA\xB0\x80";  // 가
    std::string cp949 = captionRecordData(hangul);
    EXPECT_EQ(cp949.size(), 254u);
    EXPECT_EQ(cutCaption("a" + cp949.substr(0, 254) + "b"), "a" + cp949.substr(0, 254));
    EXPECT_EQ(cutCaption("\xB0"), "");
}
