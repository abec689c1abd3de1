#include "auto/ChatSettings.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"

namespace {

int fieldOf(const Record& record, const char* name, int defaultValue) {
    auto found = record.find(name);
    if (found == record.end()) return defaultValue;
    try {
        return std::stoi(found->second);
    } catch (const std::exception&) {
        return defaultValue;
    }
}

// "%d,%d"; nothing unless both numbers are there.
bool readPair(const std::string& text, int& a, int& b) {
    int first = 0, second = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d,%d%c", &first, &second, &end) != 2) return false;
    a = first;
    b = second;
    return true;
}

}  // namespace

ChatBarSettings ChatBarSettings::Load(Registry& registry) {
    Record record;
    CRecordStore store(registry);
    if (store.SelectKind(RecordKind::ChatWindow)) store.ReadRecord(store.Section(), record);
    ChatBarSettings settings;
    settings.bkColor = std::clamp(fieldOf(record, "BkColor", 0), 0, 15);
    settings.textColor = std::clamp(fieldOf(record, "TextColor", 15), 0, 15);
    settings.rows = std::clamp(fieldOf(record, "Rows", 1), 1, 9);
    settings.useCaption = fieldOf(record, "UseCaption", 1) != 0;
    return settings;
}

bool ChatBarSettings::Save(Registry& registry) const {
    CRecordStore store(registry);
    return store.SelectKind(RecordKind::ChatWindow) &&
           store.WriteRecord(store.Section(), {{"BkColor", std::to_string(bkColor)},
                                               {"TextColor", std::to_string(textColor)},
                                               {"Rows", std::to_string(rows)},
                                               {"UseCaption", useCaption ? "1" : "0"}});
}

MemoWindowSettings MemoWindowSettings::Load(Registry& registry) {
    CSettingsSection section(registry, "Settings");
    MemoWindowSettings settings;
    settings.useMemo = section.GetInt("UseMemo", 1) != 0;
    settings.autoHide = section.GetInt("MemoAutoHide", 1) != 0;
    settings.topMost = section.GetInt("MemoTopMost", 0) != 0;
    readPair(section.GetString("MemoPos"), settings.x, settings.y);
    int width = 0, height = 0;
    if (readPair(section.GetString("MemoSize"), width, height) && width > 0 && height > 0) {
        settings.width = width;
        settings.height = height;
    }
    return settings;
}

bool MemoWindowSettings::SaveFlags(Registry& registry) const {
    CSettingsSection section(registry, "Settings");
    return section.SetInt("MemoAutoHide", autoHide ? 1 : 0) &&
           section.SetInt("MemoTopMost", topMost ? 1 : 0);
}

bool MemoWindowSettings::SavePlacement(Registry& registry) const {
    CSettingsSection section(registry, "Settings");
    return section.SetString("MemoPos", std::to_string(x) + ',' + std::to_string(y)) &&
           section.SetString("MemoSize", std::to_string(width) + ',' + std::to_string(height));
}
