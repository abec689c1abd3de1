#include "auto/RegImport.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "platform/TextCodec.h"

namespace {

constexpr size_t kMaxReasons = 20;
const std::string_view kHeader4 = "REGEDIT4";
const std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Logical lines: CR LF or LF ends, and a line ending in a backslash continues on the next.
std::vector<std::pair<int, std::string>> logicalLines(std::string_view text) {
    std::vector<std::pair<int, std::string>> lines;
    bool continuing = false;
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (continuing)
            lines.back().second.append(line);
        else
            lines.emplace_back(number, std::string(line));
        continuing = !lines.back().second.empty() && lines.back().second.back() == '\\';
        if (continuing) lines.back().second.pop_back();
    }
    return lines;
}

// A quoted string with the \" and \\ escapes, starting at text[pos] == '"'. On success pos
// stands after the closing quote.
std::optional<std::string> readQuoted(std::string_view text, size_t& pos) {
    std::string out;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\'))
            c = text[++i];
        out += c;
    }
    return std::nullopt;
}

std::optional<std::string> readHexBytes(std::string_view list) {
    std::string bytes;
    std::istringstream in{std::string(list)};
    for (std::string item; std::getline(in, item, ',');) {
        std::string_view digits = trim(item);
        if (digits.empty()) continue;
        if (digits.size() > 2 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
            return std::nullopt;
        bytes += static_cast<char>(std::stoi(std::string(digits), nullptr, 16));
    }
    return bytes;
}

class Importer {
public:
    Importer(Registry& registry, bool unicode) : registry_(registry), unicode_(unicode) {}

    bool run(const std::vector<std::pair<int, std::string>>& lines, RegImportResult& result) {
        result_ = &result;
        for (size_t i = 1; i < lines.size(); ++i) {
            line_ = lines[i].first;
            std::string_view text = lines[i].second;
            if (text.empty() || text[0] == ';') continue;
            bool ok = text[0] == '[' ? keyLine(text) : valueLine(text);
            if (!ok) return false;
        }
        return true;
    }

private:
    void skip(const std::string& why) {
        ++result_->skipped;
        if (result_->skippedReasons.size() < kMaxReasons)
            result_->skippedReasons.push_back("line " + std::to_string(line_) + ": " + why);
    }

    // Text of a unicode file arrives here as UTF-8 and is stored as CP949.
    std::optional<std::string> storedText(const std::string& text) {
        return unicode_ ? utf8ToCp949(text) : std::optional<std::string>(text);
    }

    bool keyLine(std::string_view text) {
        size_t close = text.rfind(']');
        key_.reset();
        if (close == std::string_view::npos) {
            skip("unterminated key name");
            return true;
        }
        std::string_view path = text.substr(1, close - 1);
        bool remove = !path.empty() && path[0] == '-';
        if (remove) path.remove_prefix(1);
        std::optional<std::string> stored = storedText(std::string(path));
        if (!stored) {
            skip("key name not representable in CP949");
            return true;
        }
        auto split = Registry::splitHive(*stored);
        if (!split) {
            skip("key outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE");
            return true;
        }
        if (remove) return removeKey(*stored, split->second);
        key_ = registry_.createPath(*stored);
        if (!key_) return false;
        ++result_->keys;
        return true;
    }

    bool removeKey(const std::string& path, std::string_view relative) {
        if (relative.find_first_not_of('\\') == std::string_view::npos) {
            skip("a hive cannot be deleted");
            return true;
        }
        std::optional<RegKey> key = registry_.openPath(path);
        if (!key) return true;
        ++result_->deleted;
        return registry_.deleteKey(*key);
    }

    bool valueLine(std::string_view text) {
        std::string name;
        size_t pos = 0;
        if (text[0] == '@') {
            pos = 1;
        } else if (text[0] == '"') {
            std::optional<std::string> quoted = readQuoted(text, pos);
            if (!quoted) {
                skip("unterminated value name");
                return true;
            }
            name = *quoted;
        } else {
            skip("not a key or value line");
            return true;
        }
        std::string_view rest = trim(text.substr(pos));
        if (rest.empty() || rest[0] != '=') {
            skip("value without '='");
            return true;
        }
        if (!key_) {
            skip("value outside an imported key");
            return true;
        }
        std::optional<std::string> storedName = storedText(name);
        if (!storedName) {
            skip("value name not representable in CP949");
            return true;
        }
        return valueData(*storedName, trim(rest.substr(1)));
    }

    bool valueData(const std::string& name, std::string_view data) {
        if (data == "-") {
            ++result_->deleted;
            return registry_.deleteValue(*key_, name);
        }
        std::optional<std::string> text;
        if (!data.empty() && data[0] == '"') {
            size_t pos = 0;
            std::optional<std::string> quoted = readQuoted(data, pos);
            if (!quoted || !trim(data.substr(pos)).empty()) {
                skip("malformed string");
                return true;
            }
            text = storedText(*quoted);
        } else if (startsWith(data, "dword:")) {
            text = dwordText(data.substr(6));
            if (!text) {
                skip("malformed dword");
                return true;
            }
        } else if (startsWith(data, "hex(1):") || startsWith(data, "hex(2):")) {
            std::optional<std::string> bytes = readHexBytes(data.substr(7));
            if (!bytes) {
                skip("malformed hex string");
                return true;
            }
            text = hexString(*bytes);
        } else {
            skip("value type other than string or dword");
            return true;
        }
        if (!text) {
            skip("text not representable in CP949");
            return true;
        }
        ++result_->values;
        return registry_.setValue(*key_, name, *text);
    }

    static std::optional<std::string> dwordText(std::string_view digits) {
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
            return std::nullopt;
        return std::to_string(std::stoul(std::string(digits), nullptr, 16));
    }

    // A NUL-terminated string: CP949 bytes in REGEDIT4 files, UTF-16LE in unicode ones.
    std::optional<std::string> hexString(const std::string& bytes) {
        if (!unicode_) return bytes.substr(0, bytes.find('\0'));
        size_t end = 0;
        while (end + 1 < bytes.size() && (bytes[end] != '\0' || bytes[end + 1] != '\0'))
            end += 2;
        std::optional<std::string> utf8 = utf16leToUtf8(std::string_view(bytes).substr(0, end));
        return utf8 ? utf8ToCp949(*utf8) : std::nullopt;
    }

    Registry& registry_;
    bool unicode_;
    RegImportResult* result_ = nullptr;
    std::optional<RegKey> key_;
    int line_ = 0;
};

}  // namespace

RegImportResult importRegText(Registry& registry, std::string_view bytes) {
    RegImportResult result;
    std::string text(bytes);
    bool utf16 = startsWith(bytes, "\xFF\xFE");
    if (utf16) {
        std::optional<std::string> utf8 = utf16leToUtf8(bytes.substr(2));
        if (!utf8) {
            result.status = RegImportStatus::NotRegistryFile;
            result.error = "the file is not valid UTF-16LE text";
            return result;
        }
        text = *utf8;
    }
    auto lines = logicalLines(text);
    std::string_view header = lines.empty() ? "" : std::string_view(lines[0].second);
    if (header != (utf16 ? kHeader5 : kHeader4) && header != (utf16 ? kHeader4 : kHeader5)) {
        result.status = RegImportStatus::NotRegistryFile;
        result.error = "not a registry file (the first line is neither \"REGEDIT4\" nor \"" +
                       std::string(kHeader5) + "\")";
        return result;
    }
    Importer importer(registry, utf16);
    if (registry.transaction([&] { return importer.run(lines, result); })) {
        result.status = RegImportStatus::Imported;
    } else {
        result.status = RegImportStatus::StoreFailed;
        result.error = registry.lastError();
    }
    return result;
}

RegImportResult importRegFile(Registry& registry, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in || in.bad()) {
        RegImportResult result;
        result.error = path + ": cannot read the file";
        return result;
    }
    return importRegText(registry, bytes.str());
}
