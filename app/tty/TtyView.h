#pragma once
// The terminal window of the tty front end: the screen buffer with its notifications handed to
// the front end (lines for the session, the bell, changes to draw, the ring turning).
#include <functional>

#include "term/TWView.h"

class TtyView : public TWView {
public:
    using TWView::TWView;

    std::function<void(bool partial)> lineReady;
    std::function<void()> bell;
    std::function<void()> highlighted;
    std::function<void()> damaged;
    std::function<void(int rows)> textShifted;

    void OnLineReady(bool partial) override {
        if (lineReady) lineReady(partial);
    }

protected:
    void OnBell() override {
        if (bell) bell();
    }
    void OnHighlight() override {
        if (highlighted) highlighted();
    }
    void OnDamaged() override {
        if (damaged) damaged();
    }
    void OnTextShifted(int rows) override {
        if (textShifted) textShifted(rows);
    }
};
