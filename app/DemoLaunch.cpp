#include "app/DemoLaunch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
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

bool DemoLaunch::Start(std::string& error) {
    int output[2], parent[2];
    if (pipe2(output, O_CLOEXEC) != 0) return error = "파이프를 만들 수 없습니다.", false;
    if (pipe2(parent, O_CLOEXEC) != 0) {
        close(output[0]);
        close(output[1]);
        return error = "파이프를 만들 수 없습니다.", false;
    }
    // Only the host inherits the pipe's reading end; the writing end stays ours alone.
    fcntl(parent[0], F_SETFD, 0);
    ProcessLauncher launcher;
    const std::string program = DemoHostProgram();
    const ProcessLauncher::Started started = launcher.start(
        {program, "--port", "0", "--parent-fd", std::to_string(parent[0])}, "", true, output[1]);
    close(parent[0]);
    close(output[1]);
    parentPipe_ = parent[1];
    pid_ = started.pid;
    const int port = pid_ > 0 ? readPort(output[0]) : -1;
    close(output[0]);
    if (port < 0) {
        error = "데모 호스트를 시작할 수 없습니다: " + program;
        return false;
    }
    entry_ = DemoEntry(port);
    return true;
}

DemoLaunch::~DemoLaunch() {
    if (parentPipe_ >= 0) close(parentPipe_);
    if (pid_ <= 0) return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopMs);
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            return;
        }
        usleep(10000);
    }
}
