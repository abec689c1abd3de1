#pragma once
// Where a recording's pictures and sound come from. Pictures are QCIF planar 4:2:0; sound comes
// in buffers of 3200 bytes (200 ms of 8000-Hz 16-bit mono samples). Each source says when it
// has no more.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

constexpr size_t kSoundBufferBytes = 3200;
constexpr int kSoundBufferMs = 200;

class VideoSource {
public:
    virtual ~VideoSource() = default;
    virtual std::optional<std::string> NextPicture() = 0;
};

class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual std::optional<std::string> NextBuffer() = 0;
};

// The moving test pattern, without end.
class PatternVideoSource : public VideoSource {
public:
    std::optional<std::string> NextPicture() override;

private:
    int frame_ = 0;
};

// Whole frames read from a file: raw pictures, or raw samples (a last partial buffer is
// given as it is).
class RawFileSource : public VideoSource, public AudioSource {
public:
    RawFileSource(const std::string& path, size_t unitBytes);
    ~RawFileSource() override;
    bool isOpen() const { return file_ != nullptr; }
    std::optional<std::string> NextPicture() override { return next(false); }
    std::optional<std::string> NextBuffer() override { return next(true); }

private:
    std::optional<std::string> next(bool partialAllowed);
    FILE* file_;
    size_t unitBytes_;
};

// A sine tone at the given pitch, without end.
class ToneAudioSource : public AudioSource {
public:
    explicit ToneAudioSource(double hz) : hz_(hz) {}
    std::optional<std::string> NextBuffer() override;

private:
    double hz_;
    long sample_ = 0;
};
