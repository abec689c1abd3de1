#pragma once
// Strings the user wants marked wherever they appear on the screen. Set from one text, one
// string per line; strings shorter than two bytes and repeats are dropped.
#include <string>
#include <string_view>
#include <vector>

class HighlightList {
public:
    void SetText(std::string_view text);
    // The strings joined with CR LF.
    std::string Text() const;
    const std::vector<std::string>& Strings() const { return strings_; }
    bool Empty() const { return strings_.empty(); }

private:
    std::vector<std::string> strings_;
};
