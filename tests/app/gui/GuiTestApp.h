#pragma once
// The one QApplication of a window test program, on the offscreen platform unless the test
// chose another before the first call. It is never destroyed: Qt's input devices would go
// after the globals their destructors use.
#include <dlfcn.h>

#include <QApplication>
#include <cstdlib>

// Fontconfig, loaded by Qt for the first text drawn, keeps what it read of its configuration
// until FcFini; Qt would call it when the application goes, which it never does here.
inline void finishFontconfig() {
    if (auto fini = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "FcFini"))) fini();
}

inline QApplication& guiTestApp() {
    static int argc = 1;
    static char name[] = "gui_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* instance = new QApplication(argc, argv);
    static const int finishing = std::atexit(finishFontconfig);
    (void)finishing;
    return *instance;
}
