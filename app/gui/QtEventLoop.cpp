#include "app/gui/QtEventLoop.h"

#include <poll.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

namespace {

// What the descriptor has ready now; a notifier only says that something may be.
unsigned readyEvents(int fd, unsigned wanted) {
    pollfd p{fd, 0, 0};
    if (wanted & LoopEvent::Readable) p.events |= POLLIN;
    if (wanted & LoopEvent::Writable) p.events |= POLLOUT;
    if (poll(&p, 1, 0) <= 0) return 0;
    unsigned ready = 0;
    if (p.revents & POLLIN) ready |= LoopEvent::Readable;
    if (p.revents & POLLOUT) ready |= LoopEvent::Writable;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) ready |= LoopEvent::Hangup;
    return ready;
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Shortcut:
            return true;
        default:
            return false;
    }
}

}  // namespace

QtEventLoop::QtEventLoop() : idleTimer_(new QTimer(this)) {
    idleTimer_->setSingleShot(true);
    idleTimer_->setInterval(0);
    connect(idleTimer_, &QTimer::timeout, this, [this] { runIdle(); });
}

QtEventLoop::~QtEventLoop() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void QtEventLoop::onLoopThread(Task task) {
    if (QThread::currentThread() == thread())
        task();
    else
        QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

int QtEventLoop::addWatch(int fd, unsigned events, FdHandler handler) {
    const int id = nextId_++;
    onLoopThread([this, id, fd, events, handler = std::move(handler)]() mutable {
        createWatch(id, fd, events, std::move(handler));
    });
    return id;
}

void QtEventLoop::createWatch(int id, int fd, unsigned events, FdHandler handler) {
    Watch& w = watches_[id];
    w.fd = fd;
    w.events = events;
    w.handler = std::make_shared<FdHandler>(std::move(handler));
    // Hang-ups are reported whatever was asked, so there is always a read notifier.
    w.read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(w.read.get(), &QSocketNotifier::activated, this, [this, id] { dispatchWatch(id); });
    if (events & LoopEvent::Writable) {
        w.write = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        connect(w.write.get(), &QSocketNotifier::activated, this,
                [this, id] { dispatchWatch(id); });
    }
}

void QtEventLoop::dispatchWatch(int id) {
    auto it = watches_.find(id);
    if (it == watches_.end() || !it->second.enabled) return;
    const unsigned ready = readyEvents(it->second.fd, it->second.events);
    if (ready == 0) return;
    std::shared_ptr<FdHandler> handler = it->second.handler;  // the handler may remove the watch
    (*handler)(ready);
}

void QtEventLoop::setWatchEnabled(int watch, bool enabled) {
    onLoopThread([this, watch, enabled] {
        auto it = watches_.find(watch);
        if (it == watches_.end()) return;
        it->second.enabled = enabled;
        it->second.read->setEnabled(enabled);
        if (it->second.write) it->second.write->setEnabled(enabled);
    });
}

void QtEventLoop::removeWatch(int watch) {
    onLoopThread([this, watch] { watches_.erase(watch); });
}

int QtEventLoop::addTimer(int intervalMs, bool repeat, Task task) {
    const int id = nextId_++;
    onLoopThread([this, id, intervalMs, repeat, task = std::move(task)]() mutable {
        createTimer(id, intervalMs, repeat, std::move(task));
    });
    return id;
}

void QtEventLoop::createTimer(int id, int intervalMs, bool repeat, Task task) {
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeat);
    timer->setInterval(std::max(intervalMs, 0));
    auto shared = std::make_shared<Task>(std::move(task));
    connect(timer, &QTimer::timeout, this, [this, id, repeat, shared] {
        if (!repeat) removeTimer(id);
        (*shared)();
    });
    timers_[id] = timer;
    timer->start();
}

void QtEventLoop::removeTimer(int timer) {
    onLoopThread([this, timer] {
        auto it = timers_.find(timer);
        if (it == timers_.end()) return;
        it->second->stop();
        it->second->deleteLater();
        timers_.erase(it);
    });
}

void QtEventLoop::post(Task task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void QtEventLoop::setIdleHook(IdleHook hook) {
    onLoopThread([this, hook = std::move(hook)]() mutable { idleHook_ = std::move(hook); });
}

void QtEventLoop::kickIdle() {
    if (idleKicked_.exchange(true)) return;
    onLoopThread([this] {
        if (!idleRunning_) idleTimer_->start();
    });
}

// The hook is never re-entered: a wait started inside it runs everything else, and a kick
// meanwhile runs it again once it has returned.
void QtEventLoop::runIdle() {
    if (idleRunning_ || !idleKicked_.exchange(false) || !idleHook_) return;
    idleRunning_ = true;
    const IdleHook hook = idleHook_;
    const bool again = hook();
    idleRunning_ = false;
    if (again) idleKicked_ = true;
    if (idleKicked_) idleTimer_->start();
}

WaitEnd QtEventLoop::runFor(int ms) {
    if (waiting_) return WaitEnd::Nested;
    if (closing_ || quit_) return WaitEnd::CloseRequested;
    QEventLoop nested;
    waiting_ = &nested;
    waitEnd_ = WaitEnd::TimedOut;
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, &nested, [&] { nested.exit(); });
    nested.exec();
    QCoreApplication::instance()->removeEventFilter(this);
    waiting_ = nullptr;
    return closing_ || quit_ ? WaitEnd::CloseRequested : waitEnd_;
}

void QtEventLoop::endWait(WaitEnd end) {
    onLoopThread([this, end] {
        if (!waiting_) return;
        waitEnd_ = end;
        waiting_->exit();
    });
}

bool QtEventLoop::eventFilter(QObject* watched, QEvent* event) {
    if (waiting_ && isUserInput(event->type())) endWait(WaitEnd::UserInput);
    return QObject::eventFilter(watched, event);
}

void QtEventLoop::interruptWait() {
    endWait(WaitEnd::UserInput);
}

void QtEventLoop::requestClose() {
    closing_ = true;
    endWait(WaitEnd::CloseRequested);
}

void QtEventLoop::run() {
    QEventLoop loop;
    running_ = &loop;
    if (!quit_) loop.exec();
    running_ = nullptr;
    quit_ = false;
}

void QtEventLoop::quit() {
    quit_ = true;
    onLoopThread([this] {
        if (waiting_) waiting_->exit();
        if (running_) running_->exit();
    });
}
