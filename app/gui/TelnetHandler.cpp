#include "app/gui/TelnetHandler.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/UserDirs.h"

namespace {

constexpr char kSection[] = "[Default Applications]";
constexpr char kKey[] = "x-scheme-handler/telnet";
constexpr char kOurs[] = "quilite.desktop";

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

bool isSectionHeader(const std::string& line) {
    const std::string t = trimmed(line);
    return !t.empty() && t.front() == '[' && t.back() == ']';
}

// The desktop files a "key=a;b;" line names, when it is the telnet line.
std::optional<std::vector<std::string>> telnetHandlers(const std::string& line) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || trimmed(line.substr(0, equals)) != kKey) return std::nullopt;
    std::vector<std::string> handlers;
    for (const std::string& entry : split(line.substr(equals + 1), ';'))
        if (!trimmed(entry).empty()) handlers.push_back(trimmed(entry));
    return handlers;
}

std::string telnetLine(const std::vector<std::string>& handlers) {
    std::string line = std::string(kKey) + "=";
    for (const std::string& handler : handlers)
        line += handler + ";";
    return handlers.size() == 1 ? line.substr(0, line.size() - 1) : line;
}

// The line that replaces a telnet line of the section; nothing drops it.
std::optional<std::string> changedLine(const std::vector<std::string>& handlers, bool on) {
    if (on) return telnetLine({kOurs});
    std::vector<std::string> others;
    for (const std::string& handler : handlers)
        if (handler != kOurs) others.push_back(handler);
    if (others.empty()) return std::nullopt;
    return telnetLine(others);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

}  // namespace

std::string mimeAppsListPath() {
    return configHome() + "/mimeapps.list";
}

bool HasTelnetHandler(const std::string& text) {
    bool inSection = false;
    for (const std::string& line : split(text, '\n')) {
        if (isSectionHeader(line)) inSection = trimmed(line) == kSection;
        if (!inSection) continue;
        if (auto handlers = telnetHandlers(line))
            return !handlers->empty() && handlers->front() == kOurs;
    }
    return false;
}

std::string WithTelnetHandler(const std::string& text, bool on) {
    std::vector<std::string> out;
    bool inSection = false, sectionSeen = false, done = false;
    size_t sectionEnd = 0;  // where a missing telnet line goes: after the section's last line
    for (const std::string& line : split(text, '\n')) {
        if (isSectionHeader(line)) inSection = trimmed(line) == kSection;
        const auto handlers = inSection ? telnetHandlers(line) : std::nullopt;
        if (!handlers) {
            out.push_back(line);
            if (inSection) {
                sectionSeen = true;
                if (!trimmed(line).empty()) sectionEnd = out.size();
            }
            continue;
        }
        const std::optional<std::string> changed = done ? std::nullopt : changedLine(*handlers, on);
        if (changed) out.push_back(*changed);
        if (changed) sectionEnd = out.size();
        done = true;
    }
    if (on && !done) {
        if (!sectionSeen) {
            if (!out.empty() && !trimmed(out.back()).empty()) out.push_back("");
            out.push_back(kSection);
            sectionEnd = out.size();
        }
        out.insert(out.begin() + static_cast<long>(sectionEnd), telnetLine({kOurs}));
    }
    return joined(out);
}

bool IsTelnetHandler() {
    return HasTelnetHandler(fileText(mimeAppsListPath()));
}

bool SetTelnetHandler(bool on) {
    const std::string path = mimeAppsListPath();
    const std::string text = fileText(path);
    std::error_code ec;
    std::filesystem::create_directories(configHome(), ec);
    const std::string temporary = path + ".new-" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << WithTelnetHandler(text, on);
        if (!out.flush()) return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (!ec) return true;
    std::filesystem::remove(temporary, ec);
    return false;
}
