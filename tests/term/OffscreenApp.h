#pragma once
// The one QGuiApplication of a painter test, on the offscreen platform.
#include <QGuiApplication>

inline QGuiApplication& OffscreenApp() {
    static int argc = 1;
    static char name[] = "painter_test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication instance(argc, argv);
    return instance;
}
