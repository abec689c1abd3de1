#include "app/DemoLaunch.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/ProcessLauncher.h"
#include "platform/TextCodec.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStartMs = 10000;
constexpr int kStopMs = 2500;
constexpr char kProgram[] = "quilite-demohost";

// Reads the host's first line, "LISTEN 127.0.0.1 PORT"; the port, or -1.
int readPort(int fd) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return -1;
        char buffer[128];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return -1;
        line.append(buffer, static_cast<size_t>(n));
    }
    const std::string prefix = "LISTEN 127.0.0.1 ";
    if (line.rfind(prefix, 0) != 0) return -1;
    const int port = std::atoi(line.c_str() + prefix.size());
    return port > 0 && port < 65536 ? port : -1;
}

// A socket listening on 127.0.0.1 at a free port, and the port; -1 when none can be had.
int listenOnLoopback(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 16) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

Record DemoEntry(int port) {
    return {{"Title", utf8ToCp949Lossy("퀼라이트 데모")},
            {"Type", "1"},
            {"Host", utf8ToCp949Lossy("하이텔")},
            {"Server", "127.0.0.1:" + std::to_string(port)}};
}

std::string DemoHostProgram() {
    const fs::path own = fs::path(ProcessLauncher::ownProgram()).parent_path();
    std::error_code ec;
    if (fs::exists(own / kProgram, ec)) return own / kProgram;
    return own.parent_path() / "tools" / kProgram;
}

bool DemoLaunch::Start(std::string& error, const std::string& program) {
    program_ = program;
    error = "데모 호스트를 시작할 수 없습니다: " + program;
    int port = -1;
    listenFd_ = listenOnLoopback(port);
    int parent[2];
    if (listenFd_ < 0 || pipe2(parent, O_CLOEXEC) != 0) return false;
    parentRead_ = parent[0];
    parentPipe_ = parent[1];
    if (pipe2(stopPipe_, O_CLOEXEC) != 0 || !startHost() || readPort(hostOutput_) != port)
        return false;
    entry_ = DemoEntry(port);
    watcher_ = std::thread(&DemoLaunch::watchHost, this);
    error.clear();
    return true;
}

// Starts the host on our socket; its standard output becomes hostOutput_, whose end tells that
// the host has ended.
bool DemoLaunch::startHost() {
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) return false;
    // The host's copies of the socket and of the pipe's reading end, the only ones it inherits.
    const int listenCopy = fcntl(listenFd_, F_DUPFD, 3);
    const int parentCopy = fcntl(parentRead_, F_DUPFD, 3);
    ProcessLauncher launcher;
    const ProcessLauncher::Started started =
        launcher.start({program_, "--listen-fd", std::to_string(listenCopy), "--parent-fd",
                        std::to_string(parentCopy), "--exit-when-idle"},
                       "", true, output[1]);
    for (int fd : {listenCopy, parentCopy, output[1]})
        if (fd >= 0) close(fd);
    if (started.pid <= 0) {
        close(output[0]);
        return false;
    }
    hostOutput_ = output[0];
    pid_ = started.pid;
    return true;
}

// The watcher thread: collects the host when it ends, and starts it again when a connection
// waits on the socket while none runs.
void DemoLaunch::watchHost() {
    for (;;) {
        const bool running = pid_ > 0;
        pollfd fds[2] = {{stopPipe_[0], POLLIN, 0}, {running ? hostOutput_ : listenFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[0].revents) return;
        if (!fds[1].revents) continue;
        if (running) {
            readHostOutput();
        } else if (!startHost()) {
            // Refused at once rather than left waiting for a host that cannot come.
            closeFd(listenFd_);
            return;
        }
    }
}

// What the host prints after its first line is of no use; the end of its output is its end.
void DemoLaunch::readHostOutput() {
    char buffer[256];
    if (read(hostOutput_, buffer, sizeof buffer) > 0) return;
    closeFd(hostOutput_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void DemoLaunch::stopHost() {
    const int pid = pid_;
    if (pid <= 0) return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopMs);
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return;
        }
        usleep(10000);
    }
}

DemoLaunch::~DemoLaunch() {
    if (watcher_.joinable()) {
        const char b = 1;
        [[maybe_unused]] ssize_t n = write(stopPipe_[1], &b, 1);
        watcher_.join();
    }
    closeFd(parentPipe_);
    stopHost();
    for (int* fd : {&listenFd_, &parentRead_, &stopPipe_[0], &stopPipe_[1], &hostOutput_})
        closeFd(*fd);
}
