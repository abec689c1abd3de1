#include "app/tty/TtyHotKey.h"

#include <string>

namespace {

HotKey withModifiers(unsigned modifiers, std::string_view name) {
    return {(modifiers & kTWCtrl) != 0, (modifiers & kTWShift) != 0, (modifiers & kTWAlt) != 0,
            KeyCodeOf(name)};
}

std::string terminalKeyName(TWKey key) {
    const int k = static_cast<int>(key);
    if (k >= static_cast<int>(TWKey::F1) && k <= static_cast<int>(TWKey::F20))
        return "F" + std::to_string(k - static_cast<int>(TWKey::F1) + 1);
    if (k >= static_cast<int>(TWKey::Keypad0) && k <= static_cast<int>(TWKey::Keypad9))
        return "Num " + std::to_string(k - static_cast<int>(TWKey::Keypad0));
    switch (key) {
        case TWKey::Left:
            return "Left";
        case TWKey::Up:
            return "Up";
        case TWKey::Right:
            return "Right";
        case TWKey::Down:
            return "Down";
        case TWKey::KeypadMinus:
            return "Num -";
        default:
            return "";
    }
}

HotKey controlByte(uint8_t c) {
    if (c == '\t') return {false, false, false, KeyCodeOf("Tab")};
    if (c == '\r') return {false, false, false, KeyCodeOf("Enter")};
    if (c >= 1 && c <= 26) return {true, false, false, KeyCodeOf(std::string(1, '@' + c))};
    return {};
}

}  // namespace

HotKey TtyHotKey(const TtyKey& key) {
    using Kind = TtyKey::Kind;
    switch (key.kind) {
        case Kind::Key:
        case Kind::Keypad:
            return withModifiers(key.modifiers, terminalKeyName(key.key));
        case Kind::Text:
            return key.text.size() == 1 ? controlByte(static_cast<uint8_t>(key.text[0])) : HotKey{};
        case Kind::Alt: {
            HotKey hot = HotKeyOfCharacter(key.text[0]);
            hot.alt = true;
            return hot;
        }
        case Kind::Backspace:
            return withModifiers(0, "Backspace");
        case Kind::Delete:
            return withModifiers(key.modifiers, "Delete");
        case Kind::PageUp:
            return withModifiers(key.modifiers, "Page Up");
        case Kind::PageDown:
            return withModifiers(key.modifiers, "Page Down");
        case Kind::Home:
            return withModifiers(key.modifiers, "Home");
        case Kind::End:
            return withModifiers(key.modifiers, "End");
        case Kind::Insert:
            return withModifiers(key.modifiers, "Insert");
        default:
            return {};
    }
}
