#pragma once
// The player's sound device: 8000-Hz 16-bit mono samples fed to a QAudioSink on the window's
// thread, queued while the device's buffer is full.
#include <QObject>
#include <QTimer>
#include <memory>
#include <string>

class QAudioSink;
class QIODevice;

class SoundSink : public QObject {
public:
    explicit SoundSink(QObject* parent = nullptr);
    ~SoundSink() override;
    // Whether a device took the format; without one, sound is skipped.
    bool isOpen() const { return device_ != nullptr; }
    void queue(const std::string& samples);
    // Drops the queued sound.
    void stop();

private:
    void feed();

    std::unique_ptr<QAudioSink> sink_;
    QIODevice* device_ = nullptr;
    std::string pending_;
    QTimer timer_;
};
