#include "auto/KeyNotation.h"

#include "auto/DoubleByteText.h"

namespace {

struct KeyName {
    std::string_view name;
    char code;
};
constexpr KeyName kKeyNames[] = {{"<Enter>", '\r'}, {"<Esc>", '\x1b'}, {"<Tab>", '\t'}};
constexpr std::string_view kCtrl = "<Ctrl-";

// Steps over `count` characters from i, never past the end.
size_t skipChars(std::string_view text, size_t i, int count) {
    for (; count > 0 && i < text.size(); --count)
        i += CharLength(text, i);
    return i;
}

}  // namespace

std::string ExpandKeyNotation(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const std::string_view rest = text.substr(i);
        if (rest[0] != '<') {
            const size_t length = CharLength(text, i);
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        bool named = false;
        for (const KeyName& key : kKeyNames) {
            if (rest.starts_with(key.name)) {
                out += key.code;
                i += key.name.size();
                named = true;
                break;
            }
        }
        if (named) continue;
        if (rest.starts_with(kCtrl)) {
            const size_t letter = i + kCtrl.size();
            if (letter + 1 < text.size() && text[letter] >= 'A' && text[letter] <= 'Z' &&
                text[letter + 1] == '>') {
                out += static_cast<char>(text[letter] - 0x40);
            }
            i = skipChars(text, letter, 2);
            continue;
        }
        // "<<" gives '<'; any other '<' is dropped and the character after it kept as it is.
        const size_t next = i + 1;
        const size_t length = next < text.size() ? CharLength(text, next) : 0;
        out.append(text.substr(next, length));
        i = next + length;
    }
    return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    size_t start = 0;
    for (size_t found = text.find(from); found != std::string_view::npos;
         found = text.find(from, start)) {
        out.append(text.substr(start, found - start));
        out.append(to);
        start = found + from.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string ReplaceCaptures(std::string_view text, const Captures& captures) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '%' && i + 1 < text.size()) {
            auto found = captures.find(std::string(text.substr(i, 2)));
            if (found != captures.end()) {
                out.append(found->second);
                i += 2;
                continue;
            }
        }
        const size_t length = CharLength(text, i);
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}
