#pragma once
// A macro hot key: Ctrl, Shift and Alt with a key code of our own, and its key text as profiles
// store it ("Ctrl+Shift+F5"). The key names are the same on every keyboard layout; key code 0
// means no key and never matches a key press.
#include <compare>
#include <string>
#include <string_view>

struct HotKey {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    int key = 0;

    bool Valid() const { return key != 0; }
    auto operator<=>(const HotKey&) const = default;
};

// The code of a key name ("F1", "Num 7", "Page Up", "/"), ASCII case ignored; 0 when unknown.
int KeyCodeOf(std::string_view name);
// The canonical name of a key code; empty for 0 or an unknown code.
std::string_view KeyName(int code);

// "Ctrl+", "Shift+", "Alt+" in this order, then the key's name; empty without a key.
std::string KeyText(const HotKey& key);
// Each prefix is stripped only at its place, the rest looked up by name; unparsable text gives
// key 0.
HotKey ParseKeyText(std::string_view text);

// The key that types a printable ASCII character on a US keyboard, with Shift where it takes
// one ('a' is A, 'A' Shift+A, '!' Shift+1, ' ' Space); key 0 for other bytes.
HotKey HotKeyOfCharacter(char c);

// An ordinary typing key: a one-character name with no modifier or Shift only.
bool IsTypingKey(const HotKey& key);
