#include "term/TWSelection.h"

#include <algorithm>

void TWSelection::Start(TWCell at) {
    anchor_ = current_ = at;
    active_ = dragging_ = true;
}

void TWSelection::Extend(TWCell to) {
    if (dragging_) current_ = to;
}

bool TWSelection::Finish() {
    dragging_ = false;
    if (anchor_ == current_) active_ = false;
    return active_;
}

void TWSelection::Clear() {
    active_ = dragging_ = false;
}

bool TWSelection::Contains(int row, int column) const {
    if (!active_) return false;
    const TWCell first = First(), last = Last();
    if (row < first.row || row > last.row) return false;
    if (row == first.row && column < first.column) return false;
    if (row == last.row && column >= last.column) return false;
    return true;
}

void TWSelection::Shift(int rows) {
    if (!active_) return;
    anchor_.row -= rows;
    current_.row -= rows;
    if (Last().row < 0 || First().row >= TWView::kRingRows) {
        Clear();
        return;
    }
    for (TWCell* c : {&anchor_, &current_}) {
        if (c->row < 0) *c = {0, 0};
        if (c->row >= TWView::kRingRows) *c = {TWView::kRingRows - 1, TWView::kColumns};
    }
}
