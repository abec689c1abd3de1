#include "app/tty/ForegroundProgram.h"

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

[[noreturn]] void execInChild(int fd, const std::vector<std::string>& argv) {
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
    execvp(args[0], args.data());
    _exit(127);
}

}  // namespace

int RunInForeground(HostTerminal& terminal, const std::vector<std::string>& argv) {
    if (argv.empty()) return -1;
    const int fd = terminal.InputFd();
    terminal.Restore();
    const pid_t child = fork();
    if (child == 0) execInChild(fd, argv);
    int status = -1;
    if (child > 0) {
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
    terminal.Resume();
    if (child < 0) return -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
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
