#include "auto/MacroTable.h"

#include <algorithm>
#include <tuple>

#include "auto/CRecordStore.h"
#include "platform/TextCodec.h"

namespace {

std::string sortKey(const std::string& cp949) {
    std::string text = cp949ToUtf8Lossy(cp949);  // byte order of UTF-8 is code-point order
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return text;
}

}  // namespace

std::optional<RegKey> ServiceRecord(Registry& registry, const std::string& service) {
    CRecordStore store(registry);
    if (service.empty() || !store.SelectKind(RecordKind::Service)) return std::nullopt;
    return store.FindRecord(service);
}

bool LoadMacros(Registry& registry, const std::string& service, std::vector<MacroRow>& rows) {
    rows.clear();
    std::optional<RegKey> record = ServiceRecord(registry, service);
    if (!record) return false;
    std::optional<RegKey> key = registry.openKey(*record, kMacroSubkey);
    if (!key) return true;
    const std::vector<RegValue> values = registry.values(*key);
    std::map<std::string, std::string> names;  // by folded key text
    for (const RegValue& value : values)
        if (value.name.starts_with('@'))
            names[Registry::foldName(value.name.substr(1))] = value.data;
    for (const RegValue& value : values) {
        if (value.name.empty() || value.name.starts_with('@')) continue;
        auto named = names.find(Registry::foldName(value.name));
        std::string name = named == names.end() ? std::string() : named->second;
        rows.push_back({name.empty() ? value.name : name, value.name, value.data});
    }
    SortMacros(rows);
    return true;
}

void SortMacros(std::vector<MacroRow>& rows) {
    auto key = [](const MacroRow& row) {
        return std::make_tuple(sortKey(row.name), sortKey(row.keyText), sortKey(row.contents));
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const MacroRow& a, const MacroRow& b) { return key(a) < key(b); });
}

std::map<HotKey, size_t> BuildMacroAccelerators(const std::vector<MacroRow>& rows) {
    std::map<HotKey, size_t> keys;
    for (size_t i = 0; i < rows.size(); ++i) {
        HotKey key = ParseKeyText(rows[i].keyText);
        if (key.Valid()) keys.emplace(key, i);
    }
    return keys;
}

void MacroTable::Load(Registry& registry, const std::string& service) {
    LoadMacros(registry, service, rows_);
    keys_ = BuildMacroAccelerators(rows_);
}

std::optional<size_t> MacroTable::Find(const HotKey& key) const {
    auto found = keys_.find(key);
    if (found == keys_.end()) return std::nullopt;
    return found->second;
}
