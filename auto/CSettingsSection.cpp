#include "auto/CSettingsSection.h"

#include <cstdio>
#include <vector>

#include "auto/ProfileLayout.h"
#include "auto/ProgramExit.h"

namespace {

// Exactly ten comma-separated integers, each one complete.
std::optional<std::vector<long long>> parsePlacementNumbers(const std::string& text) {
    std::vector<long long> numbers;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.find(',', start), text.size());
        std::string field = text.substr(start, end - start);
        char* stop = nullptr;
        long long n = std::strtoll(field.c_str(), &stop, 10);
        if (field.empty() || *stop != '\0') return std::nullopt;
        numbers.push_back(n);
        start = end + 1;
    }
    if (numbers.size() != 10) return std::nullopt;
    return numbers;
}

}  // namespace

std::optional<std::string> CSettingsSection::read(const std::string& key) {
    std::optional<RegKey> section = openSection(registry_, section_);
    return section ? registry_.value(*section, key) : std::nullopt;
}

int CSettingsSection::GetInt(const std::string& key, int defaultValue) {
    std::optional<std::string> text = read(key);
    return text && !text->empty() ? parseDecimal(*text) : defaultValue;
}

bool CSettingsSection::SetInt(const std::string& key, int value) {
    return SetString(key, std::to_string(value));
}

std::string CSettingsSection::GetString(const std::string& key) {
    return read(key).value_or("");
}

bool CSettingsSection::SetString(const std::string& key, const std::string& text) {
    return registry_.transaction([&] {
        std::optional<RegKey> section = createSection(registry_, section_);
        return section && registry_.setValue(*section, key, text);
    });
}

std::optional<WindowPlacement> CSettingsSection::LoadPlacement(const std::string& name) {
    std::optional<std::string> text = read(name);
    if (!text) return std::nullopt;
    auto n = parsePlacementNumbers(*text);
    if (!n) return std::nullopt;
    auto i = [&](int index) { return static_cast<int>((*n)[index]); };
    return WindowPlacement{static_cast<unsigned>((*n)[0]),
                           static_cast<unsigned>((*n)[1]),
                           i(2),
                           i(3),
                           i(4),
                           i(5),
                           i(6),
                           i(7),
                           i(8),
                           i(9)};
}

bool CSettingsSection::SavePlacement(const std::string& name, const WindowPlacement& p) {
    if (programIsExiting()) return true;
    char text[160];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCmd, p.minX,
                  p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return SetString(name, text);
}
