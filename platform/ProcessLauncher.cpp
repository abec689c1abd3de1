#include "platform/ProcessLauncher.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

extern char** environ;

namespace {

int exitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// posix_spawn's attributes: the child starts with no blocked signals and with SIGPIPE back at
// its default, whatever this program ignores.
struct SpawnAttributes {
    SpawnAttributes() {
        posix_spawnattr_init(&attr);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attr); }
    posix_spawnattr_t attr;
};

}  // namespace

ProcessLauncher::Started ProcessLauncher::start(const std::vector<std::string>& argv,
                                                const std::string& folder, bool detached,
                                                int outputFd) {
    reap();
    if (argv.empty() || argv[0].empty()) return {-1, ENOENT};
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    SpawnAttributes attributes;
    if (detached) {
        for (int fd : {0, 1, 2})
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY,
                                             0);
        short flags = 0;
        posix_spawnattr_getflags(&attributes.attr, &flags);
        posix_spawnattr_setflags(&attributes.attr, flags | POSIX_SPAWN_SETSID);
    }
    if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, args[0], &actions, &attributes.attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return {-1, error};
    children_.push_back(pid);
    return {pid, 0};
}

int ProcessLauncher::wait(int pid, int timeoutMs) {
    auto it = std::find(children_.begin(), children_.end(), pid);
    if (it == children_.end()) return -1;
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        while (poll(&p, 1, timeoutMs) < 0 && errno == EINTR) {
        }
        close(pidfd);
    }
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return -1;
    children_.erase(it);
    return exitStatus(status);
}

void ProcessLauncher::reap() {
    std::erase_if(children_, [](int pid) {
        int status;
        return waitpid(pid, &status, WNOHANG) != 0;
    });
}

bool ProcessLauncher::programFound(const std::string& name, const std::string& extraPath) {
    auto executable = [](const std::string& path) {
        std::error_code error;
        return access(path.c_str(), X_OK) == 0 && !std::filesystem::is_directory(path, error);
    };
    if (name.empty()) return false;
    if (name.find('/') != std::string::npos) return executable(name);
    const char* path = std::getenv("PATH");
    std::stringstream folders(std::string(path ? path : "") + ":" + extraPath);
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && executable(folder + "/" + name)) return true;
    return false;
}

std::string ProcessLauncher::ownProgram() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}
