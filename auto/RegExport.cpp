#include "auto/RegExport.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr size_t kHexLineWidth = 76;

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

bool needsHex(std::string_view data) {
    for (unsigned char c : data)
        if (c < 0x20 && c != '\t') return true;
    return false;
}

// hex(1): the bytes with a NUL terminator, wrapped the way the registry editor wraps them.
std::string hexValue(std::string prefix, std::string_view data) {
    std::string bytes(data);
    bytes += '\0';
    std::string out;
    std::string line = prefix + "hex(1):";
    for (size_t i = 0; i < bytes.size(); ++i) {
        char item[4];
        std::snprintf(item, sizeof item, "%02x", static_cast<unsigned char>(bytes[i]));
        line += item;
        if (i + 1 == bytes.size()) break;
        line += ',';
        if (line.size() + 3 > kHexLineWidth) {
            out += line + "\\\r\n";
            line = "  ";
        }
    }
    return out + line + "\r\n";
}

void writeKey(Registry& registry, RegKey key, const std::string& path, std::string& out) {
    out += "[" + path + "]\r\n";
    for (const RegValue& value : registry.values(key)) {
        std::string prefix = (value.name.empty() ? std::string("@") : quoted(value.name)) + "=";
        out += needsHex(value.data) ? hexValue(prefix, value.data)
                                    : prefix + quoted(value.data) + "\r\n";
    }
    out += "\r\n";
    for (const RegChild& child : registry.subkeys(key))
        writeKey(registry, child.key, path + "\\" + child.name, out);
}

}  // namespace

std::optional<std::string> exportRegText(Registry& registry, std::string_view fullPath) {
    auto split = Registry::splitHive(fullPath);
    if (!split) return std::nullopt;
    // The header lines carry the names as stored, whatever case the caller used.
    RegKey key = registry.hive(split->first);
    std::string path = Registry::hiveName(split->first);
    std::string_view rest = split->second;
    while (!rest.empty()) {
        size_t end = std::min(rest.find('\\'), rest.size());
        if (end > 0) {
            std::optional<RegKey> child = registry.openKey(key, rest.substr(0, end));
            if (!child) return std::nullopt;
            key = *child;
            path += '\\';
            path += registry.keyName(key);
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    // One transaction, so that a copy of the program writing meanwhile cannot tear the export.
    std::string out = "REGEDIT4\r\n\r\n";
    if (!registry.transaction([&] {
            writeKey(registry, key, path, out);
            return true;
        }))
        return std::nullopt;
    return out;
}

bool exportRegFile(Registry& registry, std::string_view fullPath, const std::string& filePath,
                   std::string& error) {
    std::optional<std::string> text = exportRegText(registry, fullPath);
    if (!text) {
        error = "no such key";
        return false;
    }
    std::ofstream out(filePath, std::ios::binary | std::ios::trunc);
    out << *text;
    out.close();
    if (out) return true;
    error = filePath + ": cannot write the file";
    return false;
}
