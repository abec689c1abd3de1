#pragma once
// The one QApplication of a window test program, on the offscreen platform unless the test
// chose another before the first call. It is never destroyed: Qt's input devices would go
// after the globals their destructors use.
#include <QApplication>

inline QApplication& guiTestApp() {
    static int argc = 1;
    static char name[] = "gui_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}
