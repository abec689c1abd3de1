// Changing the number of screen rows when the window is resized. The screen is the bottom of
// the ring, so the text stays where it is on the ring unless rows have to be dropped under the
// cursor (shrinking) or added under the text (growing with too little history).
#include <algorithm>

#include "term/TWView.h"

void TWView::ResizeRows(int rows) {
    rows = std::clamp(rows, 1, kMaxRows);
    const int delta = rows - rows_;
    if (delta == 0) return;
    int cursorShift, historyChange, clearShift;
    if (delta < 0) {
        // Rows under the cursor are dropped first; the rest leave at the top into the history.
        const int d = -delta;
        const int dropped = std::min(d, rows_ - 1 - cursorY_);
        advanceRing(-dropped);
        for (int r = 0; r < dropped; ++r)
            blankRow(r);  // the bottom rows wrapped to the oldest
        cursorShift = dropped - d;
        historyChange = d - dropped;
        clearShift = d - dropped;
    } else {
        // Rows come back from the history first; the rest are blank rows under the text.
        const int back = std::min(delta, historyRows_);
        const int added = delta - back;
        advanceRing(added);
        for (int r = kRingRows - added; r < kRingRows; ++r)
            blankRow(r);
        cursorShift = back;
        historyChange = -back;
        clearShift = -back;
    }
    rows_ = rows;
    cursorY_ = std::clamp(cursorY_ + cursorShift, 0, rows_ - 1);
    historyRows_ = std::clamp(historyRows_ + historyChange, 0, ScreenTop());
    scrolledSinceClear_ = std::clamp(scrolledSinceClear_ + clearShift, 0, 1 << 30);
    regionBottom_ = rows_ - 1;
    regionTop_ = std::min(regionTop_, regionBottom_);
    leadMoved_ = true;  // a lead byte waiting for its pair has lost its cell
    justWrapped_ = false;
    invalidateAll();
}
