#pragma once
// The Go board library's entry points: AfxBadukInit opens the board document (and its window)
// and returns the character callback the terminal calls; Baduk2EOL passes an erase to the end
// of a row. The front end registers what a window is and how text reaches the host.
#include <functional>
#include <memory>

#include "term/TWView.h"

class CBadukDoc;

struct BadukHost {
    // Shows the window of a new document, or resets it in the open window; false when no window
    // can be made. Not set: the document lives without a window (the tool).
    std::function<bool(CBadukDoc&)> openWindow;
    // The document is going: the window closes.
    std::function<void()> closeWindow;
    // Sends a line to the host (the terminal's VTPuts: the text, then CR).
    std::function<void(const char*)> puts;
};

void SetBadukHost(BadukHost host);
// service: the current service's name in CP949; path: ignored, a new document is empty.
// Null when the window cannot be made. A second call while the document is open resets it.
TWView::CharObserver AfxBadukInit(const char* serviceName, const char* path);
void Baduk2EOL(TWPoint cell);
// Closes the document and its window, as the cell (-1, -1) does.
void BadukClose();
// Sends text through the host's VTPuts.
void BadukPuts(const char* text);
