#include "platform/UserDirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace {

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return {};
    std::string path = value;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Reads XDG_DOWNLOAD_DIR="$HOME/..." from user-dirs.dirs, the file xdg-user-dirs maintains.
std::string downloadDirFromUserDirs() {
    std::ifstream in(configHome() + "/user-dirs.dirs");
    const std::string prefix = "XDG_DOWNLOAD_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, prefix.size(), prefix) != 0 || line.back() != '"') continue;
        std::string path = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (path.compare(0, 5, "$HOME") == 0) path = homeDir() + path.substr(5);
        if (path.size() > 1 && path[0] == '/') return path;
    }
    return {};
}

}  // namespace

std::string homeDir() {
    std::string home = absoluteEnv("HOME");
    if (!home.empty()) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir && pw->pw_dir[0] == '/' ? pw->pw_dir : "/";
}

std::string configHome() {
    std::string dir = absoluteEnv("XDG_CONFIG_HOME");
    return dir.empty() ? homeDir() + "/.config" : dir;
}

std::string dataHome() {
    std::string dir = absoluteEnv("XDG_DATA_HOME");
    return dir.empty() ? homeDir() + "/.local/share" : dir;
}

std::string downloadDir() {
    std::string dir = absoluteEnv("XDG_DOWNLOAD_DIR");
    if (dir.empty()) dir = downloadDirFromUserDirs();
    return dir.empty() ? homeDir() + "/Downloads" : dir;
}

std::string tempDir() {
    std::string dir = absoluteEnv("TMPDIR");
    return dir.empty() ? "/tmp" : dir;
}

std::string userName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name) return pw->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}
