#include "videomail/ReelpostWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "videomail/H263Coder.h"
#include "videomail/MessageRecorder.h"
#include "videomail/PlayerWindow.h"
#include "videomail/ReelpostDialogs.h"
#include "videomail/YuvConv.h"

namespace fs = std::filesystem;

// The sending thread's progress, posted to the progress window on the window's thread.
class ReelpostWindow::ProgressPoster : public SendProgress {
public:
    explicit ProgressPoster(ReelpostWindow* window) : window_(window) {}
    void Status(const std::string& text) override {
        post([text](MailProgressWindow& progress) {
            progress.setStatus(QString::fromStdString(text));
        });
    }
    void Percent(int percent) override {
        post([percent](MailProgressWindow& progress) { progress.setPercent(percent); });
    }

private:
    void post(std::function<void(MailProgressWindow&)> change) {
        QMetaObject::invokeMethod(window_, [window = window_, change] {
            if (window->progress_) change(*window->progress_);
        });
    }
    ReelpostWindow* window_;
};

ReelpostWindow::ReelpostWindow(const std::string& messagePath, Registry& registry, Prompt& prompt,
                               OpenSources openSources, RunProgram runProgram, QWidget* parent)
    : QWidget(parent),
      messagePath_(messagePath),
      registry_(registry),
      prompt_(prompt),
      openSources_(std::move(openSources)),
      runProgram_(std::move(runProgram)),
      recorder_(Clock::steady()),
      poster_(std::make_unique<ProgressPoster>(this)),
      preview_(qcif::kWidth, qcif::kHeight, QImage::Format_RGB888),
      view_(new QLabel),
      status_(new QLabel(QStringLiteral("READY"))),
      caption_(new QLineEdit),
      record_(new QPushButton(QStringLiteral("녹화"))),
      stop_(new QPushButton(QStringLiteral("정지"))),
      play_(new QPushButton(QStringLiteral("재생"))),
      send_(new QPushButton(QStringLiteral("MAIL SEND"))) {
    setWindowTitle(QStringLiteral("reelpost"));
    preview_.fill(Qt::black);
    view_->setFixedSize(qcif::kWidth, qcif::kHeight);
    view_->setPixmap(QPixmap::fromImage(preview_));
    caption_->setPlaceholderText(QStringLiteral("자막"));
    auto* settings = new QPushButton(QStringLiteral("설정"));
    connect(record_, &QPushButton::clicked, this, [this] { StartRecording(); });
    connect(stop_, &QPushButton::clicked, this, [this] { StopRecording(); });
    connect(play_, &QPushButton::clicked, this, [this] { Play(); });
    connect(send_, &QPushButton::clicked, this, [this] { Send(); });
    connect(settings, &QPushButton::clicked, this, [this] { EditSettings(); });
    // The caption goes into the message as it is entered; emptied, it is cleared there too.
    connect(caption_, &QLineEdit::returnPressed, this,
            [this] { recorder_.AddCaption(caption_->text().toStdString()); });
    connect(caption_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty()) recorder_.AddCaption("");
    });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {record_, stop_, play_, send_, settings})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 0, Qt::AlignHCenter);
    layout->addWidget(caption_);
    layout->addLayout(buttons);
    layout->addWidget(status_);
    updateButtons();
}

ReelpostWindow::~ReelpostWindow() {
    recorder_.Stop();
}

bool ReelpostWindow::StartRecording() {
    if (isRecording() || isPlaying() || isSending()) return false;
    std::error_code ignored;
    fs::create_directories(fs::path(messagePath_).parent_path(), ignored);
    sources_ = openSources_();
    if (!recorder_.Start(messagePath_, sources_.video.get(), sources_.audio.get(),
                         [this](const std::string& yuv420) { showPicture(yuv420); })) {
        sources_ = {};
        prompt_.show({kRecordFailedText,
                      PromptButtons::Ok,
                      PromptIcon::Warning,
                      {},
                      false,
                      kRecordFailedTitle});
        return false;
    }
    if (!caption_->text().isEmpty()) recorder_.AddCaption(caption_->text().toStdString());
    updateButtons();
    return true;
}

bool ReelpostWindow::StopRecording() {
    if (!isRecording()) return false;
    bool written = recorder_.Stop();
    sources_ = {};
    if (!written)
        prompt_.show({kRecordFailedText,
                      PromptButtons::Ok,
                      PromptIcon::Warning,
                      {},
                      false,
                      kRecordFailedTitle});
    updateButtons();
    return written;
}

void ReelpostWindow::Play() {
    if (isRecording() || isPlaying() || isSending() || !fs::exists(messagePath_)) return;
    if (!player_) {
        player_ = new PlayerWindow(messagePath_, this);
        player_->setWindowFlag(Qt::Window);
        player_->setAttribute(Qt::WA_DeleteOnClose);
    }
    player_->show();
    player_->Play();
}

bool ReelpostWindow::isPlaying() const {
    return player_ && player_->isPlaying();
}

QString ReelpostWindow::status() const {
    return status_->text();
}

void ReelpostWindow::setStatus(const std::string& text) {
    status_->setText(QString::fromStdString(text));
}

DeliveryHooks ReelpostWindow::hooks() {
    return {prompt_, *poster_, [this](const std::string& text) { setStatus(text); }, runProgram_};
}

bool ReelpostWindow::Send() {
    if (isRecording() || isPlaying() || isSending() || sendDialog_ || !fs::exists(messagePath_))
        return false;
    settings_ = loadReelpostSettings(registry_);
    DeliveryHooks delivery = hooks();
    attachment_ = BeginDelivery(messagePath_, settings_, delivery);
    if (!attachment_) return false;
    if (settings_.protocol == 1) {
        bool sent = HandToMailProgram(*attachment_, delivery);
        EndDelivery(*attachment_, settings_, delivery);
        attachment_.reset();
        return sent;
    }
    sendDialog_ = new SendDialog(
        [this](const SendForm& form) {
            auto request = RequestFor(*attachment_, settings_, form, prompt_);
            if (request) startSending(*request);
            return request.has_value();
        },
        this);
    sendDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(sendDialog_, &QDialog::rejected, this, [this] {
        DeliveryHooks delivery = hooks();
        EndDelivery(*attachment_, settings_, delivery);
        attachment_.reset();
    });
    sendDialog_->open();
    return true;
}

void ReelpostWindow::startSending(const SendRequest& request) {
    sending_ = true;
    progress_ = new MailProgressWindow([this] { sender_.Cancel(); }, this);
    progress_->setAttribute(Qt::WA_DeleteOnClose);
    progress_->show();
    sender_.Start(request, *poster_, [this](const SendResult& result) {
        QMetaObject::invokeMethod(this, [this, result] { sendingEnded(result); });
    });
    updateButtons();
}

void ReelpostWindow::sendingEnded(const SendResult& result) {
    sending_ = false;
    if (progress_) progress_->close();
    if (!result.error.empty()) prompt_.tell(result.error, PromptIcon::Error);
    DeliveryHooks delivery = hooks();
    EndDelivery(*attachment_, settings_, delivery);
    attachment_.reset();
    updateButtons();
}

void ReelpostWindow::EditSettings() {
    auto* dialog = new ReelpostSettingsDialog(loadReelpostSettings(registry_), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { saveReelpostSettings(registry_, dialog->settings()); });
    dialog->open();
}

// Called on the video thread: the picture travels to the window's thread as a copy.
void ReelpostWindow::showPicture(const std::string& yuv420) {
    auto rgb = yuv420ToRgb24(qcif::kWidth, qcif::kHeight, yuv420);
    if (!rgb) return;
    QImage image = QImage(reinterpret_cast<const uchar*>(rgb->data()), qcif::kWidth, qcif::kHeight,
                          qcif::kWidth * 3, QImage::Format_RGB888)
                       .copy();
    QMetaObject::invokeMethod(this, [this, image] {
        preview_ = image;
        view_->setPixmap(QPixmap::fromImage(image));
    });
}

void ReelpostWindow::updateButtons() {
    bool busy = isRecording() || isSending();
    record_->setEnabled(!busy);
    stop_->setEnabled(isRecording());
    play_->setEnabled(!busy);
    send_->setEnabled(!busy);
}
