#include "videomail/VmiPlayer.h"

#include <algorithm>
#include <optional>

#include "videomail/Caption.h"
#include "videomail/GsmCoder.h"
#include "videomail/H263Coder.h"
#include "videomail/VmiReader.h"
#include "videomail/YuvConv.h"

namespace {

// Stop requests are looked at at least this often while waiting.
constexpr int kWaitSliceMs = 5;

int64_t samplesMs(const std::string& samples) {
    return samples.size() / 16;
}

// A lead time that makes any moment already past.
constexpr int64_t kNoWait = int64_t{1} << 40;

}  // namespace

// What the reading thread keeps from record to record.
struct VmiPlayer::Playback {
    H263Decoder video;
    GsmDecoder sound;
    bool soundOpen = true;
    std::string caption;  // CP949, empty for none
    std::string picture;  // the last decoded, planar 4:2:0
    int64_t start = 0;
    int64_t soundEnd = 0;  // when the queued sound will have played
};

VmiPlayer::VmiPlayer(Clock& clock, PlaybackOutput& output, CaptionDrawer drawCaption)
    : clock_(clock), output_(output), drawCaption_(std::move(drawCaption)) {}

VmiPlayer::~VmiPlayer() {
    Stop();
}

bool VmiPlayer::Play(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (playing_) return true;
    if (thread_.joinable()) thread_.join();
    uint64_t base = findMessageStart(path);
    VmiReader probe;
    if (!probe.Open(path, base)) return false;
    stop_ = false;
    playing_ = true;
    thread_ = std::thread(&VmiPlayer::run, this, path, base);
    return true;
}

void VmiPlayer::Stop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void VmiPlayer::show(const Playback& playback) {
    auto rgb = yuv420ToRgb24(qcif::kWidth, qcif::kHeight, playback.picture);
    if (!rgb) return;
    if (!playback.caption.empty()) drawCaption_(*rgb, playback.caption, opaque_);
    output_.ShowPicture(*rgb);
}

void VmiPlayer::Wait() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) thread_.join();
}

bool VmiPlayer::waitUntil(int64_t ms) {
    if (!pacing_) return !stop_;
    for (int64_t left; !stop_ && (left = ms - clock_.nowMs()) > 0;)
        clock_.sleepMs(static_cast<int>(std::min<int64_t>(left, kWaitSliceMs)));
    return !stop_;
}

// Each record is due at its stamp's distance from the first record's (stamps may wrap; a gap
// counts at most kMaxGapMs). Pictures and captions are handled when due, sound kSoundLeadMs
// before; the end waits until the queued sound has played.
void VmiPlayer::run(std::string path, uint64_t base) {
    VmiReader reader;
    reader.Open(path, base);
    Playback playback;
    playback.start = clock_.nowMs();
    playback.soundEnd = playback.start;
    int64_t due = 0;
    std::optional<uint32_t> previousStamp;
    while (auto record = reader.ReadRecord()) {
        if (previousStamp) due += std::min(record->timeMs - *previousStamp, kMaxGapMs);
        previousStamp = record->timeMs;
        if (!waitUntil(playback.start + due - leadTime(*record))) break;
        handle(*record, playback);
        output_.RecordPlayed(*record, due, clock_.nowMs() - playback.start);
    }
    waitUntil(playback.soundEnd);
    playing_ = false;
    output_.PlaybackFinished();
}

int64_t VmiPlayer::leadTime(const vmi::Record& record) {
    switch (record.type) {
        case vmi::kVideo:
            return 0;
        case vmi::kSound:
            return kSoundLeadMs;
        case vmi::kCaption:
            return record.data.empty() ? kNoWait : 0;
        default:
            return kNoWait;
    }
}

void VmiPlayer::handle(const vmi::Record& record, Playback& playback) {
    switch (record.type) {
        case vmi::kVideo: {
            auto picture = playback.video.DecodePicture(record.data);
            if (!picture) break;
            output_.PictureDecoded(*picture);
            playback.picture = *picture;
            show(playback);
            break;
        }
        case vmi::kSound: {
            if (!playback.soundOpen || record.data.empty()) break;
            std::string samples = playback.sound.DecodeFrames(record.data);
            playback.soundOpen = output_.QueueSound(samples);
            playback.soundEnd = std::max(playback.soundEnd, clock_.nowMs()) + samplesMs(samples);
            break;
        }
        case vmi::kCaption: {
            if (record.data.empty()) break;
            std::string text = cutCaption(record.data);
            playback.caption = text == "." ? "" : text;
            if (!playback.picture.empty()) show(playback);
            break;
        }
        default:
            break;
    }
}
