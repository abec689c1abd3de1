#include "videomail/GsmCoder.h"

#include <gsm/gsm.h>

#include <algorithm>
#include <cstdint>

GsmEncoder::GsmEncoder() : state_(gsm_create()) {}
GsmEncoder::~GsmEncoder() {
    gsm_destroy(state_);
}

std::vector<std::string> GsmEncoder::EncodeBuffer(std::string_view samples) {
    std::vector<std::string> records;
    for (size_t at = 0; at < samples.size(); at += kFrameSamplesBytes) {
        if (records.empty() || records.back().size() == kMaxFramesPerRecord * kFrameBytes)
            records.emplace_back();
        gsm_signal frame[160] = {};
        size_t bytes = std::min(kFrameSamplesBytes, samples.size() - at);
        for (size_t i = 0; i + 1 < bytes; i += 2)
            frame[i / 2] = static_cast<int16_t>(static_cast<uint8_t>(samples[at + i]) |
                                                static_cast<uint8_t>(samples[at + i + 1]) << 8);
        gsm_byte coded[kFrameBytes];
        gsm_encode(state_, frame, coded);
        records.back().append(reinterpret_cast<char*>(coded), kFrameBytes);
    }
    return records;
}

GsmDecoder::GsmDecoder() : state_(gsm_create()) {}
GsmDecoder::~GsmDecoder() {
    gsm_destroy(state_);
}

std::string GsmDecoder::DecodeFrames(std::string_view frames) {
    constexpr size_t kFrameBytes = GsmEncoder::kFrameBytes;
    std::string samples;
    for (size_t at = 0; at < frames.size(); at += kFrameBytes) {
        gsm_signal frame[160] = {};
        gsm_byte coded[kFrameBytes];
        bool whole = frames.size() - at >= kFrameBytes;
        if (whole) std::copy_n(frames.data() + at, kFrameBytes, reinterpret_cast<char*>(coded));
        if (!whole || gsm_decode(state_, coded, frame) != 0) std::fill_n(frame, 160, 0);
        for (gsm_signal sample : frame) {
            samples += static_cast<char>(sample & 0xFF);
            samples += static_cast<char>((sample >> 8) & 0xFF);
        }
    }
    return samples;
}
