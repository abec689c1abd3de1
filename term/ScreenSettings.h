#pragma once
// The screen settings of the terminal window (the "Screen" record of the profile store): fonts,
// geometry, rows and colours, read with their limits, and the row commands.
#include <map>
#include <string>

// Field name to CP949 text, as records are read from the store.
using SettingsMap = std::map<std::string, std::string>;

struct ScreenSettings {
    std::string winFont = "굴림체";  // face name (UTF-8)
    int fontSize = 12;               // 10..26
    int fontLeading = 2;             // 0..9
    int rows = 24;                   // 1..99
    bool variableRows = false;
    bool boldFont = false;
    std::string hanFont16;  // path of an .hft font, used with a raster face only
    int textColor = 15, bkColor = 1;
    bool sysColor = false;
    bool desktopBkGnd = false;
    std::string wallPaper;  // path of a picture tiled behind the text

    bool operator==(const ScreenSettings&) const = default;
};

// The settings of `map` over `current`: numbers clamped to their limits; "VariableRows",
// "BoldFont", "TextColor" and "BkColor" keep the current value when absent, the others take
// their defaults; an empty "WinFont" keeps the current face. Paths that are not absolute are
// dropped.
ScreenSettings ReadScreenSettings(const SettingsMap& map, const ScreenSettings& current);
// The record that ReadScreenSettings reads back as `settings`: every field, CP949 text.
SettingsMap WriteScreenSettings(const ScreenSettings& settings);

// Row commands "줄 수를 늘립니다." and "줄 수를 줄입니다.": adding is offered below 99 rows,
// removing from 25 rows on, neither while the frame is maximised.
bool CanAddRow(int rows, bool maximised);
bool CanRemoveRow(int rows, bool maximised);
// Writes the new count into the map as "Rows" (the caller then applies the settings).
void ChangeRows(SettingsMap& map, int rows, int change);
