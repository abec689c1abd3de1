#include "auto/ShellDrives.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "auto/ShellWords.h"
#include "platform/TextCodec.h"
#include "platform/UserDirs.h"

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string realPath(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

bool isUnder(const std::string& root, const std::string& path) {
    return root == "/" || path == root || path.starts_with(root + "/");
}

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

std::string displayName(std::string_view linuxName) {
    std::string shown(linuxName);
    if (!isAscii(shown) && convertText("UTF-8", "UTF-16LE", shown)) shown = utf8ToCp949Lossy(shown);
    // Control bytes (a line feed, an escape sequence) must not drive the terminal.
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return shown;
}

std::string linuxName(const std::string& folder, std::string_view typedName) {
    const std::string raw(typedName);
    if (isAscii(raw)) return raw;
    const std::optional<std::string> utf8 = cp949ToUtf8(raw);
    if (!utf8 || (!exists(joined(folder, *utf8)) && exists(joined(folder, raw)))) return raw;
    return *utf8;
}

std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> names(1);
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') {
            names.emplace_back();
            continue;
        }
        names.back() += path[i];
        if (isDoubleByteLead(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            names.back() += path[++i];
    }
    return names;
}

std::vector<ShellDrive> ShellDrives::defaultTable() {
    return {{'C', "/"}, {'D', homeDir()}};
}

ShellDrives::ShellDrives(const std::vector<ShellDrive>& drives) {
    for (const ShellDrive& drive : drives) {
        const std::string root = realPath(drive.root);
        if (root.empty() || !isDirectory(root) || roots_.count(drive.letter)) continue;
        roots_[drive.letter] = root;
        if (!current_) {
            current_ = drive.letter;
            directory_ = root;
        }
    }
}

char ShellDrives::driveHolding(const std::string& linuxPath) const {
    if (current_ && isUnder(roots_.at(current_), linuxPath)) return current_;
    char best = 0;
    for (const auto& [letter, root] : roots_)
        if (isUnder(root, linuxPath) && (!best || root.size() > roots_.at(best).size()))
            best = letter;
    return best;
}

std::string ShellDrives::dosPath(const std::string& linuxPath) const {
    const char letter = driveHolding(linuxPath);
    if (!letter) return {};
    const std::string& root = roots_.at(letter);
    std::string dos = std::string(1, letter) + ":\\";
    const std::string below =
        linuxPath.substr(root == "/" ? 1 : std::min(root.size() + 1, linuxPath.size()));
    std::string name;
    for (size_t i = 0; i <= below.size(); ++i) {
        if (i == below.size() || below[i] == '/') {
            if (!name.empty() && !dos.ends_with('\\')) dos += '\\';
            if (!name.empty()) dos += displayName(name);
            name.clear();
        } else {
            name += below[i];
        }
    }
    return dos;
}

std::string ShellDrives::resolve(std::string_view path) const {
    char letter = current_;
    std::string base = directory_;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        if (!roots_.count(letter)) return {};
        base = letter == current_
                   ? directory_
                   : (remembered_.count(letter) ? remembered_.at(letter) : roots_.at(letter));
        path.remove_prefix(2);
    }
    if (!letter) return {};
    const std::string& root = roots_.at(letter);
    if (!path.empty() && (path[0] == '\\' || path[0] == '/')) base = root;
    if (!isUnder(root, base)) base = root;
    // The names below the drive's folder, so that ".." stops at it.
    std::vector<std::string> names;
    for (size_t at = root.size(); at < base.size();) {
        const size_t end = std::min(base.find('/', at), base.size());
        if (end > at) names.push_back(base.substr(at, end - at));
        at = end + 1;
    }
    auto current = [&] {
        std::string p = root;
        for (const std::string& n : names)
            p = joined(p, n);
        return p;
    };
    for (const std::string& name : splitPath(path)) {
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        names.push_back(linuxName(current(), name));
    }
    return current();
}

bool ShellDrives::changeDirectory(std::string_view path) {
    const std::string target = realPath(resolve(path));
    if (target.empty() || !isDirectory(target) || access(target.c_str(), X_OK) != 0) return false;
    const char letter = driveHolding(target);
    if (!letter) return false;
    if (letter != current_) remembered_[current_] = directory_;
    current_ = letter;
    directory_ = target;
    return true;
}

bool ShellDrives::changeDrive(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (!roots_.count(letter)) return false;
    remembered_[current_] = directory_;
    const auto it = remembered_.find(letter);
    std::string target = realPath(it != remembered_.end() ? it->second : roots_.at(letter));
    if (target.empty() || !isUnder(roots_.at(letter), target)) target = roots_.at(letter);
    current_ = letter;
    directory_ = target;
    return true;
}
