#include "auto/ShellTreeCopy.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

// The kernel copies this much per call, between two looks at the wait notice; the read and
// write fallback uses a buffer of kBuffer.
constexpr size_t kChunk = 8 << 20;
constexpr size_t kBuffer = 1 << 20;

TreeCopyResult failure(const std::string& path) {
    return {errno, path};
}

// One block: copy_file_range, or read and write from the first time the kernel refuses it for
// these two files (kernelCopies then turns false).
ssize_t copyBlock(int in, int out, bool& kernelCopies) {
    if (kernelCopies) {
        const ssize_t n = copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
        if (n >= 0 || (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP))
            return n;
        kernelCopies = false;
    }
    static thread_local std::vector<char> buffer(kBuffer);
    const ssize_t got = read(in, buffer.data(), buffer.size());
    for (ssize_t done = 0; got > 0 && done < got;) {
        const ssize_t put = write(out, buffer.data() + done, static_cast<size_t>(got - done));
        if (put < 0) return put;
        done += put;
    }
    return got;
}

void keepTimes(const std::string& target, const struct stat& st) {
    const timespec times[2] = {st.st_atim, st.st_mtim};
    utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

TreeCopyResult copyFile(const std::string& source, const std::string& target, const struct stat& st,
                        WaitNotice* wait) {
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return failure(source);
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0) {
        const TreeCopyResult result = failure(target);
        close(in);
        return result;
    }
    TreeCopyResult result;
    bool kernelCopies = true;
    for (;;) {
        if (wait && wait->cancelled()) {
            result = {ECANCELED, target};
            break;
        }
        const ssize_t n = copyBlock(in, out, kernelCopies);
        if (n < 0) result = failure(target);
        if (n <= 0) break;
    }
    if (!result.error && fchmod(out, st.st_mode & 07777) != 0) result = failure(target);
    if (close(out) != 0 && !result.error) result = failure(target);
    close(in);
    if (result.error) {
        unlink(target.c_str());
    } else {
        keepTimes(target, st);
    }
    return result;
}

TreeCopyResult copyFolder(const std::string& source, const std::string& target,
                          const struct stat& st, WaitNotice* wait) {
    if (mkdir(target.c_str(), 0700) != 0 && errno != EEXIST) return failure(target);
    DIR* dir = opendir(source.c_str());
    if (!dir) return failure(source);
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        const TreeCopyResult result = copyTree(source + "/" + name, target + "/" + name, wait);
        if (result.error) return result;
    }
    if (chmod(target.c_str(), st.st_mode & 07777) != 0) return failure(target);
    keepTimes(target, st);
    return {};
}

TreeCopyResult copyLink(const std::string& source, const std::string& target,
                        const struct stat& st) {
    std::string destination(static_cast<size_t>(st.st_size) + 1, '\0');
    const ssize_t n = readlink(source.c_str(), destination.data(), destination.size());
    if (n < 0) return failure(source);
    destination.resize(static_cast<size_t>(n));
    unlink(target.c_str());
    if (symlink(destination.c_str(), target.c_str()) != 0) return failure(target);
    keepTimes(target, st);
    return {};
}

}  // namespace

TreeCopyResult copyTree(const std::string& source, const std::string& target, WaitNotice* wait) {
    struct stat st;
    if (lstat(source.c_str(), &st) != 0) return failure(source);
    if (S_ISDIR(st.st_mode)) return copyFolder(source, target, st, wait);
    if (S_ISLNK(st.st_mode)) return copyLink(source, target, st);
    if (S_ISREG(st.st_mode)) return copyFile(source, target, st, wait);
    if (S_ISFIFO(st.st_mode)) {
        if (mkfifo(target.c_str(), st.st_mode & 07777) != 0) return failure(target);
        keepTimes(target, st);
        return {};
    }
    return {ENOTSUP, source};
}
