#include "link/TransferProgress.h"

#include <algorithm>
#include <cstdio>

namespace {

uint64_t ratePerSecond(uint64_t bytes, int64_t ms) {
    return ms > 0 ? bytes * 1000 / ms : 0;
}

uint64_t minus(uint64_t a, uint64_t b) {
    return a > b ? a - b : 0;
}

}  // namespace

TransferFigures TransferProgress::Update(const TransferSnapshot& now, int64_t nowMs) {
    if (now.fileName != file_ || now.position < fileStartPos_) {
        file_ = now.fileName;
        fileStartMs_ = nowMs;
        fileStartPos_ = now.position;
    }
    TransferFigures f;
    f.now = now;
    const int64_t elapsedMs = std::max<int64_t>(0, nowMs - startMs_);
    f.elapsedSeconds = elapsedMs / 1000;
    const uint64_t done = now.doneBefore + now.position;
    average_ = (average_ + 4 * ratePerSecond(minus(done, now.recovered), elapsedMs)) / 5;
    f.averageCps = average_;
    f.fileCps = ratePerSecond(minus(now.position, fileStartPos_), nowMs - fileStartMs_);
    const uint64_t total = std::max(now.totalBytes, now.doneBefore + now.length);
    f.remainingSeconds = average_ > 0 ? static_cast<int64_t>(minus(total, done) / average_) : 0;
    f.totalSeconds = f.remainingSeconds + f.elapsedSeconds;
    f.percent = now.length > 0
                    ? static_cast<int>(std::min<uint64_t>(100, now.position * 100 / now.length))
                    : 0;
    return f;
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string clockText(int64_t seconds) {
    seconds = std::max<int64_t>(0, seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string minimisedCaption(const TransferFigures& figures) {
    return std::to_string(figures.percent) + "%/" + fileNameOf(figures.now.fileName);
}
