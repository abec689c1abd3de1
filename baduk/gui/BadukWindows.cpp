#include "baduk/gui/BadukWindows.h"

#include <QPointer>

#include "baduk/BadukInit.h"
#include "baduk/gui/CBadukWnd.h"

namespace {

BadukWindowServices services;
QPointer<CBadukWnd> window;

bool openWindow(CBadukDoc& doc) {
    if (window) {
        window->ResetDocument();
    } else {
        window = new CBadukWnd(doc, services);
        if (services.mainWindow) window->move(services.mainWindow->frameGeometry().topRight());
        window->show();
    }
    window->raise();
    return true;
}

// The document goes right after this: the window goes first. Never called from inside one of
// the window's own event handlers (its close is passed on through the loop).
void closeWindow() {
    delete window.data();
    window = nullptr;
}

}  // namespace

void InstallBadukWindows(const BadukWindowServices& given, std::function<void(const char*)> puts) {
    services = given;
    SetBadukHost({openWindow, closeWindow, std::move(puts)});
}

void RemoveBadukWindows() {
    BadukClose();
    SetBadukHost({});
    services = {};
}

CBadukWnd* CurrentBadukWindow() {
    return window;
}
