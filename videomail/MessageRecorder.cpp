#include "videomail/MessageRecorder.h"

#include <algorithm>

#include "videomail/Caption.h"
#include "videomail/GsmCoder.h"
#include "videomail/H263Coder.h"
#include "videomail/VmiFormat.h"
#include "videomail/VmiWriter.h"

const char* const kRecordFailedText =
    "Cannot write to file. Record failed.\nPlease check the DATA directory.";
const char* const kRecordFailedTitle = "WARNING!";

namespace {

constexpr int kPicturesPerSecond = 30;

// The producers' next moments, from the start of recording.
struct Schedule {
    int picture = 0;  // pictures taken so far
    int sound = 0;    // sound buffers taken so far
    size_t caption = 0;

    int pictureDue() const { return picture * 1000 / kPicturesPerSecond; }
    int soundDue() const { return (sound + 1) * kSoundBufferMs; }
};

class Session {
public:
    Session(const RecordingPlan& plan, Clock& clock)
        : plan_(plan), clock_(clock), writer_(clock), captions_(plan.captions) {
        std::stable_sort(
            captions_.begin(), captions_.end(),
            [](const TimedCaption& a, const TimedCaption& b) { return a.atMs < b.atMs; });
    }

    bool run(const std::string& path) {
        if (!writer_.Create(path)) return false;
        int64_t start = clock_.nowMs();
        bool ok = true;
        while (ok) {
            int due = nextDue();
            if (due > plan_.lengthMs) break;
            clock_.sleepMs(static_cast<int>(start + due - clock_.nowMs()));
            ok = produce(due);
        }
        return writer_.Close() && ok;
    }

private:
    bool pictureLeft() const { return video_ && schedule_.pictureDue() < plan_.lengthMs; }
    bool soundLeft() const { return audio_ && schedule_.soundDue() <= plan_.lengthMs; }

    int nextDue() const {
        int due = plan_.lengthMs + 1;
        if (schedule_.caption < captions_.size())
            due = std::min(due, captions_[schedule_.caption].atMs);
        if (soundLeft()) due = std::min(due, schedule_.soundDue());
        if (pictureLeft()) due = std::min(due, schedule_.pictureDue());
        return due;
    }

    // Runs whichever producer is due at this moment: captions first, then sound, then video.
    bool produce(int due) {
        if (schedule_.caption < captions_.size() && captions_[schedule_.caption].atMs == due)
            return writer_.AppendRecord(vmi::kCaption,
                                        captionRecordData(captions_[schedule_.caption++].utf8));
        if (soundLeft() && schedule_.soundDue() == due) return produceSound();
        return producePicture();
    }

    bool produceSound() {
        ++schedule_.sound;
        auto buffer = audio_->NextBuffer();
        if (!buffer) {
            audio_ = nullptr;
            return true;
        }
        for (const std::string& record : gsm_.EncodeBuffer(*buffer))
            if (!writer_.AppendRecord(vmi::kSound, record)) return false;
        return true;
    }

    bool producePicture() {
        ++schedule_.picture;
        auto picture = video_->NextPicture();
        if (!picture) {
            video_ = nullptr;
            return true;
        }
        auto coded = h263_.EncodePicture(*picture);
        return !coded || writer_.AppendRecord(vmi::kVideo, *coded);
    }

    const RecordingPlan& plan_;
    Clock& clock_;
    VmiWriter writer_;
    std::vector<TimedCaption> captions_;
    VideoSource* video_ = plan_.video;
    AudioSource* audio_ = plan_.audio;
    Schedule schedule_;
    GsmEncoder gsm_;
    H263Encoder h263_;
};

}  // namespace

bool Record(const std::string& path, const RecordingPlan& plan, Clock& clock) {
    return Session(plan, clock).run(path);
}
