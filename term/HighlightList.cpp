#include "term/HighlightList.h"

#include <algorithm>

void HighlightList::SetText(std::string_view text) {
    strings_.clear();
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view piece = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!piece.empty() && piece.back() == '\r')
            piece.remove_suffix(1);
        if (piece.size() < 2) continue;
        if (std::find(strings_.begin(), strings_.end(), piece) != strings_.end()) continue;
        strings_.emplace_back(piece);
    }
}

std::string HighlightList::Text() const {
    std::string text;
    for (const std::string& s : strings_) {
        if (!text.empty()) text += "\r\n";
        text += s;
    }
    return text;
}
