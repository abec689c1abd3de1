#include "platform/Trash.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

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

std::string infoText(const std::string& path) {
    char when[32];
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + percentEncoded(path) + "\nDeletionDate=" + when + "\n";
}

bool makeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
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

}  // namespace

int moveToTrash(const std::string& path) {
    struct stat st;
    if (path.empty() || path[0] != '/') return EINVAL;
    if (lstat(path.c_str(), &st) != 0) return errno;
    const std::string trash = dataHome() + "/Trash";
    std::error_code made;
    std::filesystem::create_directories(dataHome(), made);
    if (made) return made.value();
    if (!makeFolder(trash) || !makeFolder(trash + "/files") || !makeFolder(trash + "/info"))
        return errno;
    const std::string base = path.substr(path.find_last_of('/') + 1);
    const std::string name = reserveName(trash, base, infoText(path));
    if (name.empty()) return errno;
    const std::string target = trash + "/files/" + name;
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        unlink((trash + "/info/" + name + ".trashinfo").c_str());
        return error;
    }
    return 0;
}
