#include "app/gui/EndSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

const int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

int pipeRead = -1;
volatile sig_atomic_t pipeWrite = -1;
volatile sig_atomic_t received = 0;

// Async-signal-safe: write and _exit only.
void onEndSignal(int signal) {
    received = received + 1;
    if (received > 1 || pipeWrite < 0) _exit(128 + signal);
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] ssize_t n = write(pipeWrite, &byte, 1);
    errno = saved;
}

void install(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int s : kEndSignals)
        sigaction(s, &action, nullptr);
}

}  // namespace

EndSignals::EndSignals(EventLoop& loop, std::function<void()> onEnd)
    : loop_(loop), onEnd_(std::move(onEnd)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    pipeRead = fds[0];
    pipeWrite = fds[1];
    received = 0;
    watch_ = loop_.addWatch(pipeRead, LoopEvent::Readable, [this](unsigned) {
        char bytes[16];
        while (read(pipeRead, bytes, sizeof bytes) > 0) {
        }
        onEnd_();
    });
    install(onEndSignal);
}

EndSignals::~EndSignals() {
    install(SIG_DFL);
    if (watch_ >= 0) loop_.removeWatch(watch_);
    const int writeEnd = pipeWrite;
    pipeWrite = -1;
    for (int fd : {pipeRead, writeEnd})
        if (fd >= 0) close(fd);
    pipeRead = -1;
}
