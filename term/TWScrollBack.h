#pragma once
// Which rows of the ring the window shows: the live screen at the bottom, or older rows while
// the user looks back through the history.
#include "term/TWView.h"

class TWScrollBack {
public:
    // Rows that fit in the window.
    void SetVisibleRows(int rows);
    int VisibleRows() const { return visible_; }

    // Logical row shown at the top of the window.
    int TopRow() const { return bottom() - back_; }
    bool AtBottom() const { return back_ == 0; }
    // Scrolls by `lines` (negative: back into the history), staying inside the rows kept.
    void ScrollBy(int lines, const TWView& view);
    void ToBottom() { back_ = 0; }
    // While looking back the window stays on the same text when the ring turns; rows that fall
    // off the ring leave the window at the oldest row.
    void Shift(int rows, const TWView& view);

private:
    int bottom() const { return TWView::kRingRows - visible_; }
    int visible_ = 25;
    int back_ = 0;  // rows above the live position
};
