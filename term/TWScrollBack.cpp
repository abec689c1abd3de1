#include "term/TWScrollBack.h"

#include <algorithm>

void TWScrollBack::SetVisibleRows(int rows) {
    visible_ = std::clamp(rows, 1, TWView::kRingRows);
    back_ = 0;  // a resize returns the window to the live screen
}

void TWScrollBack::ScrollBy(int lines, const TWView& view) {
    // The oldest row worth showing is the oldest kept history row.
    const int oldest = std::max(view.ScreenTop() - view.HistoryRows(), 0);
    back_ = std::clamp(back_ - lines, 0, std::max(bottom() - oldest, 0));
}

void TWScrollBack::Shift(int rows, const TWView& view) {
    if (back_ == 0) return;
    back_ += rows;
    ScrollBy(0, view);
}
