#include "platform/Trash.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/UserDirs.h"

namespace {

// The Path key holds the path as a URL path: bytes outside the unreserved set are escaped.
std::string percentEncoded(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// infoPath: absolute in the home trash, relative to the file system's top in the others.
std::string infoText(const std::string& infoPath) {
    char when[32];
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + percentEncoded(infoPath) + "\nDeletionDate=" + when + "\n";
}

bool makeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// A folder that is itself, not a link to one.
bool isRealFolder(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& path) {
    return path.substr(0, std::max<size_t>(path.rfind('/'), 1));
}

// The mount point of the file system (device) that holds folder: the highest folder above it
// on the same device.
std::string topDirectory(const std::string& folder, dev_t device) {
    std::string top = folder;
    struct stat st;
    while (top != "/" && stat(parentOf(top).c_str(), &st) == 0 && st.st_dev == device)
        top = parentOf(top);
    return top;
}

// Creates info/NAME.trashinfo under a name not yet taken; the name, or "" on failure.
std::string reserveName(const std::string& trash, const std::string& base,
                        const std::string& info) {
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? base : base + "." + std::to_string(n);
        const std::string infoPath = trash + "/info/" + name + ".trashinfo";
        const int fd = open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        const bool written =
            write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
        const int error = errno;
        close(fd);
        if (written) return name;
        unlink(infoPath.c_str());
        errno = error;
        return {};
    }
    errno = EEXIST;
    return {};
}

int moveInto(const std::string& trash, const std::string& path, const std::string& infoPath) {
    if (!makeFolder(trash) || !makeFolder(trash + "/files") || !makeFolder(trash + "/info"))
        return errno;
    const std::string base = path.substr(path.find_last_of('/') + 1);
    const std::string name = reserveName(trash, base, infoText(infoPath));
    if (name.empty()) return errno;
    const std::string target = trash + "/files/" + name;
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        unlink((trash + "/info/" + name + ".trashinfo").c_str());
        return error;
    }
    return 0;
}

}  // namespace

std::string topDirectoryTrash(const std::string& topdir) {
    const std::string uid = std::to_string(getuid());
    const std::string shared = (topdir == "/" ? "" : topdir) + "/.Trash";
    struct stat st;
    if (lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const std::string mine = shared + "/" + uid;
        if (makeFolder(mine) && isRealFolder(mine)) return mine;
    }
    return shared + "-" + uid;
}

int moveToTrash(const std::string& path) {
    struct stat st, home;
    if (path.empty() || path[0] != '/' || path == "/") return EINVAL;
    if (lstat(path.c_str(), &st) != 0) return errno;
    char* real = realpath(parentOf(path).c_str(), nullptr);
    if (!real) return errno;
    const std::string folder = real;
    free(real);
    const std::string item = (folder == "/" ? "" : folder) + path.substr(path.rfind('/'));
    std::error_code made;
    std::filesystem::create_directories(dataHome(), made);
    if (made) return made.value();
    if (stat(dataHome().c_str(), &home) != 0) return errno;
    if (home.st_dev == st.st_dev) return moveInto(dataHome() + "/Trash", item, item);
    const std::string top = topDirectory(folder, st.st_dev);
    return moveInto(topDirectoryTrash(top), item, item.substr(top == "/" ? 1 : top.size() + 1));
}
