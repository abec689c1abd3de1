#pragma once
// reelpost's window: the preview, record and stop, play, the caption line, the status text
// ("READY", "MAIL SEND"), the settings and "MAIL SEND" with its send form, progress window and
// sending thread.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "auto/Registry.h"
#include "platform/Prompt.h"
#include "videomail/LiveRecorder.h"
#include "videomail/MailDelivery.h"
#include "videomail/MailSendThread.h"
#include "videomail/PlayerWindow.h"
#include "videomail/ReelpostDialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Where a recording's pictures and sound come from; either may be null (none, or no device).
struct RecordingSources {
    std::unique_ptr<VideoSource> video;
    std::unique_ptr<AudioSource> audio;
};

class ReelpostWindow : public QWidget {
public:
    using OpenSources = std::function<RecordingSources()>;
    // Runs a program to its end: its exit status, or -1 when it could not be started.
    using RunProgram = std::function<int(const std::vector<std::string>&)>;

    ReelpostWindow(const std::string& messagePath, Registry& registry, Prompt& prompt,
                   OpenSources openSources, RunProgram runProgram, QWidget* parent = nullptr);
    ~ReelpostWindow() override;

    // False ("WARNING!" shown) when the message file cannot be created.
    bool StartRecording();
    bool StopRecording();
    void Play();
    // "MAIL SEND": false when refused (recording, playing, nothing recorded) or stopped early.
    bool Send();
    void EditSettings();

    QString status() const;
    bool isRecording() const { return recorder_.isRecording(); }
    bool isPlaying() const;
    bool isSending() const { return sending_; }
    QImage preview() const { return preview_; }
    QLineEdit* caption() const { return caption_; }
    SendDialog* sendDialog() const { return sendDialog_; }
    MailProgressWindow* progressWindow() const { return progress_; }

private:
    class ProgressPoster;
    void setStatus(const std::string& text);
    void showPicture(const std::string& yuv420);
    void startSending(const SendRequest& request);
    void sendingEnded(const SendResult& result);
    void updateButtons();
    DeliveryHooks hooks();

    std::string messagePath_;
    Registry& registry_;
    Prompt& prompt_;
    OpenSources openSources_;
    RunProgram runProgram_;
    ReelpostSettings settings_;
    std::optional<Attachment> attachment_;
    RecordingSources sources_;
    LiveRecorder recorder_;
    MailSendThread sender_;
    std::unique_ptr<ProgressPoster> poster_;
    QImage preview_;
    QLabel* view_;
    QLabel* status_;
    QLineEdit* caption_;
    QPushButton* record_;
    QPushButton* stop_;
    QPushButton* play_;
    QPushButton* send_;
    QPointer<PlayerWindow> player_;
    QPointer<SendDialog> sendDialog_;
    QPointer<MailProgressWindow> progress_;
    bool sending_ = false;  // from the form's OK until the sending thread's end is handled
};
