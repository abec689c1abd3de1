// `dir`: the listing of a folder, or of the names a mask picks from it.
#include <dirent.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>

#include <algorithm>
#include <cstdint>

#include "auto/Shell.h"
#include "platform/TextCodec.h"

namespace {

struct ListedEntry {
    std::string name;  // CP949, as shown
    bool directory = false;
    uint64_t size = 0;
    time_t modified = 0;
};

struct Listing {
    std::string folder;  // Linux path
    std::vector<ListedEntry> directories, files;
    uint64_t totalSize = 0;
};

// "1,234,567"
std::string grouped(uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// Upper-case folding as the C locale's case-blind sort does it, second bytes of double-byte
// characters untouched; equal names then go by their bytes.
bool sortsBefore(const ListedEntry& a, const ListedEntry& b) {
    auto key = [](const std::string& name) {
        std::string folded = foldCase(name);
        for (size_t i = 0; i < folded.size(); ++i) {
            if (isDoubleByteLead(static_cast<unsigned char>(folded[i]))) {
                ++i;
            } else if (folded[i] >= 'a' && folded[i] <= 'z') {
                folded[i] = static_cast<char>(folded[i] - 32);
            }
        }
        return folded;
    };
    const std::string ka = key(a.name), kb = key(b.name);
    return ka != kb ? ka < kb : a.name < b.name;
}

// The folder and mask a typed path stands for: a folder lists everything in it.
std::pair<std::string, std::string> folderAndMask(const ShellDrives& drives,
                                                  const std::string& typed) {
    const std::string path = drives.resolve(typed);
    struct stat st;
    if (path.empty() || (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) return {path, "*"};
    const size_t slash = path.rfind('/');
    const std::vector<std::string> names = splitPath(typed);
    return {slash == 0 ? "/" : path.substr(0, slash), names.back()};
}

Listing readListing(const std::string& folder, const std::string& mask, int& error) {
    Listing listing{folder, {}, {}, 0};
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        error = errno;
        return listing;
    }
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden entries
        ListedEntry listed{displayName(entry->d_name)};
        if (!matchesMask(mask, listed.name)) continue;
        struct stat st;
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone
        listed.directory = S_ISDIR(st.st_mode);
        listed.size = static_cast<uint64_t>(st.st_size);
        listed.modified = st.st_mtime;
        if (listed.directory) {
            listing.directories.push_back(listed);
        } else {
            listing.totalSize += listed.size;
            listing.files.push_back(listed);
        }
    }
    closedir(dir);
    std::sort(listing.directories.begin(), listing.directories.end(), sortsBefore);
    std::sort(listing.files.begin(), listing.files.end(), sortsBefore);
    return listing;
}

std::string entryLine(const ListedEntry& entry) {
    char when[32];
    struct tm local;
    localtime_r(&entry.modified, &local);
    strftime(when, sizeof when, "%m-%d-%y  %H:%M", &local);
    const std::string size = entry.directory ? std::string("<DIR>  ") : grouped(entry.size);
    char head[64];
    snprintf(head, sizeof head, "%s %15s  ", when, size.c_str());
    return head + entry.name + "\r\n";
}

// Names in columns, folders as "[name]".
std::vector<std::string> wideLines(const Listing& listing) {
    std::vector<std::string> names;
    for (const ListedEntry& entry : listing.directories)
        names.push_back("[" + entry.name + "]");
    for (const ListedEntry& entry : listing.files)
        names.push_back(entry.name);
    size_t width = 0;
    for (const std::string& name : names)
        width = std::max(width, name.size() + 2);
    const size_t columns = std::max<size_t>(1, 79 / std::max<size_t>(width, 1));
    const std::string format = "%-" + std::to_string(width) + "s";
    std::vector<std::string> lines;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i % columns == 0) lines.emplace_back();
        char cell[4096];
        snprintf(cell, sizeof cell, format.c_str(), names[i].c_str());
        lines.back() += cell;
    }
    for (std::string& line : lines)
        line += "\r\n";
    return lines;
}

uint64_t freeBytes(const std::string& folder) {
    struct statvfs fs;
    if (statvfs(folder.c_str(), &fs) != 0) return 0;
    return static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
}

}  // namespace

void DosShell::listDirectory(const ShellCommand& command) {
    startPager(hasOption(command, 'p'));
    const auto [folder, mask] =
        folderAndMask(drives_, command.arguments.empty() ? std::string() : command.arguments[0]);
    if (folder.empty()) return;
    int error = 0;
    const Listing listing = readListing(folder, mask, error);
    if (error && error != ENOENT && error != ENOTDIR) {
        ShellPrint(drives_.dosPath(folder) + ": " + shellText(strerror(error)) + "\r\n");
        return;
    }
    if (listing.directories.empty() && listing.files.empty()) return;
    ShellPrint(shellText("  디렉토리 ") + drives_.dosPath(folder) + "\r\n\r\n");
    std::vector<std::string> lines;
    if (hasOption(command, 'w')) {
        lines = wideLines(listing);
    } else {
        for (const ListedEntry& entry : listing.directories)
            lines.push_back(entryLine(entry));
        for (const ListedEntry& entry : listing.files)
            lines.push_back(entryLine(entry));
    }
    char totals[256];
    snprintf(totals, sizeof totals, shellText("%10d개 파일     %16s 바이트\r\n").c_str(),
             static_cast<int>(listing.files.size()), grouped(listing.totalSize).c_str());
    lines.push_back(totals);
    snprintf(totals, sizeof totals, shellText("%10d개 디렉토리 %16s 바이트 사용가능\r\n").c_str(),
             static_cast<int>(listing.directories.size()), grouped(freeBytes(folder)).c_str());
    lines.push_back(totals);
    for (const std::string& line : lines) {
        if (!PagerStep()) return;
        ShellPrint(line);
    }
    ShellPrint("\r\n");
}
