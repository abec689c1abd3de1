#pragma once
// Sound from a microphone through Qt Multimedia's QAudioSource: 8000-Hz 16-bit mono, handed
// out in buffers of 3200 bytes. Made and destroyed on a thread that runs an event loop; the
// buffers may be taken on any thread.
#include <QAudioDevice>
#include <QMediaDevices>
#include <memory>
#include <string>

#include "videomail/MediaSources.h"

class QAudioSource;

class MicrophoneSource : public AudioSource {
public:
    explicit MicrophoneSource(const QAudioDevice& device = QMediaDevices::defaultAudioInput());
    ~MicrophoneSource() override;

    bool isOpen() const { return error_.empty(); }
    // Why the microphone cannot be used, for the user (UTF-8); empty when it is open.
    const std::string& error() const { return error_; }
    // Waits for a whole buffer; nothing when the device has given nothing for a second.
    std::optional<std::string> NextBuffer() override;

private:
    class Collector;
    std::unique_ptr<Collector> collector_;
    std::unique_ptr<QAudioSource> source_;
    std::string error_;
};
