#include "app/tty/ForegroundProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

namespace {

// tcsetpgrp from a process group that is not in the foreground stops it with SIGTTOU unless
// the signal is blocked.
void giveTerminalTo(int fd, pid_t group) {
    sigset_t ttou, old;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    sigprocmask(SIG_BLOCK, &ttou, &old);
    tcsetpgrp(fd, group);
    sigprocmask(SIG_SETMASK, &old, nullptr);
}

// The child tells why it could not start through errorPipe, which its exec closes.
[[noreturn]] void execInChild(int fd, const std::vector<std::string>& argv,
                              const std::string& folder, int errorPipe) {
    setpgid(0, 0);
    giveTerminalTo(fd, getpid());
    for (int signal :
         {SIGINT, SIGQUIT, SIGTSTP, SIGTTIN, SIGTTOU, SIGPIPE, SIGCHLD, SIGWINCH, SIGXFSZ})
        ::signal(signal, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (folder.empty() || chdir(folder.c_str()) == 0) execvp(args[0], args.data());
    const int error = errno;
    [[maybe_unused]] const ssize_t told = write(errorPipe, &error, sizeof error);
    _exit(127);
}

}  // namespace

int RunInForeground(HostTerminal& terminal, const std::vector<std::string>& argv,
                    const std::string& folder, int* startError) {
    if (argv.empty()) return -1;
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) return -1;
    const int fd = terminal.InputFd();
    terminal.Restore();
    const pid_t child = fork();
    const int forkError = errno;
    if (child == 0) execInChild(fd, argv, folder, errorPipe[1]);
    close(errorPipe[1]);
    int status = -1;
    if (child > 0) {
        int error = 0;
        while (read(errorPipe[0], &error, sizeof error) < 0 && errno == EINTR) {
        }
        if (startError) *startError = error;
        setpgid(child, child);  // as the child does: whichever runs first
        // A program stopped by Ctrl-Z would hold us forever: it is continued instead.
        for (;;) {
            const pid_t ended = waitpid(child, &status, WUNTRACED);
            if (ended < 0 && errno == EINTR) continue;
            if (ended < 0 || !WIFSTOPPED(status)) break;
            giveTerminalTo(fd, child);
            kill(-child, SIGCONT);
        }
        giveTerminalTo(fd, getpgrp());
    }
    close(errorPipe[0]);
    terminal.Resume();
    if (child < 0) {
        errno = forkError;
        return -1;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

ProcessLauncher::Started startInForeground(HostTerminal& terminal,
                                           const std::vector<std::string>& argv,
                                           const std::string& folder) {
    int error = 0;
    const int status = RunInForeground(terminal, argv, folder, &error);
    if (status < 0 && error == 0) error = errno;
    if (error != 0) return {-1, error};
    return {0, 0};
}

std::vector<std::string> EditorCommand(const std::string& file) {
    std::vector<std::string> argv;
    for (const char* name : {"VISUAL", "EDITOR"}) {
        const char* value = getenv(name);
        std::istringstream words(value ? value : "");
        for (std::string word; words >> word;)
            argv.push_back(word);
        if (!argv.empty()) break;
    }
    if (argv.empty()) argv.push_back("sensible-editor");
    argv.push_back(file);
    return argv;
}
