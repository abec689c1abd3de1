#include "videomail/PlayerWindow.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QToolBar>
#include <QVBoxLayout>

#include "videomail/CaptionPainter.h"
#include "videomail/SoundSink.h"

PlayerWindow::PlayerWindow(const std::string& path, QWidget* parent)
    : QWidget(parent), path_(path), view_(new QLabel), sound_(new SoundSink(this)) {
    setWindowTitle(QStringLiteral("reelplay"));
    picture_ = QImage(176, 144, QImage::Format_RGB888);
    picture_.fill(Qt::black);
    view_->setFixedSize(176, 144);
    view_->setPixmap(QPixmap::fromImage(picture_));
    auto* bar = new QToolBar;
    bar->addAction(QStringLiteral("Play"), this, [this] { Play(); });
    bar->addAction(QStringLiteral("Stop"), this, [this] { Stop(); });
    opaque_ = bar->addAction(QStringLiteral("자막 배경"));
    opaque_->setCheckable(true);
    opaque_->setChecked(true);
    connect(opaque_, &QAction::toggled, this, [this](bool on) {
        if (player_) player_->setOpaqueCaption(on);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(view_);
    PlaybackOutput& output = *this;
    player_ = std::make_unique<VmiPlayer>(Clock::steady(), output, drawCaption);
}

PlayerWindow::~PlayerWindow() {
    player_->Stop();
}

bool PlayerWindow::Play() {
    if (player_->isPlaying()) return true;
    finished_ = false;
    soundOpen_ = sound_->isOpen();
    if (player_->Play(path_)) return true;
    QMessageBox::critical(this, windowTitle(), QStringLiteral("File Open Error"));
    return false;
}

void PlayerWindow::Stop() {
    player_->Stop();
    sound_->stop();
}

// Called on the reading thread: the picture travels to the window's thread as a copy.
void PlayerWindow::ShowPicture(const std::string& rgb) {
    QImage image =
        QImage(reinterpret_cast<const uchar*>(rgb.data()), 176, 144, 176 * 3, QImage::Format_RGB888)
            .copy();
    QMetaObject::invokeMethod(this, [this, image] {
        picture_ = image;
        view_->setPixmap(QPixmap::fromImage(image));
    });
}

bool PlayerWindow::QueueSound(const std::string& samples) {
    if (!soundOpen_) return false;
    QMetaObject::invokeMethod(sound_, [this, samples] { sound_->queue(samples); });
    return true;
}

void PlayerWindow::PlaybackFinished() {
    QMetaObject::invokeMethod(this, [this] { finished_ = true; });
}
