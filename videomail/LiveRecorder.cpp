#include "videomail/LiveRecorder.h"

#include <algorithm>

#include "videomail/Caption.h"
#include "videomail/GsmCoder.h"
#include "videomail/H263Coder.h"
#include "videomail/VmiFormat.h"

namespace {

constexpr int kPicturesPerSecond = 30;
// Stop requests are looked at at least this often while a producer waits.
constexpr int kSleepSliceMs = 10;

}  // namespace

bool LiveRecorder::Start(const std::string& path, VideoSource* video, AudioSource* audio,
                         Preview preview) {
    if (recording_ || !writer_.Create(path)) return false;
    preview_ = std::move(preview);
    start_ = clock_.nowMs();
    stopping_ = false;
    failed_ = false;
    recording_ = true;
    if (video) video_ = std::thread(&LiveRecorder::recordPictures, this, std::ref(*video));
    if (audio) sound_ = std::thread(&LiveRecorder::recordSound, this, std::ref(*audio));
    return true;
}

void LiveRecorder::AddCaption(const std::string& utf8) {
    if (recording_) append(vmi::kCaption, captionRecordData(utf8));
}

bool LiveRecorder::Stop() {
    if (!recording_) return !failed_;
    stopping_ = true;
    if (video_.joinable()) video_.join();
    if (sound_.joinable()) sound_.join();
    recording_ = false;
    return writer_.Close() && !failed_;
}

bool LiveRecorder::sleepUntil(int64_t ms) {
    for (int64_t left; !stopping_ && (left = start_ + ms - clock_.nowMs()) > 0;)
        clock_.sleepMs(static_cast<int>(std::min<int64_t>(left, kSleepSliceMs)));
    return !stopping_;
}

void LiveRecorder::append(uint32_t type, const std::string& data) {
    if (!writer_.AppendRecord(type, data)) failed_ = true;
}

void LiveRecorder::recordPictures(VideoSource& video) {
    H263Encoder encoder;
    for (int n = 0; sleepUntil(int64_t{n} * 1000 / kPicturesPerSecond); ++n) {
        auto picture = video.NextPicture();
        if (!picture) return;
        if (preview_) preview_(*picture);
        if (auto coded = encoder.EncodePicture(*picture)) append(vmi::kVideo, *coded);
    }
}

// A source that captures in real time hands its buffer over when it is full; a synthetic one
// at once, so the thread waits for each buffer's moment first.
void LiveRecorder::recordSound(AudioSource& audio) {
    GsmEncoder encoder;
    for (int n = 1; sleepUntil(int64_t{n} * kSoundBufferMs); ++n) {
        auto buffer = audio.NextBuffer();
        if (!buffer) return;
        for (const std::string& record : encoder.EncodeBuffer(*buffer))
            append(vmi::kSound, record);
    }
}
