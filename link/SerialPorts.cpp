#include "link/SerialPorts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number after `prefix` in a device's file name ("ttyS12" -> 12); -1 when it has another form.
long deviceNumber(std::string_view fileName, std::string_view prefix) {
    if (fileName.substr(0, prefix.size()) != prefix) return -1;
    const std::string_view digits = fileName.substr(prefix.size());
    if (!allDigits(digits) || digits.size() > 6) return -1;
    return std::stol(std::string(digits));
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool uartPresent(const std::filesystem::path& ttyDir) {
    std::ifstream in(ttyDir / "type");
    int type = 0;
    return (in >> type) && type != 0;
}

}  // namespace

bool isComName(std::string_view name) {
    if (name.size() < 4) return false;
    for (size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return false;
    return allDigits(name.substr(3));
}

std::string serialDevicePath(std::string_view name, const SerialPortPaths& paths) {
    if (!name.empty() && name[0] == '/') return std::string(name);
    if (!isComName(name) || name.size() > 9) return "";
    const long n = std::stol(std::string(name.substr(3)));
    if (n < 1) return "";
    return paths.devDir + "/ttyS" + std::to_string(n - 1);
}

std::string serialEntryName(const std::string& devicePath) {
    const long n = deviceNumber(fileName(devicePath), "ttyS");
    return n < 0 ? devicePath : "COM" + std::to_string(n + 1);
}

std::string sharedInterruptPartner(const std::string& devicePath) {
    static const char* const pairs[][2] = {{"ttyS0", "ttyS2"}, {"ttyS1", "ttyS3"}};
    const std::string name = fileName(devicePath);
    const std::string folder = devicePath.substr(0, devicePath.size() - name.size());
    for (const auto& pair : pairs) {
        if (name == pair[0]) return folder + pair[1];
        if (name == pair[1]) return folder + pair[0];
    }
    return "";
}

std::vector<std::string> listSerialPorts(const SerialPortPaths& paths) {
    static const char* const prefixes[] = {"ttyS", "ttyUSB", "ttyACM"};
    std::vector<std::pair<long, std::string>> found[3];
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(paths.sysClassTty, error)) {
        const std::string name = entry.path().filename().string();
        for (int group = 0; group < 3; ++group) {
            const long n = deviceNumber(name, prefixes[group]);
            if (n < 0 || (group == 0 && !uartPresent(entry.path()))) continue;
            found[group].emplace_back(n, paths.devDir + "/" + name);
        }
    }
    std::vector<std::string> ports;
    for (auto& group : found) {
        std::sort(group.begin(), group.end());
        for (const auto& [n, path] : group)
            ports.push_back(serialEntryName(path));
    }
    return ports;
}
