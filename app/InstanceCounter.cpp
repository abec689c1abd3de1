#include "app/InstanceCounter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxSlots = 64;
// "x,y" in fixed-width fields, so that every write replaces the whole text in one go and a
// reader sees the old position or the new one.
constexpr int kPositionSize = 24;

std::string slotPath(const std::string& folder, int slot) {
    return folder + "/slot-" + std::to_string(slot);
}

// A lock on the whole file that belongs to this open file (not to the process), so that two
// counters in one process count apart and a lock goes when its descriptor closes.
bool setLock(int fd, short type, bool wait) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    int r;
    while ((r = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock)) < 0 && errno == EINTR) {
    }
    return r == 0;
}

bool lockedByOther(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

int openFile(const std::string& path) {
    return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// Makes the folder when missing; true when it is a directory of ours that others cannot use.
bool preparePrivateFolder(const std::string& folder, std::string& error) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = folder + ": not a directory";
        return false;
    }
    if (st.st_uid != getuid() || (st.st_mode & 077) != 0) {
        error = folder + ": not private to this user";
        return false;
    }
    return true;
}

}  // namespace

std::string InstanceCounter::DefaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/') return std::string(runtime) + "/quilite";
    return "/tmp/quilite-" + std::to_string(getuid());
}

InstanceCounter::InstanceCounter(const std::string& folder) : folder_(folder) {
    if (!preparePrivateFolder(folder_, error_)) return;
    const int guard = lockFolder();
    takeSlot();
    countAtStart_ = slotFd_ >= 0 ? Count() : kMaxSlots + 1;
    if (guard >= 0) close(guard);
}

InstanceCounter::~InstanceCounter() {
    if (slotFd_ >= 0) close(slotFd_);
}

int InstanceCounter::lockFolder() const {
    const int fd = openFile(folder_ + "/counter.lock");
    if (fd >= 0) setLock(fd, F_WRLCK, true);
    return fd;
}

void InstanceCounter::takeSlot() {
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        const int fd = openFile(slotPath(folder_, slot));
        if (fd < 0) continue;
        if (setLock(fd, F_WRLCK, false)) {
            [[maybe_unused]] int r = ftruncate(fd, 0);  // a position of an earlier copy goes
            slot_ = slot;
            slotFd_ = fd;
            return;
        }
        close(fd);
    }
}

void InstanceCounter::forEachHeldSlot(const std::function<void(int, int)>& held) const {
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        const int fd = open(slotPath(folder_, slot).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        if (lockedByOther(fd)) held(slot, fd);
        close(fd);
    }
}

int InstanceCounter::Count() const {
    if (!error_.empty()) return 1;
    int count = 0;
    forEachHeldSlot([&count](int, int) { ++count; });
    return count;
}

void InstanceCounter::RecordWindowPosition(int x, int y) {
    if (slotFd_ < 0) return;
    char text[kPositionSize + 1];
    std::snprintf(text, sizeof text, "%11d,%11d\n", x, y);
    [[maybe_unused]] ssize_t n = pwrite(slotFd_, text, kPositionSize, 0);
}

bool InstanceCounter::PositionTakenByOther(int x, int y) const {
    if (!error_.empty()) return false;
    bool taken = false;
    forEachHeldSlot([&](int slot, int fd) {
        char text[kPositionSize + 1] = {};
        int otherX, otherY;
        if (slot != slot_ && pread(fd, text, kPositionSize, 0) == kPositionSize &&
            std::sscanf(text, "%d,%d", &otherX, &otherY) == 2)
            taken = taken || (otherX == x && otherY == y);
    });
    return taken;
}
