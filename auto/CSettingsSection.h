#pragma once
// One section of single settings under the user root ("Settings", "Comm", "Settings\Capture").
// Every value is stored as text; integers as decimal text.
#include <optional>
#include <string>

#include "auto/Registry.h"
#include "platform/StoredValues.h"

struct WindowPlacement {
    unsigned flags = 0;
    unsigned showCmd = 0;
    int minX = 0, minY = 0;                        // minimised position
    int maxX = 0, maxY = 0;                        // maximised position
    int left = 0, top = 0, right = 0, bottom = 0;  // normal rectangle
};

class CSettingsSection {
public:
    CSettingsSection(Registry& registry, std::string section)
        : registry_(registry), section_(std::move(section)) {}

    // A missing or empty value gives `defaultValue`.
    int GetInt(const std::string& key, int defaultValue);
    bool SetInt(const std::string& key, int value);
    // A missing value gives the empty text.
    std::string GetString(const std::string& key);
    bool SetString(const std::string& key, const std::string& text);

    // Nothing unless the stored text holds all ten numbers of a placement.
    std::optional<WindowPlacement> LoadPlacement(const std::string& name);
    // Does nothing once the program has begun to exit.
    bool SavePlacement(const std::string& name, const WindowPlacement& placement);

    const std::string& lastError() const { return registry_.lastError(); }

private:
    std::optional<std::string> read(const std::string& key);

    Registry& registry_;
    std::string section_;
};
