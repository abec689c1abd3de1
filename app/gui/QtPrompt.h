#pragma once
// Questions and notices of the window: message boxes with Korean buttons and an optional check
// box, file dialogs, and a wait notice with a cancel button that appears once a job outlasts its
// delay.
#include <QPointer>
#include <QWidget>

#include "platform/Prompt.h"

class QtPrompt : public Prompt {
public:
    static constexpr char kYes[] = "예(&Y)";
    static constexpr char kNo[] = "아니오(&N)";
    static constexpr char kOk[] = "확인";
    static constexpr char kCancel[] = "취소";
    static constexpr char kProgramName[] = "Quilite";

    // Boxes are centred over `parent` once there is one.
    void setParent(QWidget* parent) { parent_ = parent; }

    PromptReply show(const PromptRequest& request) override;
    std::unique_ptr<WaitNotice> beginWait(const std::string& text, int delayMs) override;
    // Qt's file dialog with the request's extra controls (QtFileDialog.cpp).
    FileReply askFile(const FileRequest& request) override;
    void beep() override;

private:
    QPointer<QWidget> parent_;
};
