#pragma once
// Where the chat assistant's windows sit in the main window: the chat input bar docked under
// the terminal (shown and hidden by Alt+C), the participant list docked beside it while the
// session is in a chat room, DOS mode in the bar, and the commands for the bar, the chat-room
// mode, DOS mode and the received memos. Made when the window attaches its session, which must not
// outlive the window while receiving (the assistant keeps telling these windows its news).
#include <QDockWidget>
#include <memory>

#include "app/gui/ChatWindows.h"
#include "app/gui/WindowShell.h"

class CMainFrame;
class CQuillonDoc;

class ChatDocks {
public:
    ChatDocks(CMainFrame& frame, CQuillonDoc& doc);
    ~ChatDocks();

    ChatWindows& Windows() { return windows_; }
    QDockWidget& BarDock() { return *barDock_; }
    QDockWidget& ListDock() { return *listDock_; }
    // The bar's field takes the terminal's symbol font (again after the screen settings change).
    void ApplySymbolFont();

private:
    void registerCommands();
    void writeMemo();
    // DOS mode on or off; on shows the bar with the prompt in its field.
    void toggleDosMode();

    CMainFrame& frame_;
    CQuillonDoc& doc_;
    ChatWindows windows_;
    QDockWidget* barDock_;
    QDockWidget* listDock_;
    WindowShell shell_;
};
