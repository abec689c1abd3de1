#pragma once
// Sound records: 8000-Hz 16-bit mono samples (little-endian bytes) coded as GSM 06.10 full-rate
// frames of 33 bytes, 160 samples each, through libgsm. One coder state lasts a whole message.
#include <string>
#include <string_view>
#include <vector>

struct gsm_state;

class GsmEncoder {
public:
    static constexpr size_t kFrameBytes = 33;
    static constexpr size_t kFrameSamplesBytes = 320;
    static constexpr size_t kMaxFramesPerRecord = 30;

    GsmEncoder();
    ~GsmEncoder();
    GsmEncoder(const GsmEncoder&) = delete;
    GsmEncoder& operator=(const GsmEncoder&) = delete;

    // One record's data per 30 frames; a last partial frame is completed with silence.
    std::vector<std::string> EncodeBuffer(std::string_view samples);

private:
    gsm_state* state_;
};

class GsmDecoder {
public:
    GsmDecoder();
    ~GsmDecoder();
    GsmDecoder(const GsmDecoder&) = delete;
    GsmDecoder& operator=(const GsmDecoder&) = delete;

    // 320 bytes of samples per frame; a damaged or incomplete frame gives silence.
    std::string DecodeFrames(std::string_view frames);

private:
    gsm_state* state_;
};
