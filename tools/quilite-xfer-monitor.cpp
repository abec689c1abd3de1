#include "tools/quilite-xfer-monitor.h"

#include <unistd.h>

#include <cstdio>

#include "xfer/GFErrors.h"

std::atomic<bool> ConsoleMonitor::interrupted{false};

ConsoleMonitor::ConsoleMonitor(std::string folder, int progressFd, Clock& clock, int64_t deadlineMs)
    : folder_(std::move(folder)),
      progressFd_(progressFd),
      clock_(clock),
      deadlineMs_(deadlineMs),
      startMs_(clock.nowMs()) {}

ConsoleMonitor::~ConsoleMonitor() {
    if (log_) std::fclose(log_);
}

bool ConsoleMonitor::LogTo(const std::string& path) {
    log_ = std::fopen(path.c_str(), "w");
    return log_ != nullptr;
}

void ConsoleMonitor::TransferMessage(char* text) {
    if (log_) std::fprintf(log_, "%9.3f %s\n", (clock_.nowMs() - startMs_) / 1000.0, text);
}

void ConsoleMonitor::SetFileName(const char* name) {
    if (GetSending() || !name || name[0] == '/') {
        GFMonitor::SetFileName(name);
    } else {
        GFMonitor::SetFileName((folder_ + "/" + name).c_str());
    }
    fileStartMs_ = clock_.nowMs();
    fileStartPos_ = 0;
}

int ConsoleMonitor::TransferAbort() {
    if (interrupted) return GF_USER_ABORT;
    if (deadlineMs_ > 0 && clock_.nowMs() >= deadlineMs_) return GF_NO_ANSWER;
    return 0;
}

void ConsoleMonitor::OnRecovery() {
    GFMonitor::OnRecovery();
    fileStartPos_ = GetPos();
}

void ConsoleMonitor::SetPos(unsigned long pos) {
    GFMonitor::SetPos(pos);
    showProgress(false);
}

void ConsoleMonitor::OnCloseFile(int skipped) {
    if (!skipped) ++filesClosed_;
    showProgress(true);
}

void ConsoleMonitor::showProgress(bool force) {
    if (progressFd_ < 0) return;
    const int64_t now = clock_.nowMs();
    if (!force && now - lastShownMs_ < 200) return;
    lastShownMs_ = now;
    std::string name = GetFileName();
    size_t cut = name.rfind('/');
    if (cut != std::string::npos) name = name.substr(cut + 1);
    if (name.size() > 32) name = name.substr(0, 29) + "...";
    const double seconds = (now - fileStartMs_) / 1000.0;
    const double done = static_cast<double>(GetPos() - std::min(GetPos(), fileStartPos_));
    const double rate = seconds > 0 ? done / 1024.0 / seconds : 0;
    char line[160];
    int n = std::snprintf(line, sizeof line, "\r%-32s %11lu/%-11lu %9.1f KiB/s %3d errors",
                          name.c_str(), GetPos(), GetFileLength(), rate, GetErrors());
    if (n > 0 && write(progressFd_, line, std::min<size_t>(n, sizeof line - 1)) < 0) return;
    shown_ = true;
}

void ConsoleMonitor::Finish() {
    if (progressFd_ >= 0 && shown_ && write(progressFd_, "\n", 1) < 0) return;
}
