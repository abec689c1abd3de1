#include "videomail/MicrophoneSource.h"

#include <QAudioSource>
#include <QIODevice>
#include <chrono>
#include <condition_variable>
#include <mutex>

// Takes what the device writes and keeps it until a whole buffer is asked for.
class MicrophoneSource::Collector : public QIODevice {
public:
    Collector() { open(QIODevice::WriteOnly); }

    std::optional<std::string> take() {
        std::unique_lock lock(mutex_);
        if (!ready_.wait_for(lock, std::chrono::seconds(1),
                             [this] { return pending_.size() >= kSoundBufferBytes; }))
            return std::nullopt;
        std::string buffer = pending_.substr(0, kSoundBufferBytes);
        pending_.erase(0, kSoundBufferBytes);
        return buffer;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        std::lock_guard lock(mutex_);
        pending_.append(data, static_cast<size_t>(length));
        ready_.notify_all();
        return length;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::string pending_;
};

MicrophoneSource::MicrophoneSource(const QAudioDevice& device)
    : collector_(std::make_unique<Collector>()) {
    QAudioFormat format;
    format.setSampleRate(8000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull()) {
        error_ = "마이크를 찾을 수 없습니다.";
        return;
    }
    if (!device.isFormatSupported(format)) {
        error_ = "마이크에서 8000Hz 16비트 모노 소리를 받을 수 없습니다.";
        return;
    }
    source_ = std::make_unique<QAudioSource>(device, format);
    source_->setBufferSize(static_cast<int>(kSoundBufferBytes));
    source_->start(collector_.get());
    if (source_->error() != QAudio::NoError) error_ = "마이크를 열 수 없습니다.";
}

MicrophoneSource::~MicrophoneSource() {
    if (source_) source_->stop();
}

std::optional<std::string> MicrophoneSource::NextBuffer() {
    if (!isOpen()) return std::nullopt;
    return collector_->take();
}
