#include "app/gui/MemoWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/TextCodec.h"

namespace {

QString fromHost(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8Lossy(cp949));
}

// Light backgrounds, one after another for each new window.
const QColor kBackgrounds[MemoWindow::kColours] = {QColor(255, 255, 204), QColor(204, 255, 204),
                                                   QColor(204, 229, 255), QColor(255, 214, 229),
                                                   QColor(229, 214, 255)};

// Enter on the reply line sends it.
class ReplyFilter : public QObject {
public:
    explicit ReplyFilter(MemoWindow& window) : QObject(&window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        window_.SendReply();
        return true;
    }

private:
    MemoWindow& window_;
};

}  // namespace

MemoWindow::MemoWindow(const std::string& id, bool received, ChatAssistant& chat,
                       Registry& registry, Clock& clock, int colourIndex)
    : QWidget(nullptr, Qt::Window),
      id_(id),
      chat_(chat),
      registry_(registry),
      clock_(clock),
      settings_(MemoWindowSettings::Load(registry)),
      transcript_(new QPlainTextEdit(this)),
      reply_(new QLineEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString(received ? "From: %1" : "To: %1").arg(fromHost(id)));
    transcript_->setReadOnly(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kBackgrounds[colourIndex % kColours]);
    transcript_->setPalette(colours);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(transcript_);
    layout->addWidget(reply_);
    reply_->installEventFilter(new ReplyFilter(*this));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &MemoWindow::showContextMenu);
    setWindowFlag(Qt::WindowStaysOnTopHint, settings_.topMost);
    autoHide_.SetEnabled(settings_.autoHide);
    resize(settings_.width, settings_.height);
    placeOnScreen();
    connect(&timer_, &QTimer::timeout, this, &MemoWindow::CheckAutoHide);
    timer_.start(500);
}

MemoWindow::~MemoWindow() = default;

// A position off every screen moves onto the nearest one.
void MemoWindow::placeOnScreen() {
    const QPoint wanted(settings_.x, settings_.y);
    QRect best;
    qint64 bestDistance = -1;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        if (area.contains(wanted)) {
            move(wanted);
            return;
        }
        const QPoint inside(std::clamp(wanted.x(), area.left(), area.right()),
                            std::clamp(wanted.y(), area.top(), area.bottom()));
        const qint64 distance = qint64(inside.x() - wanted.x()) * (inside.x() - wanted.x()) +
                                qint64(inside.y() - wanted.y()) * (inside.y() - wanted.y());
        if (bestDistance < 0 || distance < bestDistance) bestDistance = distance, best = area;
    }
    if (bestDistance < 0) return move(wanted);
    move(std::clamp(wanted.x(), best.left(), std::max(best.left(), best.right() - width())),
         std::clamp(wanted.y(), best.top(), std::max(best.top(), best.bottom() - height())));
}

void MemoWindow::addLine(const QString& line) {
    transcript_->appendPlainText(line);
}

void MemoWindow::AddReceived(const std::string& text) {
    addLine("-> " + fromHost(text));
    autoHide_.TextArrived(clock_.nowMs());
}

bool MemoWindow::SendReply() {
    const QString typed = reply_->text().trimmed();
    if (typed.isEmpty()) return false;
    const std::string text = utf8ToCp949Lossy(typed.toStdString());
    if (!chat_.SendMemo(id_, text)) return false;  // no memo command: the reply stays
    if (!typed.startsWith('/')) addLine("<- " + typed);
    reply_->clear();
    return true;
}

void MemoWindow::CheckAutoHide() {
    if (autoHide_.Expired(clock_.nowMs(), reply_->text().isEmpty())) close();
}

void MemoWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            autoHide_.Activated();
        else
            autoHide_.Deactivated(clock_.nowMs());
    }
    QWidget::changeEvent(event);
}

void MemoWindow::closeEvent(QCloseEvent* event) {
    settings_.x = x();
    settings_.y = y();
    settings_.width = width();
    settings_.height = height();
    settings_.SavePlacement(registry_);
    QWidget::closeEvent(event);
}

void MemoWindow::ToggleTopMost() {
    settings_.topMost = !settings_.topMost;
    settings_.SaveFlags(registry_);
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, settings_.topMost);
    if (shown) show();
}

void MemoWindow::ToggleAutoHide() {
    settings_.autoHide = !settings_.autoHide;
    settings_.SaveFlags(registry_);
    autoHide_.SetEnabled(settings_.autoHide);
}

void MemoWindow::showContextMenu(const QPoint& at) {
    QMenu menu(this);
    QAction* top = menu.addAction("항상 위(&A)");
    top->setCheckable(true);
    top->setChecked(settings_.topMost);
    QAction* hide = menu.addAction("자동 숨김(&H)");
    hide->setCheckable(true);
    hide->setChecked(settings_.autoHide);
    QAction* chosen = menu.exec(mapToGlobal(at));
    if (chosen == top) ToggleTopMost();
    if (chosen == hide) ToggleAutoHide();
}
