#include "app/gui/SplashWindow.h"

#include <QApplication>
#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kCornerRadius = 16;

// The window's shape: the picture's rectangle with rounded corners.
QBitmap roundedShape(QSize size) {
    QBitmap shape(size);
    shape.fill(Qt::color0);
    QPainter p(&shape);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::color1);
    p.drawRoundedRect(QRect(QPoint(0, 0), size), kCornerRadius, kCornerRadius);
    return shape;
}

bool closesSplash(const QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress: {
            const Qt::MouseButton button = static_cast<const QMouseEvent*>(event)->button();
            return button == Qt::LeftButton || button == Qt::RightButton ||
                   button == Qt::MiddleButton;
        }
        default:
            return false;
    }
}

}  // namespace

bool SplashAllowed(const SplashConditions& c) {
    return !c.noSplashOption && !c.secondCopy && !c.connectionArguments && !c.positionTaken;
}

QPointer<SplashWindow> SplashWindow::Show(const std::string& path, QWidget& over, Clock& clock) {
    QImage picture(QString::fromStdString(path), "BMP");
    if (picture.isNull()) return nullptr;
    auto* splash = new SplashWindow(std::move(picture), over, clock);
    splash->show();
    return splash;
}

SplashWindow::SplashWindow(QImage picture, QWidget& over, Clock& clock)
    : QWidget(&over, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(std::move(picture)),
      clock_(clock),
      shownAt_(clock.nowMs()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(picture_.size());
    setMask(roundedShape(picture_.size()));
    QRect place(QPoint(0, 0), picture_.size());
    place.moveCenter(over.frameGeometry().center());
    move(place.topLeft());
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::Tick);
    timer_.start();
    qApp->installEventFilter(this);
}

void SplashWindow::Tick() {
    if (clock_.nowMs() - shownAt_ > kShownMs) close();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

// Key and button presses close the splash and go on to where they were going.
bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (closesSplash(event)) {
        qApp->removeEventFilter(this);
        close();
    }
    return QWidget::eventFilter(watched, event);
}
