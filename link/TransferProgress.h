#pragma once
// The figures a progress display shows for a running transfer: what the engine reported last
// (a snapshot taken under the monitor's lock) and the times and rates worked out from it on the
// user-interface side, at most once a second.
#include <cstdint>
#include <string>

struct TransferSnapshot {
    bool sending = false;
    std::string protocol;
    std::string fileName;  // the full path (UTF-8)
    uint64_t position = 0;
    uint64_t length = 0;
    int fileCount = 0;
    int totalFiles = 0;
    uint64_t totalBytes = 0;  // of every file, 0 when not announced
    uint64_t doneBefore = 0;  // bytes of the files finished before this one
    uint64_t recovered = 0;   // bytes a resumed file did not need to transfer
    int errors = 0;
};

struct TransferFigures {
    TransferSnapshot now;
    int64_t elapsedSeconds = 0;
    uint64_t averageCps = 0;  // the whole transfer, smoothed
    uint64_t fileCps = 0;     // the current file since it started
    int64_t remainingSeconds = 0;
    int64_t totalSeconds = 0;
    int percent = 0;  // of the current file, 0..100
};

class TransferProgress {
public:
    explicit TransferProgress(int64_t startMs) : startMs_(startMs), fileStartMs_(startMs) {}
    TransferFigures Update(const TransferSnapshot& now, int64_t nowMs);

private:
    int64_t startMs_;
    uint64_t average_ = 0;
    std::string file_;
    int64_t fileStartMs_;
    uint64_t fileStartPos_ = 0;
};

// The last part of a path: the file name a progress display shows.
std::string fileNameOf(const std::string& path);
// "%02d:%02d:%02d" of hours, minutes and seconds.
std::string clockText(int64_t seconds);
// A minimised window's caption: "%s/%s" with the progress ("37%") and the file's name.
std::string minimisedCaption(const TransferFigures& figures);
