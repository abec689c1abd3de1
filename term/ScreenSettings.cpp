#include "term/ScreenSettings.h"

#include <algorithm>

#include "platform/StoredValues.h"
#include "platform/TextCodec.h"

namespace {

// A stored number: absent or empty gives `fallback`; clamped to lo..hi.
int number(const SettingsMap& map, const char* key, int fallback, int lo, int hi) {
    auto found = map.find(key);
    int value =
        found == map.end() || found->second.empty() ? fallback : parseDecimal(found->second);
    return std::clamp(value, lo, hi);
}

bool flag(const SettingsMap& map, const char* key, bool fallback) {
    return number(map, key, fallback ? 1 : 0, -1000000, 1000000) != 0;
}

std::string path(const SettingsMap& map, const char* key) {
    auto found = map.find(key);
    return found == map.end() ? std::string() : storedFilePath(found->second);
}

}  // namespace

ScreenSettings ReadScreenSettings(const SettingsMap& map, const ScreenSettings& current) {
    ScreenSettings s = current;
    if (auto face = map.find("WinFont"); face != map.end() && !face->second.empty()) {
        s.winFont = cp949ToUtf8Lossy(face->second);
    }
    s.fontSize = number(map, "FontSize", 12, 10, 26);
    s.fontLeading = number(map, "FontLeading", 2, 0, 9);
    s.rows = number(map, "Rows", 24, 1, 99);
    s.variableRows = flag(map, "VariableRows", current.variableRows);
    s.boldFont = flag(map, "BoldFont", current.boldFont);
    s.hanFont16 = path(map, "HanFont16");
    s.textColor = number(map, "TextColor", current.textColor, 0, 15);
    s.bkColor = number(map, "BkColor", current.bkColor, 0, 15);
    s.sysColor = flag(map, "SysColor", false);
    s.desktopBkGnd = flag(map, "DesktopBkGnd", false);
    s.wallPaper = path(map, "WallPaper");
    return s;
}

SettingsMap WriteScreenSettings(const ScreenSettings& s) {
    auto decimal = [](int value) { return std::to_string(value); };
    return {{"WinFont", utf8ToCp949Lossy(s.winFont)},
            {"FontSize", decimal(s.fontSize)},
            {"FontLeading", decimal(s.fontLeading)},
            {"Rows", decimal(s.rows)},
            {"VariableRows", decimal(s.variableRows)},
            {"BoldFont", decimal(s.boldFont)},
            {"HanFont16", utf8ToCp949Lossy(s.hanFont16)},
            {"TextColor", decimal(s.textColor)},
            {"BkColor", decimal(s.bkColor)},
            {"SysColor", decimal(s.sysColor)},
            {"DesktopBkGnd", decimal(s.desktopBkGnd)},
            {"WallPaper", utf8ToCp949Lossy(s.wallPaper)}};
}

bool CanAddRow(int rows, bool maximised) {
    return rows < 99 && !maximised;
}

bool CanRemoveRow(int rows, bool maximised) {
    return rows >= 25 && !maximised;
}

void ChangeRows(SettingsMap& map, int rows, int change) {
    map["Rows"] = std::to_string(std::clamp(rows + change, 1, 99));
}
