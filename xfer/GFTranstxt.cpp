#include "xfer/GFTranstxt.h"

#include <algorithm>

namespace {

constexpr int kCr = 13;
constexpr int kLongestLine = 82;
constexpr int kPauseStepMs = 10;
constexpr int kIdleSleepMs = 100;

}  // namespace

// The ASCII engine has no check method of its own: the monitor's stays as it was.
GFTranstxt::GFTranstxt(GFComLink* link, GFMonitor* monitor)
    : GFProtocol(link, monitor, GF_TYPE_ASCII, monitor ? monitor->GetCheck() : GF_CHECK_KERMIT,
                 1024) {
    // A link without a carrier signal (a direct cable) must not end the transfer.
    if (!link_->IsOnline()) carrierCheck_ = false;
}

int GFTranstxt::SendFile(const char* files) {
    monitor_->Initialize(1);
    buildFileList(files);
    if (Init()) runSender();
    fileList_.reset();
    return lastError();
}

int GFTranstxt::ReceiveFile(const char* path) {
    idleTimeoutMs_ = 10000;
    monitor_->Initialize(0);
    monitor_->SetFileName(path ? path : "");
    if (Init()) runReceiver();
    return lastError();
}

void GFTranstxt::runSender() {
    if (!fileList_->TakeNext()) {
        Cleanup();
        setError(GF_NOTHING_TO_SEND);
        return;
    }
    if (!OpenFile()) return;
    for (;;) {
        int length = readLine();
        while (length == 0) {
            CloseFile(0);
            if (!fileList_->TakeNext() || !OpenFile()) {
                Cleanup();
                return;
            }
            length = readLine();
        }
        if (!sendLine(length) || !pauseAfterLine()) break;
    }
    Cleanup();
}

int GFTranstxt::readLine() {
    int length = 0;
    while (length < kLongestLine) {
        const int c = std::fgetc(file_);
        if (c == EOF) break;
        buffer_[length++] = static_cast<unsigned char>(c);
        monitor_->AddPos(1);
        if (c == kCr) break;
    }
    monitor_->SetBlockSize(length);
    return length;
}

bool GFTranstxt::sendLine(int length) {
    for (int i = 0; i < length; ++i) {
        int r = link_->WriteByte(buffer_[i]);
        while (r == GF_OUTPUT_FULL) {
            if (!showInput()) return false;
            link_->WaitReady(2, 1);
            r = link_->WriteByte(buffer_[i]);
        }
        if (r != 0) {
            setError(GF_WRITE_CHAR_TIMEOUT);
            return false;
        }
    }
    return showInput();
}

bool GFTranstxt::showInput() {
    if (AbortCheck(kAbortCheck1)) return false;
    while (link_->InputCount() > 0) {
        const int c = link_->ReadByte();
        if (c < 0) break;
        monitor_->AsciiPrinter(static_cast<char>(c));
    }
    return true;
}

bool GFTranstxt::pauseAfterLine() {
    const int64_t start = clock_->nowMs();
    for (int64_t left = linePauseMs_; left > 0; left = start + linePauseMs_ - clock_->nowMs()) {
        if (AbortCheck(kAbortCheck1)) return false;
        clock_->sleepMs(static_cast<int>(std::min<int64_t>(left, kPauseStepMs)));
    }
    return !AbortCheck(kAbortCheck1);
}

// Captures until the idle time-out. Quiet after some bytes is the normal end of a capture;
// quiet from the start means nothing came at all.
void GFTranstxt::runReceiver() {
    if (!OpenFile()) return;
    int64_t lastInput = clock_->nowMs();
    for (;;) {
        if (link_->InputCount() > 0) {
            if (!takeInput()) break;
            lastInput = clock_->nowMs();
            continue;
        }
        if (AbortCheck(kAbortCheck1)) break;
        if (idleTimeoutMs_ >= 0 && clock_->nowMs() - lastInput >= idleTimeoutMs_) {
            if (monitor_->GetPos() == 0) setError(GF_NO_ANSWER);
            break;
        }
        if (!link_->WaitReady(1, 1)) clock_->sleepMs(kIdleSleepMs);
    }
    Cleanup();
}

bool GFTranstxt::takeInput() {
    while (link_->InputCount() > 0) {
        const int c = link_->ReadByte();
        if (c < 0) {
            setError(GF_ASCII_READ_FAILED);
            return false;
        }
        monitor_->AsciiPrinter(static_cast<char>(c));
        monitor_->AddPos(1);
        if (monitor_->GetPos() % 256 == 0 && AbortCheck(kAbortCheck1)) return false;
        if (std::fputc(c, file_) == EOF) {
            setError(GF_WRITE_FAILED);
            return false;
        }
    }
    return true;
}
