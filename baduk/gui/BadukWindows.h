#pragma once
// The Go window as the board library's window: once installed, AfxBadukInit opens "바둑창"
// beside the program's main window (or resets the one open) and the board's close ends it.
#include <functional>

class CBadukWnd;
class Prompt;
class QWidget;
class Registry;

struct BadukWindowServices {
    Prompt* prompt = nullptr;
    Registry* registry = nullptr;   // the numbering setting and the download folder
    QWidget* mainWindow = nullptr;  // where Ctrl+Tab returns the keyboard
};

// puts: sends a line to the host (the terminal's VTPuts).
void InstallBadukWindows(const BadukWindowServices& services,
                         std::function<void(const char*)> puts);
// Closes an open board and forgets the window.
void RemoveBadukWindows();
// The open window, or null.
CBadukWnd* CurrentBadukWindow();
