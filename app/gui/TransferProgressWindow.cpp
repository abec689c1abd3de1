#include "app/gui/TransferProgressWindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString number(uint64_t n) {
    return QString::number(static_cast<qulonglong>(n));
}

}  // namespace

TransferProgressWindow::TransferProgressWindow(TransferBridge& bridge, QWidget* mainWindow,
                                               std::function<void()> showReceivedFiles)
    : QDialog(mainWindow),
      bridge_(bridge),
      showReceivedFiles_(std::move(showReceivedFiles)),
      mainWindow_(mainWindow) {
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto row = [this, form](const char* label) {
        auto* value = new QLabel(this);
        form->addRow(label, value);
        return value;
    };
    protocol_ = row("프로토콜:");
    file_ = row("파일 이름:");
    position_ = row("전송한 크기:");
    files_ = row("파일 수:");
    elapsed_ = row("경과 시간:");
    remaining_ = row("남은 시간:");
    total_ = row("전체 시간:");
    rate_ = row("평균 속도:");
    fileRate_ = row("파일 속도:");
    errors_ = row("오류:");
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    layout->addWidget(bar_);
    hangUp_ = new QCheckBox("전송이 끝나면 연결 끊기(&H)", this);
    layout->addWidget(hangUp_);
    connect(hangUp_, &QCheckBox::toggled, this, [this](bool on) { bridge_.SetHangUpAfter(on); });
    auto* abort = new QPushButton("중지(&A)", this);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    connect(abort, &QPushButton::clicked, this, [this] { bridge_.Abort(); });
}

void TransferProgressWindow::reject() {
    bridge_.Abort();
}

void TransferProgressWindow::OpenProgress(bool sending) {
    setWindowTitle(sending ? "파일보내기" : "파일받기");
    for (QLabel* label : {protocol_, file_, position_, files_, elapsed_, remaining_, total_, rate_,
                          fileRate_, errors_})
        label->clear();
    bar_->setValue(0);
    hangUp_->setChecked(false);
    mainCaption_.clear();
    show();
}

void TransferProgressWindow::ShowProgress(const TransferFigures& f) {
    protocol_->setText(QString::fromStdString(f.now.protocol));
    file_->setText(QString::fromStdString(fileNameOf(f.now.fileName)));
    position_->setText(number(f.now.position) + " / " + number(f.now.length));
    files_->setText(QString::number(f.now.fileCount) + " / " + QString::number(f.now.totalFiles));
    elapsed_->setText(QString::fromStdString(clockText(f.elapsedSeconds)));
    remaining_->setText(QString::fromStdString(clockText(f.remainingSeconds)));
    total_->setText(QString::fromStdString(clockText(f.totalSeconds)));
    rate_->setText(number(f.averageCps) + " cps");
    fileRate_->setText(number(f.fileCps) + " cps");
    errors_->setText(QString::number(f.now.errors));
    bar_->setValue(f.percent);
    if (mainWindow_ && mainWindow_->isMinimized()) {
        if (mainCaption_.isEmpty()) mainCaption_ = mainWindow_->windowTitle();
        mainWindow_->setWindowTitle(QString::fromStdString(minimisedCaption(f)));
    } else if (mainWindow_ && !mainCaption_.isEmpty()) {
        mainWindow_->setWindowTitle(mainCaption_);
        mainCaption_.clear();
    }
}

void TransferProgressWindow::CloseProgress() {
    if (mainWindow_ && !mainCaption_.isEmpty()) mainWindow_->setWindowTitle(mainCaption_);
    mainCaption_.clear();
    hide();
}
