#pragma once
// What shows the dialler to the user: the window's dialog, the tty's status line. The dialler
// tells its view when to show, redraw and go; the view reads what to show from the dialler and
// calls its controls.
class ModemDialer;

class DialerView {
public:
    virtual ~DialerView() = default;
    // The dialler opened, or was asked for again while open.
    virtual void ShowDialer(ModemDialer& dialer) = 0;
    // Something it shows changed.
    virtual void UpdateDialer() = 0;
    // It closed: the view lets go of it.
    virtual void HideDialer() = 0;
};
