#include "app/tty/HostTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <regex>

namespace {

// What the handlers need, kept where a signal handler may read it.
struct SavedState {
    volatile sig_atomic_t active = 0;
    int in = -1;
    int out = -1;
    termios original{};
    int pipeRead = -1;
    int pipeWrite = -1;
    volatile sig_atomic_t endSignals = 0;
};
SavedState state;

// The window title saved, alternate screen, bracketed paste, application keypad, no automatic
// wrap (the screen places every cell itself), Alt sending Esc before the key (saved first, so
// that Alt+L reaches the macros as Esc l); the caret is shown by the screen.
constexpr char kEnterSequence[] =
    "\x1b[22;0t\x1b[?1049h\x1b[?2004h\x1b=\x1b[?7l\x1b[?25l"
    "\x1b[?1036s\x1b[?1036h\x1b[H\x1b[2J";
constexpr char kLeaveSequence[] =
    "\x1b[?1036r\x1b[?2004l\x1b>\x1b[0m\x1b[?7h\x1b[?1049l\x1b[?25h\x1b[23;0t";

const int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
const int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
const int kForwardedSignals[] = {SIGWINCH, SIGCONT};

// Async-signal-safe: write and tcsetattr only.
void giveBack() {
    if (!state.active) return;
    state.active = 0;
    [[maybe_unused]] ssize_t n = write(state.out, kLeaveSequence, sizeof kLeaveSequence - 1);
    tcsetattr(state.in, TCSADRAIN, &state.original);
}

void forward(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] ssize_t n = write(state.pipeWrite, &byte, 1);
    errno = saved;
}

void onFatal(int signal) {
    giveBack();
    ::signal(signal, SIG_DFL);
    raise(signal);
}

// The first request to end goes to the loop, which closes in order; a second one, or one while
// the loop does not listen, ends the program at once.
void onEnd(int signal) {
    state.endSignals = state.endSignals + 1;
    if (state.endSignals > 1 || state.pipeWrite < 0) {
        giveBack();
        _exit(128 + signal);
    }
    forward(signal);
}

void onStop(int) {
    const int saved = errno;
    giveBack();
    raise(SIGSTOP);
    errno = saved;
}

void install(int signal, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

void installHandlers() {
    for (int s : kFatalSignals)
        install(s, onFatal, SA_RESETHAND);
    for (int s : kEndSignals)
        install(s, onEnd, SA_RESTART);
    for (int s : kForwardedSignals)
        install(s, forward, SA_RESTART);
    install(SIGTSTP, onStop, SA_RESTART);
    install(SIGPIPE, SIG_IGN, 0);
    static bool atExitSet = false;
    if (!atExitSet) {
        atExitSet = true;
        std::atexit(giveBack);
    }
}

}  // namespace

HostTerminal::HostTerminal(int inFd, int outFd) : in_(inFd), out_(outFd) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        state.pipeRead = fds[0];
        state.pipeWrite = fds[1];
    }
}

HostTerminal::~HostTerminal() {
    Restore();
    for (int fd : {state.pipeRead, state.pipeWrite})
        if (fd >= 0) close(fd);
    state.pipeRead = state.pipeWrite = -1;
}

int HostTerminal::SignalFd() const {
    return state.pipeRead;
}

bool HostTerminal::Enter(std::string& error) {
    if (!isatty(in_) || !isatty(out_)) {
        error = "입력과 출력이 터미널이 아닙니다.";
        return false;
    }
    if (tcgetattr(in_, &state.original) != 0) {
        error = std::strerror(errno);
        return false;
    }
    state.in = in_;
    state.out = out_;
    installHandlers();
    takeOver();
    return true;
}

void HostTerminal::takeOver() {
    termios raw = state.original;
    cfmakeraw(&raw);
    raw.c_cc[VMIN] = 0;  // reads return what is there, at once
    raw.c_cc[VTIME] = 0;
    tcsetattr(in_, TCSADRAIN, &raw);
    state.active = 1;
    Write(kEnterSequence);
}

void HostTerminal::Restore() {
    giveBack();
}

void HostTerminal::Resume() {
    if (!state.active && state.in >= 0) takeOver();
}

bool HostTerminal::Size(int& columns, int& lines) const {
    winsize size{};
    if (ioctl(out_, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return false;
    columns = size.ws_col;
    lines = size.ws_row;
    return true;
}

int HostTerminal::ReadInput(char* buffer, int size) {
    if (!typedAhead_.empty()) {
        const size_t n = std::min(typedAhead_.size(), static_cast<size_t>(size));
        typedAhead_.copy(buffer, n);
        typedAhead_.erase(0, n);
        return static_cast<int>(n);
    }
    const ssize_t n = read(in_, buffer, static_cast<size_t>(size));
    if (n > 0) return static_cast<int>(n);
    if (n == 0 || errno == EAGAIN || errno == EINTR) return 0;
    gone_ = true;
    return -1;
}

void HostTerminal::Write(std::string_view bytes) {
    while (!bytes.empty() && !gone_) {
        const ssize_t n = write(out_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{out_, POLLOUT, 0};
            poll(&p, 1, 100);
        } else if (n < 0 && errno != EINTR) {
            gone_ = true;
        }
    }
}

namespace {

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::vector<int> HostTerminal::MeasureWidths(const std::vector<std::string>& samples,
                                             int timeoutMs) {
    std::vector<int> widths(samples.size(), 0);
    const int64_t deadline = nowMs() + timeoutMs;
    for (size_t i = 0; i < samples.size() && !gone_; ++i) {
        Write("\x1b[H" + samples[i] + "\x1b[6n");
        int column = 0;
        if (!awaitCursorColumn(deadline, column)) break;
        widths[i] = column - 1;
    }
    Write("\x1b[H\x1b[2K");
    return widths;
}

// Reads until a cursor position report ("ESC [ line ; column R") has come, or the deadline
// has passed; what else arrives is kept as typed ahead.
bool HostTerminal::awaitCursorColumn(int64_t deadlineMs, int& column) {
    static const std::regex report("\x1b\\[[0-9]+;([0-9]+)R");
    std::string got;
    std::smatch match;
    while (!std::regex_search(got, match, report)) {
        const int64_t left = deadlineMs - nowMs();
        pollfd p{in_, POLLIN, 0};
        char buffer[256];
        ssize_t n = 0;
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0 ||
            (n = read(in_, buffer, sizeof buffer)) <= 0) {
            typedAhead_ += got;
            return false;
        }
        got.append(buffer, static_cast<size_t>(n));
    }
    column = std::stoi(match[1].str());
    typedAhead_ += match.prefix().str() + match.suffix().str();
    return true;
}
