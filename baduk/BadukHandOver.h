#pragma once
// Hands a Go board on the terminal screen to the board library: when a board is recognised
// with Baduk mode on (or the mode is switched on while one is in progress) the board document
// opens, sees the whole screen again and then every character drawn; erasing to the end of a
// row is passed on; clearing the screen or switching the mode off ends the board.
#include <functional>
#include <string>

#include "term/TWView.h"

class BadukHandOver {
public:
    // serviceName: the session's current service (CP949), asked each time a board opens.
    BadukHandOver(TWView& view, std::function<std::string()> serviceName, bool mode = true);

    bool Mode() const { return mode_; }
    void SetMode(bool on);

    // The terminal view's notifications, passed on by the window that derives from it.
    void OnBoardRecognised();
    void OnBoardEraseToEndOfLine(TWPoint cursor);
    void OnScreenCleared();

private:
    void open();

    TWView& view_;
    std::function<std::string()> serviceName_;
    bool mode_;
};
