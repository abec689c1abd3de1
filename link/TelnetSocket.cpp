#include "link/TelnetSocket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "link/TelnetErrors.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kMinBufferSize = 512;
constexpr size_t kHoldThreshold = 512;
constexpr size_t kMaxShownText = 512;
constexpr int kReadyWaitMs = 1000;

int bufferSize(int fd, int option) {
    int size = 0;
    socklen_t length = sizeof size;
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, option, &size, &length) != 0) size = 0;
    return std::max(size, kMinBufferSize);
}

// True when the descriptor is ready or has been shut down or failed (the next call says which).
bool pollFd(int fd, short events, int waitMs) {
    pollfd p{fd, events, 0};
    int r;
    while ((r = poll(&p, 1, waitMs)) < 0 && errno == EINTR) {
    }
    return r > 0;
}

std::string proxyTryingText(const std::string& dotted) {
    return utf8ToCp949("프록시 서버(" + dotted + ")에 연결중 ...\r\n").value_or("");
}

}  // namespace

TelnetSocket::TelnetSocket(const TelnetContext& context)
    : ctx_(context), fd_(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    const int receiveSize = bufferSize(fd_, SO_RCVBUF);
    const int sendSize = bufferSize(fd_, SO_SNDBUF);
    stagingSize_ = static_cast<size_t>(std::max(receiveSize, sendSize)) + 1;
    receive_.reset(2 * static_cast<size_t>(receiveSize));
    send_.reset(static_cast<size_t>(sendSize));
}

TelnetSocket::~TelnetSocket() {
    close();
    removeWatches();
    if (fd_ >= 0) ::close(fd_);
}

// --- connecting -------------------------------------------------------------------------------

bool TelnetSocket::Connect(const std::string& host, int port, bool viaProxy) {
    if (fd_ < 0) return false;
    const LookupResult found = lookUpHost(host, ctx_.resolver, ctx_.loop, ctx_.prompt);
    if (found.end == LookupEnd::Cancelled) return false;
    if (found.end == LookupEnd::NotFound) {
        ctx_.prompt.tell(cp949ToUtf8Lossy(host) + "의 IP 주소를 찾지 못했습니다.",
                         PromptIcon::Error);
        return false;
    }
    hostName_ = host;
    char dotted[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &found.address, dotted, sizeof dotted);
    show(viaProxy ? proxyTryingText(dotted) : "Trying " + std::string(dotted) + " ...\r\n");

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr = found.address;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        connectFinished(0);
    } else if (errno == EINPROGRESS) {
        connectWatch_ =
            ctx_.loop.addWatch(fd_, LoopEvent::Writable, [this](unsigned) { onConnectReady(); });
        connectTimer_ =
            ctx_.loop.addTimer(ctx_.connectTimeoutMs, false, [this] { onConnectTimeout(); });
    } else {
        connectFinished(errno);
    }
    return true;
}

void TelnetSocket::adopt(int fd, const std::string& hostName) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    hostName_ = hostName;
    connectFinished(0);
}

void TelnetSocket::onConnectReady() {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    connectFinished(error);
}

// Without a limit of our own only the kernel would end the attempt, after about two minutes.
// Connecting to an unspecified address drops the attempt and keeps the descriptor.
void TelnetSocket::onConnectTimeout() {
    sockaddr none{};
    none.sa_family = AF_UNSPEC;
    ::connect(fd_, &none, sizeof none);
    connectFinished(ETIMEDOUT);
}

void TelnetSocket::connectFinished(int error) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (connectWatch_ >= 0) ctx_.loop.removeWatch(connectWatch_);
        if (connectTimer_ >= 0) ctx_.loop.removeTimer(connectTimer_);
        connectWatch_ = connectTimer_ = -1;
    }
    if (error == 0) {
        connected_ = true;
        readWatch_ =
            ctx_.loop.addWatch(fd_, LoopEvent::Readable, [this](unsigned) { onReadable(); });
        writeWatch_ =
            ctx_.loop.addWatch(fd_, LoopEvent::Writable, [this](unsigned) { onWritable(); });
        ctx_.loop.setWatchEnabled(writeWatch_, false);
        show("Connected to " + hostName_ + ".\r\n");
        return;
    }
    if (error == ECONNREFUSED) show("connect: Connection refused\r\n");
    if (error == ETIMEDOUT) show("connect: Connection timed out\r\n");
    reportError(winsockNumber(error));
}

// --- receiving --------------------------------------------------------------------------------

// After a notification, or when a read found the ring empty. A socket with nothing to read is
// watched again, unless a transfer thread owns it.
bool TelnetSocket::fill() {
    if (!connected_) return false;
    std::span<uint8_t> span = receive_.writeSpan();
    const size_t want = std::min(span.size(), stagingSize_);
    if (want == 0) return false;
    const bool wasEmpty = receive_.empty();
    const ssize_t n = recv(fd_, span.data(), want, 0);
    if (n > 0) {
        receive_.commit(static_cast<size_t>(n));
        if (wasEmpty) notify(LinkActivity::Received);
        return true;
    }
    if (n == 0) {
        connectionLost(0);
    } else if (errno == EAGAIN || errno == EINTR) {
        enableWatch(readWatch_, true);
    } else {
        connectionLost(errno);
    }
    return false;
}

// Bytes read here, outside a pump pass, wake one: the socket no longer reports them.
bool TelnetSocket::hasInput() {
    if (!receive_.empty()) return true;
    if (!fill()) return false;
    kick();
    return true;
}

void TelnetSocket::onReadable() {
    enableWatch(readWatch_, false);
    fill();
    kick();
}

bool TelnetSocket::waitReady(int kind, bool wait) {
    const int waitMs = wait ? kReadyWaitMs : 0;
    if (kind == 1) {
        if (!receive_.empty()) return true;
        return connected_ && pollFd(fd_, POLLIN, waitMs);
    }
    if (kind != 2 || !connected_) return false;
    sendQueued(false);
    if (send_.room() > 0 && writable_) return true;
    writable_ = pollFd(fd_, POLLOUT, waitMs);
    if (writable_) sendQueued(false);
    return writable_ && send_.room() > 0;
}

void TelnetSocket::show(std::string_view text) {
    text = text.substr(0, kMaxShownText);
    if (paused_) {
        heldText_ += text;
        return;
    }
    receive_.put(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    kick();
}

// --- sending ----------------------------------------------------------------------------------

void TelnetSocket::push() {
    if (hold_ && send_.used() < kHoldThreshold && !send_.full()) return;
    sendQueued(paused_);
}

void TelnetSocket::endHold() {
    hold_ = false;
    sendQueued(paused_);
}

// Sends until the ring is empty or the socket takes no more. waitForRoom (transfer mode):
// a full socket is waited for, a second at a time while it keeps taking bytes. Otherwise the
// write watch says when to go on.
void TelnetSocket::sendQueued(bool waitForRoom) {
    while (connected_ && !send_.empty()) {
        std::span<const uint8_t> span = send_.readSpan();
        const ssize_t n = send(fd_, span.data(), span.size(), MSG_NOSIGNAL);
        if (n > 0) {
            send_.consume(static_cast<size_t>(n));
            writable_ = true;
            notify(LinkActivity::Sent);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        writable_ = false;
        if (n < 0 && errno != EAGAIN) {
            connectionLost(errno);
            return;
        }
        if (waitForRoom && pollFd(fd_, POLLOUT, kReadyWaitMs)) continue;
        enableWatch(writeWatch_, true);
        return;
    }
}

void TelnetSocket::onWritable() {
    enableWatch(writeWatch_, false);
    writable_ = true;
    sendQueued(false);
    kick();
}

// --- the end of the connection ----------------------------------------------------------------

// The peer closed (error 0) or the connection failed. Reported once, and not at all when we
// shut it down ourselves.
void TelnetSocket::connectionLost(int error) {
    if (!connected_.exchange(false)) return;
    removeWatches();
    send_.clear();
    if (closing_) return;
    // A connection that dies of silence reports ETIMEDOUT here, where Winsock said "aborted".
    const int number = error == ETIMEDOUT ? kWsaConnAborted : winsockNumber(error);
    if (error == 0) {
        show("Connection closed by foreign host.\r\n");
        if (status_) ctx_.loop.post([status = status_] { status("연결이 종료되었습니다"); });
        return;
    }
    if (number == kWsaConnAborted) show("Read error from network: Connection timed out\r\n");
    if (number == kWsaConnReset) show("Read error from network: Connection reset by peer\r\n");
    reportError(number);
    kick();
}

// The descriptor itself is freed by the destructor, so that a transfer thread that is still
// inside a call never meets a descriptor number that has been given to somebody else.
void TelnetSocket::close() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (fd_ < 0 || closing_) return;
        closing_ = true;
        connected_ = false;
        shutdown(fd_, SHUT_RDWR);
        if (paused_) return;  // the transfer thread may still be using the rings
    }
    removeWatches();
    receive_.clear();
    send_.clear();
}

// --- watches and reports ----------------------------------------------------------------------

// Leaving transfer mode shows what was held back and wakes the pump for what came meanwhile.
void TelnetSocket::setPaused(bool on) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        paused_ = on;
        const bool live = !on && connected_;
        if (readWatch_ >= 0) ctx_.loop.setWatchEnabled(readWatch_, live);
        if (writeWatch_ >= 0) ctx_.loop.setWatchEnabled(writeWatch_, live && !send_.empty());
    }
    if (on) return;
    show(heldText_);
    heldText_.clear();
}

void TelnetSocket::enableWatch(int watch, bool on) {
    std::lock_guard<std::mutex> lock(lock_);
    if (watch >= 0 && !(on && (paused_ || !connected_))) ctx_.loop.setWatchEnabled(watch, on);
}

void TelnetSocket::removeWatches() {
    std::lock_guard<std::mutex> lock(lock_);
    for (int* watch : {&readWatch_, &writeWatch_, &connectWatch_}) {
        if (*watch >= 0) ctx_.loop.removeWatch(*watch);
        *watch = -1;
    }
    if (connectTimer_ >= 0) ctx_.loop.removeTimer(connectTimer_);
    connectTimer_ = -1;
}

// Posted: the box may be due on a transfer thread or in the middle of a read by the pump.
void TelnetSocket::reportError(int number) {
    ctx_.loop.post([&prompt = ctx_.prompt, text = networkErrorText(number)] {
        prompt.tell(text, PromptIcon::Error);
    });
}

// Wakes the pump of the user-interface thread, which reads the ring; not in transfer mode.
void TelnetSocket::kick() {
    if (!paused_) ctx_.loop.kickIdle();
}

void TelnetSocket::notify(LinkActivity what) {
    if (activity_) activity_(what);
}
