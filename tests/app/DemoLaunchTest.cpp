// The demo host as "quilite --demo" runs it: on a socket of the program's own, ending when its
// last user leaves, started again by the next connection to the same port, and gone with the
// launcher; a socket that is not listening on 127.0.0.1 is refused by the host.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/DemoLaunch.h"
#include "platform/ProcessLauncher.h"
#include "tests/fixtures/LoopbackListener.h"

namespace {

const char kHost[] = QUILITE_BINARY_DIR "/tools/quilite-demohost";

bool processExists(int pid) {
    return std::filesystem::exists("/proc/" + std::to_string(pid));
}

// Waits up to 5 s for the launcher to have collected its host; true when no process is left.
bool hostGone(const DemoLaunch& launch, int pid) {
    for (int i = 0; i < 250 && (launch.HostPid() > 0 || processExists(pid)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return launch.HostPid() < 0 && !processExists(pid);
}

int demoPort(const DemoLaunch& launch) {
    const std::string server = launch.Entry().at("Server");
    return std::stoi(server.substr(server.find(':') + 1));
}

// A connection that has read the ID prompt, or -1.
int connectToLogin(int port) {
    const int fd = connectLoopback(port);
    std::string seen;
    EXPECT_TRUE(receiveUntil(fd, "login: ", seen, 10000)) << seen;
    return fd;
}

TEST(DemoLaunch, HostEndsWithItsLastUserAndComesBackOnTheSamePort) {
    DemoLaunch launch;
    std::string error;
    ASSERT_TRUE(launch.Start(error, kHost)) << error;
    const int port = demoPort(launch);
    const int first = launch.HostPid();
    ASSERT_GT(first, 0);

    const int user = connectToLogin(port);
    const int other = connectToLogin(port);
    close(other);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(launch.HostPid(), first) << "a user is still connected";
    close(user);
    EXPECT_TRUE(hostGone(launch, first));

    const int again = connectToLogin(port);
    const int second = launch.HostPid();
    EXPECT_GT(second, 0);
    EXPECT_NE(second, first);
    close(again);
    EXPECT_TRUE(hostGone(launch, second));

    // Gone with the launcher, a user connected or not.
    std::optional<DemoLaunch> held;
    held.emplace();
    ASSERT_TRUE(held->Start(error, kHost)) << error;
    const int connected = connectToLogin(demoPort(*held));
    const int third = held->HostPid();
    held.reset();
    EXPECT_FALSE(processExists(third));
    close(connected);
}

TEST(DemoLaunch, MissingHostIsReported) {
    DemoLaunch launch;
    std::string error;
    EXPECT_FALSE(launch.Start(error, "/nonexistent/quilite-demohost"));
    EXPECT_EQ(error, "데모 호스트를 시작할 수 없습니다: /nonexistent/quilite-demohost");
}

TEST(DemoLaunch, HostRefusesASocketNotListeningOnLoopback) {
    const int anyAddress = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ASSERT_EQ(bind(anyAddress, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(anyAddress, 1), 0);
    const int unbound = socket(AF_INET, SOCK_STREAM, 0);
    for (int fd : {anyAddress, unbound, 0}) {
        ProcessLauncher launcher;
        const int pid =
            launcher.start({kHost, "--listen-fd", std::to_string(fd), "--exit-when-idle"}, "", true)
                .pid;
        EXPECT_EQ(launcher.wait(pid, 10000), 2) << fd;
    }
    close(anyAddress);
    close(unbound);
}

}  // namespace
