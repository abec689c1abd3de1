#pragma once
// reelplay's window: the 176 x 144 picture with its caption, Play and Stop, the caption
// background toggle. The reading thread posts pictures and sound here; the window's thread
// draws them and feeds the sound device.
#include <QImage>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>

#include "videomail/VmiPlayer.h"

class QAction;
class QLabel;
class SoundSink;

class PlayerWindow : public QWidget, private PlaybackOutput {
public:
    explicit PlayerWindow(const std::string& path, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // Starts playing; false ("File Open Error" shown) when the file cannot be opened.
    bool Play();
    void Stop();
    // The picture now shown, for tests.
    QImage picture() const { return picture_; }
    bool finished() const { return finished_; }
    bool isPlaying() const { return player_->isPlaying(); }

private:
    void ShowPicture(const std::string& rgb) override;
    bool QueueSound(const std::string& samples) override;
    void PlaybackFinished() override;

    std::string path_;
    QImage picture_;
    QLabel* view_;
    QAction* opaque_;
    SoundSink* sound_;
    std::atomic<bool> soundOpen_{false};
    std::atomic<bool> finished_{false};
    std::unique_ptr<VmiPlayer> player_;
};
