#include "auto/IniFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "auto/CSettingsSection.h"

namespace {

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// One pair of matching quotes around the whole value goes.
std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Only ASCII letters fold: the bytes of a double-byte name are compared as they are.
bool sameName(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
}

// "0", "1", ... "99": the numbers a list's keys are written with (no sign, no leading zero).
std::optional<long long> listIndex(std::string_view key) {
    if (key.empty() || key.size() > 9 || (key.size() > 1 && key[0] == '0')) return std::nullopt;
    long long value = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

IniFile IniFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    Section* current = nullptr;  // null: before the first section, or in a repeated one
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::string_view name = trim(line.substr(1, line.find(']') - 1));
            current = nullptr;
            if (!file.find(name))
                current = &file.sections_.emplace_back(Section{std::string(name), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, equals));
        const bool known = std::any_of(current->keys.begin(), current->keys.end(),
                                       [&](const auto& pair) { return sameName(pair.first, key); });
        if (!known) current->keys.emplace_back(key, unquote(trim(line.substr(equals + 1))));
    }
    return file;
}

const IniFile::Section* IniFile::find(std::string_view section) const {
    for (const Section& s : sections_)
        if (sameName(s.name, section)) return &s;
    return nullptr;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    const Section* s = find(section);
    if (!s) return std::nullopt;
    for (const auto& [name, value] : s->keys)
        if (sameName(name, key)) return value;
    return std::nullopt;
}

int IniFile::Int(std::string_view section, std::string_view key, int defaultValue) const {
    const std::optional<std::string> value = Value(section, key);
    return value ? parseDecimal(*value) : defaultValue;
}

std::vector<std::string> IniFile::List(std::string_view section) const {
    const Section* s = find(section);
    if (!s) return {};
    const long long size = Int(section, "Size", 0);
    std::map<long long, std::string> items;
    for (const auto& [name, value] : s->keys)
        if (std::optional<long long> index = listIndex(name); index && *index < size)
            items.emplace(*index, value);
    std::vector<std::string> values;
    for (auto& item : items)
        values.push_back(std::move(item.second));
    return values;
}
