#include "image/gui/CImageFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "image/PictureCommands.h"
#include "image/gui/ImageHost.h"

CImageFrame::CImageFrame(std::unique_ptr<ImageDoc> doc, const QString& name, bool cancellable)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint),
      doc_(std::move(doc)),
      view_(new CImageView(*doc_, this)),
      cancellable_(cancellable) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->viewport()->installEventFilter(this);
    view_->onPictureSize = [this](QSize size) { FitToPicture(size); };
    view_->fillMenu = [this](QMenu& menu) { fillMenu(menu); };
    view_->onPlace = [this](QPoint at) { PlaceAt(at); };
    resize(kStartWidth, kStartHeight);
    updateTitle();
}

// The view watches the document: it goes first, before the members do.
CImageFrame::~CImageFrame() {
    view_->viewport()->removeEventFilter(this);
    view_->SetClosing();
    delete view_;
}

void CImageFrame::updateTitle() {
    setWindowTitle(QString::fromStdString(doc_->Title()));
}

void CImageFrame::PlaceAt(QPoint fromViewCorner) {
    const ImageHost& host = CurrentImageHost();
    const QPoint corner = host.view ? host.view->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    move(corner + fromViewCorner);
}

void CImageFrame::FitToPicture(QSize picture) {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    resize(std::min(picture.width(), work.width() - frameExtra.width()),
           std::min(picture.height(), work.height() - frameExtra.height()));
}

void CImageFrame::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Dragging anywhere moves the window.
void CImageFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
    QWidget::mousePressEvent(event);
}

bool CImageFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && windowHandle()) {
            windowHandle()->startSystemMove();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// While the transfer runs: No keeps the window, Yes cancels the transfer first.
void CImageFrame::closeEvent(QCloseEvent* event) {
    Prompt* prompt = CurrentImageHost().prompt;
    if (cancellable_ && doc_->TransferRunning() && prompt && !asked_) {
        PromptRequest question{"전송을 취소하시겠습니다?",
                               PromptButtons::YesNo,
                               PromptIcon::Question,
                               {},
                               false,
                               "화상 표시기"};
        if (prompt->show(question).answer != PromptAnswer::Yes) {
            event->ignore();
            return;
        }
        doc_->CancelTransfer();
    }
    view_->SetClosing();
    event->accept();
}

void CImageFrame::CloseWithoutQuestion() {
    asked_ = true;
    if (doc_->TransferRunning()) doc_->CancelTransfer();
    close();
}

void CImageFrame::fillMenu(QMenu& menu) {
    menu.addAction("그림 저장(&S)...", this, [this] { SavePicture(); });
    menu.addAction("바탕 화면으로 지정(&W)", this, [this] { UseAsWallpaper(); })
        ->setEnabled(doc_->Picture() != nullptr);
    if (cancellable_) {
        menu.addAction("전송 취소(&C)", this, [this] { doc_->CancelTransfer(); })
            ->setEnabled(doc_->TransferRunning());
    }
}

void CImageFrame::SavePicture() {
    if (Prompt* prompt = CurrentImageHost().prompt) {
        if (savePictureFile(*doc_, *prompt)) updateTitle();
    }
}

void CImageFrame::UseAsWallpaper() {
    static ProcessLauncher launcher;
    if (Prompt* prompt = CurrentImageHost().prompt) setWallpaper(*doc_, *prompt, launcher);
}
