#pragma once
// Playback without a window: pictures to PNG files and raw RGB24, the decoder's pictures as raw
// 4:2:0, the sound to a WAV file, a line per record on standard output.
#include <cstdio>
#include <string>

#include "videomail/VmiPlayer.h"

struct HeadlessOptions {
    std::string framesFolder;
    std::string rgbPath;
    std::string rawVideoPath;
    std::string wavPath;
    bool events = false;
};

class HeadlessOutput : public PlaybackOutput {
public:
    explicit HeadlessOutput(const HeadlessOptions& options);
    ~HeadlessOutput() override;
    // False when an output file could not be created or written.
    bool ok() const { return ok_; }
    // Writes the WAV file; false on a write error.
    bool finish();

    void PictureDecoded(const std::string& yuv420) override;
    void ShowPicture(const std::string& rgb) override;
    bool QueueSound(const std::string& samples) override;
    void RecordPlayed(const vmi::Record& record, int64_t dueMs, int64_t actualMs) override;
    void PlaybackFinished() override {}

private:
    FILE* openOutput(const std::string& path);
    void write(FILE* file, const std::string& bytes);

    HeadlessOptions options_;
    FILE* rgb_ = nullptr;
    FILE* rawVideo_ = nullptr;
    std::string sound_;
    int shown_ = 0;
    bool ok_ = true;
};
