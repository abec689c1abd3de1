#pragma once
// The progress window of a running transfer ("파일보내기" or "파일받기"): protocol, file,
// position and length, file count, times and rates, the abort button and the box that hangs
// up when the transfer is done. While the main window is minimised its caption carries the
// progress and the file name.
#include <QDialog>
#include <QPointer>
#include <functional>

#include "link/TransferBridge.h"
#include "link/TransferView.h"

class QCheckBox;
class QLabel;
class QProgressBar;

class TransferProgressWindow : public QDialog, public TransferView {
public:
    // showReceivedFiles: opens the list of received files after a receive (may be empty).
    TransferProgressWindow(TransferBridge& bridge, QWidget* mainWindow,
                           std::function<void()> showReceivedFiles = {});

    void OpenProgress(bool sending) override;
    void ShowProgress(const TransferFigures& figures) override;
    void CloseProgress() override;
    void ShowReceivedFiles() override {
        if (showReceivedFiles_) showReceivedFiles_();
    }

protected:
    void reject() override;  // Esc and the title bar's close abort, as the button does

private:
    TransferBridge& bridge_;
    std::function<void()> showReceivedFiles_;
    QPointer<QWidget> mainWindow_;
    QString mainCaption_;  // the main window's caption before a minimised one replaced it
    QLabel* protocol_;
    QLabel* file_;
    QLabel* position_;
    QLabel* files_;
    QLabel* elapsed_;
    QLabel* remaining_;
    QLabel* total_;
    QLabel* rate_;
    QLabel* fileRate_;
    QLabel* errors_;
    QProgressBar* bar_;
    QCheckBox* hangUp_;
};
