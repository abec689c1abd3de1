#pragma once
// One connection to a mail server: commands out as lines, replies in as numbered lines of at
// most 999 bytes, each wait bounded by a time-out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SmtpReply {
    int code = 0;                    // 0: no reply (connection lost, time-out, line too long)
    std::vector<std::string> lines;  // without their line ends
    std::string lastLine() const { return lines.empty() ? "" : lines.back(); }
};

class SmtpConnection {
public:
    // Once cancelFd becomes readable, every wait of the connection ends as a failure.
    explicit SmtpConnection(int cancelFd = -1) : cancelFd_(cancelFd) {}
    ~SmtpConnection();
    SmtpConnection(const SmtpConnection&) = delete;
    SmtpConnection& operator=(const SmtpConnection&) = delete;

    // Connects to "host" or "host:port" (port 25 when not given); false when no address of the
    // host accepts. host() and port() are the ones tried.
    bool Connect(const std::string& server);
    bool isCancelled() const;
    const std::string& host() const { return host_; }
    int port() const { return port_; }
    // The connected socket's own address in brackets: "[192.0.2.1]", "[IPv6:2001:db8::1]".
    std::string localAddressLiteral() const;

    bool SendLine(std::string_view line);  // adds CR LF
    bool SendRaw(std::string_view bytes);
    SmtpReply ReadReply();
    void Close();

    static constexpr size_t kMaxReplyLine = 999;
    static constexpr int kTimeoutMs = 60000;

private:
    // One reply line; nothing on a lost connection, a time-out or a line over 999 bytes.
    std::optional<std::string> readLine();

    int cancelFd_;
    int fd_ = -1;
    std::string host_;
    int port_ = 25;
    std::string buffer_;
};
