#include "videomail/MediaSources.h"

#include <cmath>
#include <cstdint>

#include "videomail/TestPattern.h"

std::optional<std::string> PatternVideoSource::NextPicture() {
    return testPatternPicture(frame_++);
}

RawFileSource::RawFileSource(const std::string& path, size_t unitBytes)
    : file_(fopen(path.c_str(), "rb")), unitBytes_(unitBytes) {}

RawFileSource::~RawFileSource() {
    if (file_) fclose(file_);
}

std::optional<std::string> RawFileSource::next(bool partialAllowed) {
    if (!file_) return std::nullopt;
    std::string unit(unitBytes_, '\0');
    size_t got = fread(unit.data(), 1, unit.size(), file_);
    if (got == unit.size() || (partialAllowed && got > 0)) return unit.substr(0, got);
    return std::nullopt;
}

std::optional<std::string> ToneAudioSource::NextBuffer() {
    constexpr double kAmplitude = 8000;
    std::string buffer;
    buffer.reserve(kSoundBufferBytes);
    for (size_t i = 0; i < kSoundBufferBytes / 2; ++i, ++sample_) {
        auto value = static_cast<int16_t>(
            std::lround(kAmplitude * std::sin(2 * M_PI * hz_ * sample_ / 8000.0)));
        buffer += static_cast<char>(value & 0xFF);
        buffer += static_cast<char>((value >> 8) & 0xFF);
    }
    return buffer;
}
