#include "ScriptedSmtpServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<std::string> replies, size_t dropAfterDataBytes)
    : replies_(std::move(replies)), dropAfter_(dropAfterDataBytes) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 1);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&ScriptedSmtpServer::serve, this);
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
    shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    close(listener_);
}

std::vector<std::string> ScriptedSmtpServer::commands() {
    if (thread_.joinable()) thread_.join();
    return commands_;
}

std::string ScriptedSmtpServer::message() {
    if (thread_.joinable()) thread_.join();
    return message_;
}

bool ScriptedSmtpServer::readLine(int fd, std::string& pending, std::string& line) {
    for (;;) {
        size_t end = pending.find("\r\n");
        if (end != std::string::npos) {
            line = pending.substr(0, end);
            pending.erase(0, end + 2);
            return true;
        }
        pollfd watch{fd, POLLIN, 0};
        if (poll(&watch, 1, 10000) <= 0) return false;
        char chunk[4096];
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0) return false;
        pending.append(chunk, got);
    }
}

void ScriptedSmtpServer::serve() {
    pollfd watch{listener_, POLLIN, 0};
    if (poll(&watch, 1, 10000) <= 0) return;
    int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    size_t next = 0;
    auto reply = [&] {
        std::string text = (next < replies_.size() ? replies_[next++] : "221 bye") + "\r\n";
        send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    };
    reply();
    std::string pending, line;
    bool inData = false;
    while (readLine(fd, pending, line)) {
        if (inData) {
            if (line == ".") {
                inData = false;
                reply();
                continue;
            }
            message_ += line + "\r\n";
            if (dropAfter_ && message_.size() >= dropAfter_) break;
            continue;
        }
        commands_.push_back(line);
        bool accepted = next < replies_.size() && replies_[next].starts_with("354");
        reply();
        inData = line == "DATA" && accepted;
        if (line == "QUIT") break;
    }
    close(fd);
}
