#pragma once
// What the settings lists do alike with the rows the user selected.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "auto/Registry.h"

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

// `title`, or "title (2)", "title (3)", ... when another row's title (read by `titleOf`) is the
// same apart from ASCII letter case; the row being edited does not count.
template <class Row, class TitleOf>
std::string UniqueTitle(const std::vector<Row>& rows, TitleOf titleOf, const std::string& title,
                        std::optional<size_t> editing) {
    auto taken = [&](const std::string& candidate) {
        const std::string folded = Registry::foldName(candidate);
        for (size_t i = 0; i < rows.size(); ++i)
            if (i != editing && Registry::foldName(titleOf(rows[i])) == folded) return true;
        return false;
    };
    if (!taken(title)) return title;
    for (int n = 2;; ++n) {
        std::string candidate = title + " (" + std::to_string(n) + ")";
        if (!taken(candidate)) return candidate;
    }
}
