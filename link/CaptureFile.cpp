#include "link/CaptureFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CaptureFile::~CaptureFile() {
    Close();
}

int CaptureFile::Create(const std::string& folder) {
    std::string pattern = folder + "/sXXXXXX.txt";
    // mkstemps opens with O_CREAT | O_EXCL and mode 0600.
    fd_ = mkstemps(pattern.data(), 4);
    path_ = pattern;
    if (fd_ < 0) return errno;
    return 0;
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int CaptureFile::Flush() {
    if (used_ == 0) return 0;
    const int error = fd_ < 0 ? EBADF : writeAll(fd_, {buffer_.get(), used_});
    used_ = 0;
    return error;
}

// The buffer is full: it goes out first, then the bytes join it or, too many, follow it.
int CaptureFile::writeThrough(std::string_view bytes) {
    if (const int error = Flush()) return error;
    if (bytes.size() > kBufferSize) return fd_ < 0 ? EBADF : writeAll(fd_, bytes);
    return Write(bytes);
}

int CaptureFile::Close() {
    if (fd_ < 0) return 0;
    int error = Flush();
    if (::close(fd_) != 0 && !error) error = errno;
    fd_ = -1;
    return error;
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // close() can report a failed write-back (NFS, a full disk); it counts as the write's.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Copies all of `from` to the end of `to`: 0, or the errno.
int copyData(int from, int to) {
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(from, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        if (int error = writeAll(to, {block, static_cast<size_t>(n)})) return error;
    }
}

// Appends through `fill` to an open descriptor; on failure the file is cut back to its old
// length, so that a half-written append leaves nothing behind.
template <typename Fill>
int appendCutBack(int fd, Fill fill) {
    const off_t oldSize = ::lseek(fd, 0, SEEK_END);
    if (oldSize < 0) return errno;
    const int error = fill(fd);
    if (error && ::ftruncate(fd, oldSize) != 0) return error;
    return error;
}

// The mode open() gives a new file: 0666 less the umask, read without changing it (umask()
// would, for a moment, for every thread).
mode_t newFileMode() {
    unsigned mask = 022;
    if (FILE* status = ::fopen("/proc/self/status", "re")) {
        char line[256];
        while (::fgets(line, sizeof line, status))
            if (::sscanf(line, "Umask: %o", &mask) == 1) break;
        ::fclose(status);
    }
    return 0666 & ~mask;
}

int copyToNew(const std::string& source, const std::string& destination) {
    Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return errno;
    Fd out(::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0) return errno;
    int error = copyData(in.get(), out.get());
    if (const int closed = out.close(); !error) error = closed;
    if (error) {
        ::unlink(destination.c_str());
        return error;
    }
    ::unlink(source.c_str());
    return 0;
}

}  // namespace

int appendToFile(const std::string& path, std::string_view bytes) {
    Fd out(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (out.get() < 0) return errno;
    const int error = appendCutBack(out.get(), [&](int fd) { return writeAll(fd, bytes); });
    const int closed = out.close();
    return error ? error : closed;
}

int StoreCapture(const std::string& source, const std::string& destination) {
    struct stat info;
    if (::stat(destination.c_str(), &info) == 0) {
        Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
        if (in.get() < 0) return errno;
        Fd out(::open(destination.c_str(), O_WRONLY | O_CLOEXEC));
        if (out.get() < 0) return errno;
        const int error = appendCutBack(out.get(), [&](int fd) { return copyData(in.get(), fd); });
        const int closed = out.close();
        if (error || closed) return error ? error : closed;
        ::unlink(source.c_str());
        return 0;
    }
    // A file made in the temporary folder is private (0600); once stored it is an ordinary file.
    if (::rename(source.c_str(), destination.c_str()) == 0) {
        ::chmod(destination.c_str(), newFileMode());
        return 0;
    }
    return copyToNew(source, destination);
}
