#include "app/MenuHotKeys.h"

#include <string_view>
#include <utility>

#include "app/CommandTable.h"

namespace {

// The table's shortcuts are in Qt's portable notation: modifiers joined by '+', then the key,
// some keys by a short name.
HotKey parseShortcut(std::string_view text) {
    static const std::pair<std::string_view, std::string_view> shortNames[] = {
        {"Ins", "Insert"},       {"Del", "Delete"},   {"PgUp", "Page Up"},
        {"PgDown", "Page Down"}, {"Return", "Enter"}, {"Print", "Prnt Scrn"}};
    HotKey key;
    for (size_t plus; (plus = text.find('+')) != std::string_view::npos && plus + 1 < text.size();
         text.remove_prefix(plus + 1)) {
        const std::string_view modifier = text.substr(0, plus);
        key.ctrl = key.ctrl || modifier == "Ctrl";
        key.shift = key.shift || modifier == "Shift";
        key.alt = key.alt || modifier == "Alt";
    }
    for (const auto& [shortName, name] : shortNames)
        if (text == shortName) text = name;
    key.key = KeyCodeOf(text);
    return key;
}

}  // namespace

std::vector<HotKey> MenuHotKeys() {
    std::vector<HotKey> keys;
    for (const Command& command : commandTable())
        if (!command.shortcut.empty()) keys.push_back(parseShortcut(command.shortcut));
    return keys;
}
