#include "app/gui/StatusPanes.h"

#include <QEvent>
#include <QPainter>

#include "app/ConnectTime.h"
#include "platform/TextCodec.h"

// Two lamps side by side: received, then sent. Each goes out kLampMs after it was last lit.
class LampPane : public QWidget {
public:
    LampPane() {
        setFixedSize(2 * kLamp + 3 * kGap, kLamp + 2);
        for (QTimer* timer : {&receiveOff_, &sendOff_}) {
            timer->setSingleShot(true);
            timer->setInterval(StatusPanes::kLampMs);
            connect(timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        }
    }
    void Light(bool received, bool sent) {
        if (received) receiveOff_.start();
        if (sent) sendOff_.start();
        update();
    }
    bool ReceiveLit() const { return receiveOff_.isActive(); }
    bool SendLit() const { return sendOff_.isActive(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(palette().color(QPalette::Mid));
        p.setBrush(ReceiveLit() ? QColor(40, 200, 60) : QColor(30, 70, 35));
        p.drawEllipse(kGap, 1, kLamp, kLamp);
        p.setBrush(SendLit() ? QColor(230, 50, 40) : QColor(80, 30, 25));
        p.drawEllipse(2 * kGap + kLamp, 1, kLamp, kLamp);
    }

private:
    static constexpr int kLamp = 10, kGap = 4;
    QTimer receiveOff_, sendOff_;
};

namespace {

// The file name of a device path; "COMn" names stay as they are.
std::string shortPortName(const std::string& port) {
    const size_t slash = port.rfind('/');
    return slash == std::string::npos ? port : port.substr(slash + 1);
}

// Runs `action` on a double click of the watched widget.
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) action_();
        return false;
    }

private:
    std::function<void()> action_;
};

}  // namespace

std::string linkStateText(const ModemTable& modems, const std::string& device) {
    if (device.empty()) return "";
    const std::string name = utf8ToCp949Lossy(device);
    const ModemInfo* modem = modems.find(name);
    const std::string port = cp949ToUtf8Lossy(modem ? modem->port : name);
    const int speed = modems.settingsFor(name).value_or(PortSettings{}).baud;
    return shortPortName(port) + "-" + std::to_string(speed);
}

StatusPanes::StatusPanes(QStatusBar& bar, Clock& clock) : clock_(clock) {
    capture_ = addPane(bar, "갈무리", "");
    capture_->hide();
    link_ = addPane(bar, "COM3-00000", "통신상태");
    link_->hide();
    screen_ = addPane(bar, "99x99", "화면 설정 (Alt+Z)");
    screen_->installEventFilter(new DoubleClickFilter(screen_, [this] {
        if (screenSettingsWanted) screenSettingsWanted();
    }));
    time_ = addPane(bar, "00:00:00", "연결 시간");
    time_->setText("OFFLINE");
    lamps_ = new LampPane;
    lamps_->setToolTip("통신램프 (받음/보냄)");
    bar.addPermanentWidget(lamps_);
    input_ = addPane(bar, "한", "한/영 상태");
    tick_.setInterval(1000);
    QObject::connect(&tick_, &QTimer::timeout, [this] { ShowConnectTime(); });
}

QLabel* StatusPanes::addPane(QStatusBar& bar, const QString& sample, const QString& tip) {
    auto* pane = new QLabel;
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(sample) + 8);
    pane->setToolTip(tip);
    bar.addPermanentWidget(pane);
    return pane;
}

void StatusPanes::SetLinkMode(int mode, const std::string& portText, const std::string& device) {
    const bool modem = mode == 1;
    link_->setVisible(modem);
    link_->setText(modem ? QString::fromStdString(portText) : QString());
    link_->setToolTip(modem ? QString::fromStdString("통신상태(" + device + ")") : "통신상태");
}

void StatusPanes::SetCapture(bool running) {
    capture_->setText(running ? "갈무리" : "");
    capture_->setVisible(running);
}

void StatusPanes::SetScreenSize(int columns, int rows) {
    screen_->setText(QString::asprintf("%2dx%2d", columns, rows));
}

void StatusPanes::SetOnline(bool online) {
    if (!online) {
        tick_.stop();
        time_->setText("OFFLINE");
        time_->setToolTip("연결 시간");
        return;
    }
    connectedAt_ = clock_.nowMs();
    tick_.start();
    ShowConnectTime();
}

void StatusPanes::ShowConnectTime() {
    if (!tick_.isActive()) return;
    const int64_t seconds = (clock_.nowMs() - connectedAt_) / 1000;
    time_->setText(QString::fromStdString(ConnectClockText(seconds)));
    time_->setToolTip(QString::fromStdString(ConnectTimeTip(seconds)));
}

void StatusPanes::LinkActivity(bool received, bool sent) {
    lamps_->Light(received, sent);
}

void StatusPanes::SetInputState(std::optional<bool> hangul) {
    input_->setText(!hangul ? QString() : *hangul ? QString("한") : QString("영"));
}

const QWidget& StatusPanes::Lamps() const {
    return *lamps_;
}

bool StatusPanes::ReceiveLit() const {
    return lamps_->ReceiveLit();
}

bool StatusPanes::SendLit() const {
    return lamps_->SendLit();
}
