#include "app/gui/QtPrompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

#include "auto/ProgramExit.h"

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSpec {
    PromptAnswer answer;
    const char* text;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonSpec> buttonsOf(PromptButtons buttons) {
    const ButtonSpec yes{PromptAnswer::Yes, QtPrompt::kYes, QMessageBox::YesRole};
    const ButtonSpec no{PromptAnswer::No, QtPrompt::kNo, QMessageBox::NoRole};
    const ButtonSpec ok{PromptAnswer::Ok, QtPrompt::kOk, QMessageBox::AcceptRole};
    const ButtonSpec cancel{PromptAnswer::Cancel, QtPrompt::kCancel, QMessageBox::RejectRole};
    switch (buttons) {
        case PromptButtons::Ok:
            return {ok};
        case PromptButtons::OkCancel:
            return {ok, cancel};
        case PromptButtons::YesNo:
            return {yes, no};
        case PromptButtons::YesNoCancel:
            return {yes, no, cancel};
    }
    return {ok};
}

// A window-modal notice with a cancel button, shown only once the delay has passed.
class QtWaitNotice : public WaitNotice {
public:
    QtWaitNotice(QWidget* parent, const std::string& text, int delayMs)
        : dialog_(new QDialog(parent)) {
        dialog_->setWindowTitle(QtPrompt::kProgramName);
        dialog_->setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(dialog_);
        layout->addWidget(new QLabel(QString::fromStdString(text)));
        auto* cancel = new QPushButton(QtPrompt::kCancel);
        layout->addWidget(cancel, 0, Qt::AlignHCenter);
        QObject::connect(cancel, &QPushButton::clicked, dialog_, &QDialog::reject);
        QObject::connect(dialog_, &QDialog::rejected, [this] { cancelled_ = true; });
        QTimer::singleShot(std::max(delayMs, 0), dialog_, [this] { dialog_->show(); });
    }
    ~QtWaitNotice() override { delete dialog_; }
    bool cancelled() override { return cancelled_; }

private:
    QDialog* dialog_;
    bool cancelled_ = false;
};

}  // namespace

PromptReply QtPrompt::show(const PromptRequest& request) {
    // Once the program is made to end from outside, nobody is there to answer.
    if (programIsExiting()) return {cancellingAnswer(request.buttons), request.checked};
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(request.caption.empty() ? std::string(kProgramName)
                                                                      : request.caption));
    box.setText(QString::fromStdString(request.text));
    box.setIcon(boxIcon(request.icon));
    std::vector<std::pair<QAbstractButton*, PromptAnswer>> answers;
    for (const ButtonSpec& spec : buttonsOf(request.buttons))
        answers.emplace_back(box.addButton(spec.text, spec.role), spec.answer);
    box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
    QCheckBox* check = nullptr;
    if (!request.checkText.empty()) {
        check = new QCheckBox(QString::fromStdString(request.checkText));
        check->setChecked(request.checked);
        box.setCheckBox(check);
    }
    box.exec();
    PromptReply reply{cancellingAnswer(request.buttons),
                      check ? check->isChecked() : request.checked};
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button) reply.answer = answer;
    return reply;
}

void QtPrompt::beep() {
    QApplication::beep();
}

std::unique_ptr<WaitNotice> QtPrompt::beginWait(const std::string& text, int delayMs) {
    return std::make_unique<QtWaitNotice>(parent_, text, delayMs);
}
