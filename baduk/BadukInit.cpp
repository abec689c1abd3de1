#include "baduk/BadukInit.h"

#include "baduk/BadukDoc.h"
#include "baduk/ServiceCommands.h"

namespace {

BadukHost host;
std::unique_ptr<CBadukDoc> document;

void onChar(TWPoint cell, bool attrDiffers, const uint8_t* bytes, int count) {
    if (!document) return;
    if (cell.x == -1 && cell.y == -1) {
        BadukClose();
        return;
    }
    document->OnChar(cell, attrDiffers ? 1 : 0, bytes, count);
}

}  // namespace

void SetBadukHost(BadukHost newHost) {
    host = std::move(newHost);
}

TWView::CharObserver AfxBadukInit(const char* serviceName, const char* /*path*/) {
    bool fresh = !document;
    if (fresh) document = std::make_unique<CBadukDoc>();
    document->NewDocument();
    if (host.openWindow && !host.openWindow(*document)) {
        if (fresh) document.reset();
        return nullptr;
    }
    document->SetServiceIndex(ServiceIndexFromName(serviceName ? serviceName : ""));
    return onChar;
}

void Baduk2EOL(TWPoint cell) {
    if (document) document->Baduk2EOL(cell);
}

void BadukClose() {
    if (!document) return;
    if (host.closeWindow) host.closeWindow();
    document.reset();
}

void BadukPuts(const char* text) {
    if (host.puts) host.puts(text);
}
