#pragma once
// A file of "[section]" headers and "key=value" lines, read as the old profile-string functions
// read one: section and key names compared ignoring ASCII case, values trimmed and one pair of
// surrounding quotes removed, lines that begin with ";" are comments, and of two sections or
// two keys of one name the first wins. Text stays as the file holds it (CP949).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IniFile {
public:
    // A file that cannot be read reads as an empty one.
    static IniFile Load(const std::string& path);
    static IniFile Parse(std::string_view text);

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Decimal, as CSettingsSection reads numbers; `defaultValue` when the key is missing.
    int Int(std::string_view section, std::string_view key, int defaultValue) const;
    // The values of the keys "0", "1", ... below the section's "Size", in that order. Numbers
    // missing from the section are passed over, so a "Size" past the keys gives what is there.
    std::vector<std::string> List(std::string_view section) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };

    const Section* find(std::string_view section) const;

    std::vector<Section> sections_;
};
