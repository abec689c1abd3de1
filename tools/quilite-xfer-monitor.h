#pragma once
// The transfer monitor of quilite-xfer: puts received files in the download folder (an
// absolute name stays where it points), shows a one-line progress display on a terminal,
// keeps the engine's diagnostic lines in a log file when asked, and stops the transfer on a
// signal or when the run's time limit has passed.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Clock.h"
#include "xfer/GFMonitor.h"

class ConsoleMonitor : public GFMonitor {
public:
    // progressFd: where the progress line goes, or -1 for none. deadlineMs: a Clock time after
    // which the transfer stops, or 0 for no limit.
    ConsoleMonitor(std::string folder, int progressFd, Clock& clock, int64_t deadlineMs);
    ~ConsoleMonitor();

    // Writes each diagnostic line, with the seconds since the start, to path. False when the
    // file cannot be created.
    bool LogTo(const std::string& path);

    // Set from a signal handler: the next abort check stops the transfer.
    static std::atomic<bool> interrupted;

    void SetFileName(const char* name) override;
    int TransferAbort() override;
    void TransferMessage(char* text) override;
    void SetPos(unsigned long pos) override;
    void OnRecovery() override;
    void OnCloseFile(int skipped) override;
    // Ends the progress line.
    void Finish();
    // Files closed without being skipped.
    int FilesClosed() const { return filesClosed_; }

private:
    void showProgress(bool force);

    std::string folder_;
    int progressFd_;
    Clock& clock_;
    int64_t deadlineMs_;
    int64_t startMs_;
    FILE* log_ = nullptr;
    int64_t fileStartMs_ = 0;
    unsigned long fileStartPos_ = 0;
    int64_t lastShownMs_ = 0;
    bool shown_ = false;
    int filesClosed_ = 0;
};
