#pragma once
// What the session asks of the window that shows it: the main window of the GUI or the tty front
// end. Texts are UTF-8. Called on the user-interface thread only.
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/LoginChoice.h"

class VtxHost;

class SessionFrame {
public:
    virtual ~SessionFrame() = default;

    // The document title: the host or entry in use, "" when offline.
    virtual void SetTitle(const std::string& title) = 0;
    // A passing message in the status bar.
    virtual void ShowStatus(const std::string& text) = 0;
    // The connection came up (the connect clock starts from "00:00:00") or went down
    // ("OFFLINE").
    virtual void SetOnline(bool online) = 0;
    // The kind of link in use: 1 modem (with the device's name), 2 telnet.
    virtual void SetLinkMode(int mode, const std::string& device) = 0;
    // The terminal screen is cleared (the switch to telnet mode).
    virtual void ClearScreen() = 0;
    // The window shows the scroll-back history, so the pump leaves received bytes in the link.
    virtual bool ScrolledBack() = 0;
    // A busy session hands a connection to a new copy of the program, started with these
    // arguments as separate words.
    virtual void HandOff(const std::vector<std::string>& args) = 0;
    // Offers the communication settings (after a modem could not be opened).
    virtual void OpenCommSettings() = 0;
    // Bytes were received or sent on the link since the last call (the status bar's lamps).
    virtual void LinkActivity(bool /*received*/, bool /*sent*/) {}
    // The session's current service changed: menus, icon panel pages and the status line that
    // depend on it are refreshed.
    virtual void ServiceChanged() {}
    // The service's start prompt arrived: the icon panel shows its bookmarks page.
    virtual void ShowBookmarksPage() {}
    // The place a recognised service's screen shows ("자유게시판", "FREE"); both empty when
    // none is recognised.
    virtual void ShowLocation(const std::string& /*title*/, const std::string& /*code*/) {}
    // The bookmark record dialog on `bookmark` (CP949 fields): false when cancelled.
    virtual bool EditBookmark(Record& /*bookmark*/) { return false; }
    // The session's bookmarks or recent places changed: the lists that show them are redrawn.
    virtual void PlacesChanged() {}
    // Runs a command of the program's command table by id (posted to the loop by the session,
    // so it runs after the line pipeline); unknown ids do nothing.
    virtual void PostCommand(int /*id*/) {}
    // While dial-up networking dials, the window takes no input but the wait notice's cancel.
    virtual void EnableFrame(bool /*enabled*/) {}
    // The log-in chooser "사용자 로그인" over the service's IDs (CP949, passwords clear),
    // modal while the pump waits; `choice` comes in with the first ID and goes out as
    // confirmed. False when cancelled.
    virtual bool ChooseLogin(const std::vector<Record>& /*ids*/, LoginChoice& /*choice*/) {
        return false;
    }
    // Draws the user's eye to the window (without waiting for it).
    virtual void AttractUser() {}
    // The terminal shows everything received so far at once.
    virtual void RedrawNow() {}
    // The window a videotex page is shown in; null where pages are not shown (the tty).
    virtual VtxHost* VideotexWindow() { return nullptr; }
    // Videotex mode began or ended: the window hides its caret and scroll bar for the page, or
    // brings them back with the text screen.
    virtual void VideotexMode(bool /*on*/) {}
};
