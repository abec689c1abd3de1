#pragma once
// reelpost's dialogs: its settings (three sections), the send form, and the progress window
// the sending thread reports to.
#include <QDialog>
#include <functional>

#include "videomail/MailDelivery.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPlainTextEdit;

class ReelpostSettingsDialog : public QDialog {
public:
    ReelpostSettingsDialog(const ReelpostSettings& settings, QWidget* parent);
    ReelpostSettings settings() const;

    QLineEdit* server;
    QCheckBox* mailProgram;  // "PROTOCOL" 1
    QCheckBox* withPlayer;
    QLineEdit* email;
    QLineEdit* signFile;
    QLineEdit* appPath;

private:
    ReelpostSettings settings_;
};

// The send form. OK asks `check` whether the form may go; a refused form stays open.
class SendDialog : public QDialog {
public:
    SendDialog(std::function<bool(const SendForm&)> check, QWidget* parent);
    SendForm form() const;
    void accept() override;

    QLineEdit* to;
    QLineEdit* cc;
    QLineEdit* subject;
    QPlainTextEdit* body;

private:
    std::function<bool(const SendForm&)> check_;
};

// Status text and a bar from 0 to 100; its cancel button (or Esc) asks the sending thread to
// stop. The sender closes it when the thread has ended.
class MailProgressWindow : public QDialog {
public:
    MailProgressWindow(std::function<void()> cancel, QWidget* parent);
    void reject() override { cancel_(); }
    void setStatus(const QString& text);
    void setPercent(int percent);
    QString status() const;
    int percent() const;

private:
    std::function<void()> cancel_;
    QLabel* status_;
    QProgressBar* bar_;
};
