#include "tests/tools/DemoHostProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "tests/fixtures/LoopbackListener.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

std::string cp949(const std::string& utf8) {
    return utf8ToCp949(utf8).value();
}

namespace {

std::string testFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = std::filesystem::temp_directory_path().string() + "/demohost-" +
                               std::to_string(getpid()) + "-" + test->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace

DemoHostTestBase::DemoHostTestBase() : folder(testFolder()), host(folder) {}

DemoHostTestBase::~DemoHostTestBase() {
    host.terminate(3000);
    std::filesystem::remove_all(folder);
}

std::string exchange(int fd, const std::string& text, const std::string& until) {
    std::string seen;
    EXPECT_TRUE(sendAll(fd, text));
    EXPECT_TRUE(receiveUntil(fd, until, seen, 8000)) << "waiting for " << until;
    return seen;
}

void sendNoise(int port, unsigned seed, const std::atomic<bool>& stop) {
    std::mt19937 random(seed);
    const int fd = connectLoopback(port);
    while (!stop && fd >= 0) {
        std::string noise(512, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        if (!sendAll(fd, noise)) break;
        receiveUntilQuiet(fd, 5);
    }
    if (fd >= 0) close(fd);
}

std::string demoMenuPrompt() {
    return cp949("(번호, go 코드, top, x) >> ");
}

DemoHostProcess::DemoHostProcess(const std::string& folder, std::vector<std::string> extra)
    : folder_(folder) {
    // The host's temporary folder, where its upload folder goes, is the test's. Under
    // AddressSanitizer freed memory is held back for a while; a small hold keeps the host's
    // resident size its own.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanOptions = std::string(asan && *asan ? asan : "") +
                                    (asan && *asan ? ":" : "") + "quarantine_size_mb=16";
    std::vector<std::string> argv = {"env",
                                     "TMPDIR=" + folder,
                                     "ASAN_OPTIONS=" + asanOptions,
                                     QUILITE_BINARY_DIR "/tools/quilite-demohost",
                                     "--port",
                                     "0"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    const int out = open((folder + "/stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    process_ = std::make_unique<PeerProcess>(argv, -1, out, folder, folder + "/stderr");
    close(out);
    // A sanitized host on a busy machine may take many seconds to start.
    for (int i = 0; i < 3000 && port_ < 0; ++i) {
        const std::string text = readFile(folder + "/stdout");
        if (text.find('\n') != std::string::npos && text.rfind("LISTEN 127.0.0.1 ", 0) == 0)
            port_ = std::atoi(text.c_str() + 17);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (port_ <= 0) throw std::runtime_error("quilite-demohost did not listen");
}

DemoHostProcess::~DemoHostProcess() {
    terminate(3000);
}

int DemoHostProcess::connectToLogin(std::string* seen) {
    const int fd = connectLoopback(port_);
    std::string local;
    std::string& text = seen ? *seen : local;
    if (fd >= 0 && receiveUntil(fd, "login: ", text, 5000)) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

int DemoHostProcess::logIn(const std::string& id, const std::string& password, std::string* seen) {
    std::string local;
    std::string& text = seen ? *seen : local;
    const int fd = connectToLogin(&text);
    if (fd < 0) return -1;
    if (sendAll(fd, id + "\r") && receiveUntil(fd, "Password: ", text, 5000) &&
        sendAll(fd, password + "\r") && receiveUntil(fd, demoMenuPrompt(), text, 5000))
        return fd;
    close(fd);
    return -1;
}

int DemoHostProcess::terminate(int timeoutMs) {
    if (process_->exited() >= 0) return process_->exited();
    process_->kill(SIGTERM);
    return process_->wait(timeoutMs);
}

std::string DemoHostProcess::printed() const {
    return readFile(folder_ + "/stdout") + readFile(folder_ + "/stderr");
}

long DemoHostProcess::residentKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid()) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}
