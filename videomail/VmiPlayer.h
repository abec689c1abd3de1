#pragma once
// Plays a video message on a reading thread of its own: records are paced on the clock along
// the message's time line, pictures decoded and handed over as RGB24 with the caption drawn,
// sound decoded and queued. The output is told of every record and of the end.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "videomail/VmiFormat.h"

class PlaybackOutput {
public:
    virtual ~PlaybackOutput() = default;
    // A picture as the decoder gave it (planar 4:2:0).
    virtual void PictureDecoded(const std::string& yuv420) { (void)yuv420; }
    // The picture to show (RGB24, 176 x 144, the caption drawn over it): after each decoded
    // picture and after each caption change.
    virtual void ShowPicture(const std::string& rgb) = 0;
    // Decoded samples for the sound device; false when no device could be opened.
    virtual bool QueueSound(const std::string& samples) = 0;
    // A record has been handled dueMs after the start (by its time stamps) at actualMs.
    virtual void RecordPlayed(const vmi::Record&, int64_t dueMs, int64_t actualMs) {
        (void)dueMs, (void)actualMs;
    }
    // The message has ended or playing was stopped; called on the reading thread.
    virtual void PlaybackFinished() = 0;
};

// Draws the caption (CP949, "" for none) over a 176 x 144 RGB24 picture.
using CaptionDrawer =
    std::function<void(std::string& rgb, const std::string& caption, bool opaque)>;

class VmiPlayer {
public:
    // Sound is queued this long before it is due, so that the device never runs dry.
    static constexpr int kSoundLeadMs = 20;
    // A gap between two records' stamps counts at most this long.
    static constexpr uint32_t kMaxGapMs = 10000;

    VmiPlayer(Clock& clock, PlaybackOutput& output, CaptionDrawer drawCaption);
    ~VmiPlayer();

    // Starts playing the message in the file (a plain message or one appended to the player);
    // false when it cannot be opened. A second Play while playing is ignored (returns true).
    bool Play(const std::string& path);
    // Stops playing and waits for the reading thread.
    void Stop();
    // Waits until the message has played to its end.
    void Wait();
    bool isPlaying() const { return playing_; }
    // Without pacing, records are handled as fast as they decode.
    void setPacing(bool on) { pacing_ = on; }
    void setOpaqueCaption(bool on) { opaque_ = on; }

private:
    struct Playback;
    void run(std::string path, uint64_t base);
    // How long before its due moment a record is handled.
    static int64_t leadTime(const vmi::Record& record);
    void handle(const vmi::Record& record, Playback& playback);
    void show(const Playback& playback);
    // False when playing was stopped meanwhile.
    bool waitUntil(int64_t ms);

    Clock& clock_;
    PlaybackOutput& output_;
    CaptionDrawer drawCaption_;
    std::mutex mutex_;
    std::thread thread_;
    std::atomic<bool> playing_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> pacing_{true};
    std::atomic<bool> opaque_{true};
};
