#pragma once
// The composer's recording: from Start to Stop, a video thread takes a picture about every
// 33 ms and a sound thread a buffer every 200 ms, while the window adds captions as they are
// typed. All three append to one VmiWriter.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "videomail/MediaSources.h"
#include "videomail/VmiWriter.h"

class LiveRecorder {
public:
    // Each picture taken, planar 4:2:0, for the preview; called on the video thread.
    using Preview = std::function<void(const std::string& yuv420)>;

    explicit LiveRecorder(Clock& clock) : clock_(clock), writer_(clock) {}
    ~LiveRecorder() { Stop(); }

    // Creates the file and starts the producers (either source may be null); false when the
    // file cannot be created.
    bool Start(const std::string& path, VideoSource* video, AudioSource* audio, Preview preview);
    // A caption as typed (UTF-8); empty clears it.
    void AddCaption(const std::string& utf8);
    // Ends the producers and closes the file; false when something could not be written.
    bool Stop();
    bool isRecording() const { return recording_; }

private:
    void recordPictures(VideoSource& video);
    void recordSound(AudioSource& audio);
    // Sleeps until ms after the start; false once stopping.
    bool sleepUntil(int64_t ms);
    void append(uint32_t type, const std::string& data);

    Clock& clock_;
    VmiWriter writer_;
    Preview preview_;
    int64_t start_ = 0;
    std::atomic<bool> recording_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> failed_{false};
    std::thread video_;
    std::thread sound_;
};
