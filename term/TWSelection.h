#pragma once
// The text the user marks with the mouse: from an anchor to the current position, both given as
// a logical row of the ring and a column boundary (0..80: the selection starts before that
// column). It follows the text when the ring turns.
#include "term/TWView.h"

struct TWCell {
    int row = 0;     // logical row (0 = oldest history row)
    int column = 0;  // 0..80
    bool operator==(const TWCell&) const = default;
    auto operator<=>(const TWCell&) const = default;
};

class TWSelection {
public:
    void Start(TWCell at);
    void Extend(TWCell to);
    // Ends the drag; a selection of zero width on one row is dropped. True when one remains.
    bool Finish();
    void Clear();

    bool Active() const { return active_; }
    bool Dragging() const { return dragging_; }
    // The earlier and the later end.
    TWCell First() const { return anchor_ < current_ ? anchor_ : current_; }
    TWCell Last() const { return anchor_ < current_ ? current_ : anchor_; }
    // Whether the cell (logical row, column 0..79) is drawn selected.
    bool Contains(int row, int column) const;

    // The text moved `rows` rows up the ring (TWView::OnTextShifted); a selection that left
    // the ring is cleared.
    void Shift(int rows);

private:
    TWCell anchor_, current_;
    bool active_ = false;
    bool dragging_ = false;
};
