#pragma once
// One on-line memo conversation: the transcript of what arrived ("-> ") and what was sent
// ("<- "), and a reply line sent through the assistant's SendMemo. Its context menu flips
// "항상 위(&A)" and "자동 숨김(&H)", stored at once; with auto-hide on it closes itself a while
// after losing activation, unless a reply is being typed.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "auto/ChatAssistant.h"
#include "auto/ChatSettings.h"
#include "auto/MemoAutoHide.h"
#include "platform/Clock.h"

class MemoWindow : public QWidget {
public:
    // received: captioned "From: %s", else "To: %s". colourIndex picks one of five backgrounds.
    MemoWindow(const std::string& id, bool received, ChatAssistant& chat, Registry& registry,
               Clock& clock, int colourIndex);
    ~MemoWindow() override;

    const std::string& Id() const { return id_; }
    // A received text (CP949).
    void AddReceived(const std::string& text);
    // What Enter on the reply line does; false when nothing was sent.
    bool SendReply();
    // The auto-hide check the window's timer runs.
    void CheckAutoHide();
    QPlainTextEdit& Transcript() { return *transcript_; }
    QLineEdit& Reply() { return *reply_; }
    const MemoAutoHide& AutoHide() const { return autoHide_; }
    // The context menu's two checks.
    void ToggleTopMost();
    void ToggleAutoHide();

    static constexpr int kColours = 5;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addLine(const QString& line);
    void placeOnScreen();
    void showContextMenu(const QPoint& at);

    std::string id_;
    ChatAssistant& chat_;
    Registry& registry_;
    Clock& clock_;
    MemoWindowSettings settings_;
    MemoAutoHide autoHide_;
    QPlainTextEdit* transcript_;
    QLineEdit* reply_;
    QTimer timer_;
};
