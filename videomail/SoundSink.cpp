#include "videomail/SoundSink.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

SoundSink::SoundSink(QObject* parent) : QObject(parent) {
    QAudioFormat format;
    format.setSampleRate(8000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || !output.isFormatSupported(format)) return;
    sink_ = std::make_unique<QAudioSink>(output, format);
    device_ = sink_->start();
    if (sink_->error() != QAudio::NoError) device_ = nullptr;
    connect(&timer_, &QTimer::timeout, this, &SoundSink::feed);
    timer_.start(10);
}

SoundSink::~SoundSink() {
    if (sink_) sink_->stop();
}

void SoundSink::queue(const std::string& samples) {
    pending_ += samples;
    feed();
}

void SoundSink::feed() {
    if (!device_ || pending_.empty()) return;
    qint64 room = std::min<qint64>(sink_->bytesFree(), static_cast<qint64>(pending_.size()));
    room &= ~qint64{1};  // whole samples only
    qint64 written = room > 0 ? device_->write(pending_.data(), room) : 0;
    if (written > 0) pending_.erase(0, written);
}

void SoundSink::stop() {
    pending_.clear();
    if (!device_) return;
    // Restarting drops what the device still holds and leaves it ready for the next play.
    sink_->stop();
    device_ = sink_->start();
}
