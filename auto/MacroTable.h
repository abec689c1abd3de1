#pragma once
// One service's keyboard macros: rows of name, key text and contents read from the `Macro`
// subkey of its service record (value "Ctrl+F1" = contents, "@Ctrl+F1" = name), sorted as the
// list shows them, and the hot keys that run them. Texts are CP949.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "auto/HotKey.h"
#include "auto/Registry.h"

struct MacroRow {
    std::string name;
    std::string keyText;
    std::string contents;
    bool operator==(const MacroRow&) const = default;
};

// The name of the subkey that holds a service's macros.
inline constexpr char kMacroSubkey[] = "Macro";

// The record of the service titled `service` in section "Hosts".
std::optional<RegKey> ServiceRecord(Registry& registry, const std::string& service);
// Reads the service's macros, sorted; false when the service does not exist. Never writes.
bool LoadMacros(Registry& registry, const std::string& service, std::vector<MacroRow>& rows);
// By name, key text, contents; ASCII case ignored, Korean in Unicode order.
void SortMacros(std::vector<MacroRow>& rows);
// Key to row; a key that does not parse is left out, a repeated key keeps its first row.
std::map<HotKey, size_t> BuildMacroAccelerators(const std::vector<MacroRow>& rows);

class MacroTable {
public:
    // Empty for an unknown or empty service.
    void Load(Registry& registry, const std::string& service);
    const std::vector<MacroRow>& Rows() const { return rows_; }
    std::optional<size_t> Find(const HotKey& key) const;

private:
    std::vector<MacroRow> rows_;
    std::map<HotKey, size_t> keys_;
};
