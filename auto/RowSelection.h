#pragma once
// What the settings lists do alike with the rows the user selected.
#include <algorithm>
#include <cstddef>
#include <vector>

// Removes the selected rows (positions in any order, repeats allowed); false when none was.
template <class Row>
bool EraseRows(std::vector<Row>& rows, std::vector<size_t> selected) {
    // From the last, so that the positions still to remove stay where they were.
    std::sort(selected.rbegin(), selected.rend());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    bool erased = false;
    for (size_t row : selected) {
        if (row >= rows.size()) continue;
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
        erased = true;
    }
    return erased;
}

// A double-click on the list: with nothing selected it adds, with one selected row it edits.
template <class Add, class Edit>
void DoubleClickRows(const std::vector<size_t>& selected, Add add, Edit edit) {
    if (selected.empty()) {
        add();
    } else if (selected.size() == 1) {
        edit(selected[0]);
    }
}
