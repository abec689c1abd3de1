#include "link/ConnectorDial.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <sstream>

namespace {

constexpr int kReport = 0x470;  // the connector's reports
constexpr int kAnswer = 0x4D2;  // our answer once it is connected
constexpr size_t kLongestLine = 256;
constexpr int kExitPollMs = 200;

}  // namespace

void ConnectorDial::start(const std::string& program, Done done) {
    stop();
    done_ = std::move(done);
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) {
        loop_.post([this] { finish(Outcome::Gone); });
        return;
    }
    fd_ = ends[0];
    fcntl(fd_, F_SETFD, FD_CLOEXEC);
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    pid_ = launcher_.start({program, "-p" + std::to_string(ends[1])}, "", true).pid;
    close(ends[1]);
    if (pid_ < 0) {
        loop_.post([this] { finish(Outcome::Gone); });
        return;
    }
    watch_ = loop_.addWatch(fd_, LoopEvent::Readable, [this](unsigned) { onReadable(); });
    // A connector whose children keep its end open still counts as gone once it exits.
    exitTimer_ = loop_.addTimer(kExitPollMs, true, [this] {
        if (launcher_.wait(pid_, 0) >= 0) {
            pid_ = -1;
            finish(Outcome::Gone);
        }
    });
}

void ConnectorDial::onReadable() {
    char buffer[512];
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
        finish(Outcome::Gone);
        return;
    }
    pending_.append(buffer, static_cast<size_t>(n));
    for (size_t end; done_ && (end = pending_.find('\n')) != std::string::npos;) {
        const std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        onLine(line);
    }
    if (pending_.size() > kLongestLine) pending_.clear();  // noise, not a report
}

void ConnectorDial::onLine(const std::string& line) {
    std::istringstream in(line);
    int message = 0, w = 0, l = 0;
    if (!(in >> message >> w >> l) || message != kReport || w != 1) return;
    if (l == 1) {
        const std::string answer = std::to_string(kAnswer) + " 0 0\n";
        [[maybe_unused]] ssize_t written = write(fd_, answer.data(), answer.size());
        finish(Outcome::Connected);
    } else if (l == 0 || l == 2) {
        finish(Outcome::Failed);
    }
}

void ConnectorDial::finish(Outcome outcome) {
    Done done = std::move(done_);
    done_ = nullptr;
    stop();
    if (done) done(outcome);
}

void ConnectorDial::stop() {
    if (watch_ >= 0) loop_.removeWatch(watch_);
    if (exitTimer_ >= 0) loop_.removeTimer(exitTimer_);
    if (fd_ >= 0) close(fd_);
    watch_ = exitTimer_ = fd_ = -1;
    pending_.clear();
}
