#pragma once
// Video records: one QCIF (176 x 144) picture of an H.263 bit stream each, coded and decoded by
// libavcodec. Pictures are planar 4:2:0 (Y, then U, then V, no padding).
#include <optional>
#include <string>
#include <string_view>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace qcif {
constexpr int kWidth = 176;
constexpr int kHeight = 144;
constexpr size_t kPictureBytes = kWidth * kHeight * 3 / 2;
}  // namespace qcif

class H263Encoder {
public:
    H263Encoder();
    ~H263Encoder();
    H263Encoder(const H263Encoder&) = delete;
    H263Encoder& operator=(const H263Encoder&) = delete;

    // The coded picture (never empty, as the coder has no B-frames); nothing on a coder error.
    std::optional<std::string> EncodePicture(std::string_view yuv420);

private:
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    long long pts_ = 0;
};

class H263Decoder {
public:
    H263Decoder();
    ~H263Decoder();
    H263Decoder(const H263Decoder&) = delete;
    H263Decoder& operator=(const H263Decoder&) = delete;

    // The decoded picture as planar 4:2:0; nothing for data that does not decode to a QCIF
    // picture (or is empty: an empty packet would end the decoder's stream).
    std::optional<std::string> DecodePicture(std::string_view coded);

private:
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
};

// Settings the encoder uses, for a peer that must code the same way.
namespace h263settings {
constexpr int kFrameRate = 30;
constexpr int kBitRate = 128000;
constexpr int kGopSize = 30;
}  // namespace h263settings
