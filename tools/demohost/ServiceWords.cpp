#include "tools/demohost/ServiceWords.h"

#include <fstream>
#include <sstream>

#include "platform/DataFolder.h"
#include "platform/TextCodec.h"

namespace {

// A quoted registry string from `at` (the opening quote) with its \" and \\ escapes undone.
std::string quoted(const std::string& line, size_t& at) {
    std::string text;
    for (++at; at < line.size() && line[at] != '"'; ++at) {
        if (line[at] == '\\' && at + 1 < line.size()) ++at;
        text += line[at];
    }
    ++at;
    return text;
}

}  // namespace

std::string ServiceWords::Command(const std::string& name) const {
    const auto it = commands.find(name);
    return it == commands.end() ? std::string() : it->second;
}

std::string ShippedProfilePath() {
    return dataFolder() + "/regorg.bak";
}

// The file is REGEDIT4 text in CP949; the service is the key under "Hosts" whose unnamed value
// is its name, and its values follow that line up to the next key.
ServiceWords LoadServiceWords(const std::string& regFile) {
    ServiceWords words;
    std::ifstream file(regFile, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const std::string text = cp949ToUtf8Lossy(bytes.str());
    const size_t start = text.find(std::string("@=\"") + kPlayedService + "\"");
    if (start == std::string::npos) return words;
    std::istringstream lines(text.substr(start));
    std::string line;
    while (std::getline(lines, line) && !line.empty() && line[0] != '[') {
        if (line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] != '"') continue;
        size_t at = 0;
        const std::string name = quoted(line, at);
        if (at >= line.size() || line[at] != '=' || line.substr(at + 1, 1) != "\"") continue;
        at += 1;
        const std::string value = quoted(line, at);
        if (name == "LoginString")
            words.loginPrompt = value;
        else if (name == "PasswordString")
            words.passwordPrompt = value;
        else
            words.commands[name] = value;
    }
    return words;
}
