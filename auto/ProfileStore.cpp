#include "auto/ProfileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "platform/UserDirs.h"

namespace {

// Creates the folder and an empty file with owner-only access; SQLite gives its -wal and -shm
// companions the mode of the main file.
bool prepareFile(const std::string& path, std::string& error) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !std::filesystem::exists(folder)) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            error = folder.string() + ": " + ec.message();
            return false;
        }
        chmod(folder.c_str(), 0700);
    }
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    fchmod(fd, 0600);  // a store made by hand or by an older copy may be readable by others
    ::close(fd);
    return true;
}

std::string asideName(const std::string& path) {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    std::string aside = path + ".damaged-" + stamp;
    for (int n = 2; std::filesystem::exists(aside); ++n)
        aside = path + ".damaged-" + stamp + "-" + std::to_string(n);
    return aside;
}

// Moves the store and its write-ahead log together, so the copy aside stays as it was.
bool moveAside(const std::string& path, const std::string& aside, std::string& error) {
    for (const char* suffix : {"-wal", "-shm"}) {
        std::string from = path + suffix;
        if (access(from.c_str(), F_OK) == 0) std::rename(from.c_str(), (aside + suffix).c_str());
    }
    if (std::rename(path.c_str(), aside.c_str()) == 0) return true;
    error = path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

std::string defaultProfilePath() {
    return configHome() + "/quilite/profile.db";
}

std::unique_ptr<Registry> openProfileStore(const std::string& path, Prompt& prompt,
                                           std::string& error) {
    if (!prepareFile(path, error)) return nullptr;
    Registry::Opened opened = Registry::open(path);
    if (opened.registry) return std::move(opened.registry);
    error = opened.error;
    if (!opened.damaged) return nullptr;

    std::string aside = asideName(path);
    if (!moveAside(path, aside, error)) return nullptr;
    prompt.tell("사용자 환경 정보 파일 " + path + "이(가) 손상되어 읽을 수 없습니다.\n\n" +
                    "손상된 파일은 " + aside + "(으)로 옮겨 두고 새 사용자 환경을 만듭니다.",
                PromptIcon::Warning);
    if (!prepareFile(path, error)) return nullptr;
    opened = Registry::open(path);
    if (!opened.registry) error = opened.error;
    return std::move(opened.registry);
}
