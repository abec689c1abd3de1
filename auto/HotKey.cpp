#include "auto/HotKey.h"

#include <vector>

namespace {

// Key code i + 1 is entry i. Keypad "/" and keypad Enter carry the names of the main keys.
const std::vector<std::string>& keyNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (char c = 'A'; c <= 'Z'; ++c)
            list.emplace_back(1, c);
        for (char c = '0'; c <= '9'; ++c)
            list.emplace_back(1, c);
        for (int n = 1; n <= 24; ++n)
            list.push_back("F" + std::to_string(n));
        for (char c = '0'; c <= '9'; ++c)
            list.push_back(std::string("Num ") + c);
        for (const char* name :
             {"Num *", "Num +", "Num -", "Num Del", "Page Up",   "Page Down", "Home", "End",
              "Left",  "Up",    "Right", "Down",    "Insert",    "Delete",    "Esc",  "Backspace",
              "Tab",   "Enter", "Space", "Pause",   "Prnt Scrn", "`",         "-",    "=",
              "[",     "]",     "\\",    ";",       "'",         ",",         ".",    "/"})
            list.emplace_back(name);
        return list;
    }();
    return names;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool stripPrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

int KeyCodeOf(std::string_view name) {
    const auto& names = keyNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (equalIgnoringAsciiCase(names[i], name)) return static_cast<int>(i) + 1;
    return 0;
}

std::string_view KeyName(int code) {
    const auto& names = keyNames();
    if (code < 1 || code > static_cast<int>(names.size())) return {};
    return names[code - 1];
}

std::string KeyText(const HotKey& key) {
    std::string_view name = KeyName(key.key);
    if (name.empty()) return {};
    std::string text;
    if (key.ctrl) text += "Ctrl+";
    if (key.shift) text += "Shift+";
    if (key.alt) text += "Alt+";
    return text.append(name);
}

HotKey ParseKeyText(std::string_view text) {
    HotKey key;
    key.ctrl = stripPrefix(text, "Ctrl+");
    key.shift = stripPrefix(text, "Shift+");
    key.alt = stripPrefix(text, "Alt+");
    key.key = KeyCodeOf(text);
    return key;
}

HotKey HotKeyOfCharacter(char c) {
    static constexpr std::string_view plain = "`1234567890-=[]\\;',./";
    static constexpr std::string_view shifted = "~!@#$%^&*()_+{}|:\"<>?";
    HotKey key;
    if (c >= 'a' && c <= 'z') {
        key.key = KeyCodeOf(std::string(1, c));
    } else if (c >= 'A' && c <= 'Z') {
        key = {false, true, false, KeyCodeOf(std::string(1, c))};
    } else if (c == ' ') {
        key.key = KeyCodeOf("Space");
    } else if (size_t i = plain.find(c); i != std::string_view::npos) {
        key.key = KeyCodeOf(plain.substr(i, 1));
    } else if (size_t j = shifted.find(c); j != std::string_view::npos) {
        key = {false, true, false, KeyCodeOf(plain.substr(j, 1))};
    }
    return key;
}

bool IsTypingKey(const HotKey& key) {
    return KeyName(key.key).size() == 1 && !key.ctrl && !key.alt;
}
