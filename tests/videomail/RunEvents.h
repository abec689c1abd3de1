#pragma once
// Runs the window tests' event loop until a condition holds or the time is up.
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

inline void runUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}
