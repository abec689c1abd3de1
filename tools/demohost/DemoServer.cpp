#include "tools/demohost/DemoServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/TextCodec.h"
#include "tools/demohost/DemoSession.h"
#include "tools/demohost/TelnetServerLink.h"

namespace {

// How long a waiting connection thread sleeps before it looks at the stop flag and the room.
constexpr int kWaitMs = 100;
// Users get this long to see the goodbye line before their sockets are shut.
constexpr auto kGoodbyeTime = std::chrono::milliseconds(800);
constexpr auto kStopTime = std::chrono::milliseconds(1600);

}  // namespace

DemoServer::DemoServer(DemoHostState& host) : host_(host) {
    if (pipe2(idlePipe_, O_CLOEXEC | O_NONBLOCK) != 0) idlePipe_[0] = idlePipe_[1] = -1;
}

DemoServer::~DemoServer() {
    for (int fd : {listenFd_, idlePipe_[0], idlePipe_[1]})
        if (fd >= 0) close(fd);
}

int DemoServer::Listen(int port) {
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) return -1;
    const int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t length = sizeof address;
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenFd_, 64) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    return ntohs(address.sin_port);
}

int DemoServer::Adopt(int fd) {
    int listening = 0;
    socklen_t size = sizeof listening;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || !listening ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        address.sin_family != AF_INET || address.sin_addr.s_addr != htonl(INADDR_LOOPBACK))
        return -1;
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    listenFd_ = fd;
    return ntohs(address.sin_port);
}

void DemoServer::Serve(int stopFd, int parentFd) {
    for (;;) {
        pollfd fds[4] = {{listenFd_, POLLIN, 0},
                         {stopFd, POLLIN, 0},
                         {idlePipe_[0], POLLIN, 0},
                         {parentFd, POLLIN, 0}};
        if (poll(fds, parentFd >= 0 ? 4 : 3, -1) < 0) continue;
        if (fds[1].revents || fds[3].revents) break;
        if (fds[2].revents && stillIdle()) break;
        if (fds[0].revents & POLLIN) accept();
    }
    stopAll();
}

// The last connection ended; false (and the notice taken back) when a new one came since.
bool DemoServer::stillIdle() {
    char drained[16];
    while (read(idlePipe_[0], drained, sizeof drained) > 0) {
    }
    std::lock_guard<std::mutex> hold(lock_);
    return open_.empty();
}

void DemoServer::accept() {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    std::lock_guard<std::mutex> hold(lock_);
    if (open_.size() >= kMaxConnections) {
        const std::string busy =
            utf8ToCp949Lossy("지금은 접속자가 너무 많습니다. 잠시 후에 다시 접속하십시오.\r\n");
        send(fd, busy.data(), busy.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        close(fd);
        return;
    }
    // Echoes and prompts are small writes that must not wait for the client's delayed ACK.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    open_.insert(fd);
    std::thread(&DemoServer::serve, this, fd, ++served_).detach();
}

void DemoServer::serve(int fd, int number) {
    {
        TelnetServerLink link(fd, kWaitMs);
        DemoSession session(link, host_, number);
        session.Run();
    }
    std::lock_guard<std::mutex> hold(lock_);
    close(fd);
    open_.erase(fd);
    ended_.notify_all();
    if (endWhenIdle_ && open_.empty()) {
        const char b = 1;
        [[maybe_unused]] ssize_t n = write(idlePipe_[1], &b, 1);
    }
}

void DemoServer::stopAll() {
    host_.stopping = true;
    std::unique_lock<std::mutex> hold(lock_);
    ended_.wait_for(hold, kGoodbyeTime, [this] { return open_.empty(); });
    // A client that does not read cannot hold its thread: its socket is shut.
    for (int fd : open_)
        shutdown(fd, SHUT_RDWR);
    ended_.wait_for(hold, kStopTime - kGoodbyeTime, [this] { return open_.empty(); });
}
