#include "videomail/SmtpConnection.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <tuple>

namespace {

constexpr int kConnectTimeoutMs = 20000;

// Splits "host:port"; a bare IPv6 address or a bad port leaves the whole text as the host.
std::pair<std::string, int> hostAndPort(const std::string& server) {
    size_t colon = server.rfind(':');
    if (colon == server.npos || server.find(':') != colon) return {server, 25};
    std::string digits = server.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != digits.npos)
        return {server, 25};
    int port = std::stoi(digits);
    if (port < 1 || port > 65535) return {server, 25};
    return {server.substr(0, colon), port};
}

// False on a time-out, or once cancelFd (when given) has become readable.
bool waitFor(int fd, short events, int timeoutMs, int cancelFd) {
    pollfd watch[2] = {{fd, events, 0}, {cancelFd, POLLIN, 0}};
    int ready;
    do
        ready = poll(watch, cancelFd < 0 ? 1 : 2, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && watch[1].revents == 0;
}

int connectWithin(const addrinfo* address, int timeoutMs, int cancelFd) {
    int fd = socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                    address->ai_protocol);
    if (fd < 0) return -1;
    int error = 0;
    socklen_t length = sizeof error;
    if (connect(fd, address->ai_addr, address->ai_addrlen) == 0 ||
        (errno == EINPROGRESS && waitFor(fd, POLLOUT, timeoutMs, cancelFd) &&
         getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0))
        return fd;
    close(fd);
    return -1;
}

}  // namespace

SmtpConnection::~SmtpConnection() {
    Close();
}

bool SmtpConnection::Connect(const std::string& server) {
    Close();
    std::tie(host_, port_) = hostAndPort(server);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host_.empty() ||
        getaddrinfo(host_.c_str(), std::to_string(port_).c_str(), &hints, &found) != 0)
        return false;
    for (const addrinfo* a = found; a && fd_ < 0; a = a->ai_next)
        fd_ = connectWithin(a, kConnectTimeoutMs, cancelFd_);
    freeaddrinfo(found);
    return fd_ >= 0;
}

bool SmtpConnection::isCancelled() const {
    pollfd watch{cancelFd_, POLLIN, 0};
    return cancelFd_ >= 0 && poll(&watch, 1, 0) > 0;
}

std::string SmtpConnection::localAddressLiteral() const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    char text[INET6_ADDRSTRLEN] = "0.0.0.0";
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return "[0.0.0.0]";
    if (address.ss_family == AF_INET6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        if (!IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) return std::string("[IPv6:") + text + "]";
        inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text, sizeof text);
    } else {
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&address)->sin_addr, text, sizeof text);
    }
    return std::string("[") + text + "]";
}

bool SmtpConnection::SendLine(std::string_view line) {
    return SendRaw(std::string(line) + "\r\n");
}

bool SmtpConnection::SendRaw(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && errno == EAGAIN) {
            if (!waitFor(fd_, POLLOUT, kTimeoutMs, cancelFd_)) return false;
        } else {
            return false;
        }
    }
    return fd_ >= 0;
}

std::optional<std::string> SmtpConnection::readLine() {
    for (;;) {
        size_t end = buffer_.find('\n');
        if (end != buffer_.npos && end <= kMaxReplyLine + 1) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        if (buffer_.size() > kMaxReplyLine + 1 || fd_ < 0) return std::nullopt;
        if (!waitFor(fd_, POLLIN, kTimeoutMs, cancelFd_)) return std::nullopt;
        char chunk[1024];
        ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return std::nullopt;
        buffer_.append(chunk, got);
    }
}

SmtpReply SmtpConnection::ReadReply() {
    SmtpReply reply;
    while (auto line = readLine()) {
        reply.lines.push_back(*line);
        bool numbered = line->size() >= 3 && isdigit(static_cast<unsigned char>((*line)[0])) &&
                        isdigit(static_cast<unsigned char>((*line)[1])) &&
                        isdigit(static_cast<unsigned char>((*line)[2]));
        if (line->size() >= 4 && (*line)[3] == '-' && numbered) continue;
        reply.code = numbered ? std::stoi(line->substr(0, 3)) : 0;
        return reply;
    }
    reply.code = 0;
    return reply;
}

void SmtpConnection::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    buffer_.clear();
}
