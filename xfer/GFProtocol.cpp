#include "xfer/GFProtocol.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "xfer/GFNewlines.h"
#include "xfer/GFUserPrompt.h"

namespace {

constexpr int kCan = 24;
constexpr int kBackspace = 8;
constexpr int kIdleSleepMs = 100;
constexpr size_t kMessageMax = 83;
constexpr size_t kFileBufferSize = 4096;

}  // namespace

GFProtocol::GFProtocol(GFComLink* link, GFMonitor* monitor, int type, int check, int bufferSize)
    : link_(link), monitor_(monitor) {
    transferModeAnswer_ = link_->SetTransferMode(1);
    if (!monitor_) {
        monitor_ = new GFMonitor;
        ownsMonitor_ = true;
    }
    monitor_->SetTransferType(type);
    monitor_->SetCheck(check);
    buffer_.resize(bufferSize);
}

GFProtocol::~GFProtocol() {
    if (file_) std::fclose(file_);
    if (ownsMonitor_) delete monitor_;
    link_->SetTransferMode(0);
}

int GFProtocol::Init() {
    cleanupDone_ = false;
    fileComplete_ = false;
    if (buffer_.empty()) {
        message("Failed to allocate XFER buffer(s)");
        setError(GF_NO_BUFFER);
        return 0;
    }
    return 1;
}

int GFProtocol::setError(int code) {
    if (lastError() == 0) monitor_->SetLastError(code);
    return lastError();
}

bool GFProtocol::countBlockError(int code, int limit) {
    monitor_->GetErrors() += 1;
    if (++monitor_->GetBlockErrorCount() < limit) return true;
    setError(code);
    return false;
}

void GFProtocol::message(const char* format, ...) {
    char text[kMessageMax + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    monitor_->TransferMessage(text);
}

// The link is asked to wait before it is read: its wait returns at once for a byte it holds,
// and an answer still on its way costs the line no empty read before the wait.
int GFProtocol::ReadChar(int timeoutMs) {
    const int64_t start = clock_->nowMs();
    for (int64_t before = start;; before = clock_->nowMs()) {
        const bool ready = link_->WaitReady(1, 1) != 0;
        const int c = link_->ReadByte();
        if (c >= 0) return c;
        const int64_t now = clock_->nowMs();
        if (now - start > timeoutMs) return GF_READ_TIMEOUT;
        // A link whose wait blocked has waited already: a byte that came just after it gave
        // up is read at once rather than after another sleep.
        if (!ready && now - before < kIdleSleepMs) clock_->sleepMs(kIdleSleepMs);
    }
}

bool GFProtocol::WaitDrain(bool bounded) {
    if (link_->OutputCount() <= 0) return true;
    link_->SetDraining(1);
    const int64_t start = clock_->nowMs();
    bool drained = true;
    do {
        if (link_->WaitReady(2, 1)) {
            link_->SendPending();
        } else {
            clock_->sleepMs(kIdleSleepMs);
        }
        if (bounded ? clock_->nowMs() - start > 1500 : AbortCheck(kAbortCheck2)) {
            drained = false;
            break;
        }
    } while (link_->OutputCount() > 0);
    link_->SetDraining(0);
    return drained;
}

int GFProtocol::WriteChar(int c) {
    if (int e = lastError()) return e;
    if (carrierLost()) return setError(GF_CARRIER_LOST_WRITING);
    int r = link_->WriteByte(c);
    return r == 0 ? 0 : writeCharRefused(c, r);
}

int GFProtocol::writeBlock(const unsigned char* data, int n) {
    if (int e = lastError()) return e;
    if (carrierLost()) return setError(GF_CARRIER_LOST_WRITING);
    int done = n > 0 ? link_->Write(data, n) : 0;
    for (int i = std::max(done, 0); i < n; ++i) {
        if (int r = WriteChar(data[i])) return r;
    }
    return 0;
}

// The slow path of WriteChar: the link refused the byte. A full queue is retried until the
// deadline, anything else is a lost link.
int GFProtocol::writeCharRefused(int c, int result) {
    const int64_t deadline = clock_->nowMs() + 80000;
    int countdown = 25;
    for (;;) {
        if (result != GF_OUTPUT_FULL) return setError(GF_CARRIER_LOST_WRITING);
        const int64_t left = deadline - clock_->nowMs();
        if (AbortCheck(kAbortCheck2)) return lastError();
        link_->WaitReady(2, 1);
        if (left <= 0) {
            message("Timeout error sending buffer");
            setError(GF_WRITE_CHAR_TIMEOUT);
            return GF_OUTPUT_FULL;
        }
        if (left / 1000 <= countdown) {
            message("%d sec left to WriteChar", static_cast<int>(left / 1000));
            countdown -= 5;
        }
        if (carrierLost()) return setError(GF_CARRIER_LOST_WRITING);
        result = link_->WriteByte(c);
        if (result == 0) return 0;
    }
}

int GFProtocol::WriteBuffer(const unsigned char* data, int n) {
    if (int e = lastError()) return e;
    if (AbortCheck(kAbortCheck2)) return lastError();
    const int64_t deadline = clock_->nowMs() + 60000;
    int countdown = 55;
    int sent = 0;
    for (;;) {
        const int before = sent;
        int r = 0;
        while (sent < n && (r = link_->WriteByte(data[sent])) == 0)
            ++sent;
        if (sent == n) return 0;
        if (r != GF_OUTPUT_FULL) return setError(GF_CARRIER_LOST_WRITING);
        const int64_t left = deadline - clock_->nowMs();
        if (sent == before && left <= 0) {
            message("Timeout error sending buffer");
            return setError(GF_WRITE_BUFFER_TIMEOUT);
        }
        if (AbortCheck(kAbortCheck2)) return lastError();
        link_->WaitReady(2, 1);
        if (left / 1000 <= countdown) {
            message("%d sec to complete WriteBuffer", static_cast<int>(left / 1000));
            countdown -= 5;
        }
    }
}

// Used for the abort string only, so it goes out even after a failure has been recorded; on
// a link without carrier checking it is written whatever the link says of its carrier.
bool GFProtocol::WriteString(const char* text) {
    const size_t n = std::strlen(text);
    const int64_t start = clock_->nowMs();
    size_t i = 0;
    link_->BeginHold();
    while (i < n) {
        if (clock_->nowMs() - start > 5000) {
            message("WriteString: TimeOut");
            link_->EndHold();
            return false;
        }
        if (carrierLost()) {
            link_->EndHold();
            return false;
        }
        if (link_->WriteByte(static_cast<unsigned char>(text[i])) == 0) {
            ++i;
            continue;
        }
        link_->EndHold();
        if (!link_->WaitReady(2, 1)) clock_->sleepMs(kIdleSleepMs);
        link_->BeginHold();
    }
    link_->EndHold();
    return true;
}

void GFProtocol::SendAbort() {
    link_->PurgeOutput();
    message("Sending Abort String...");
    char abortString[21];
    std::memset(abortString, kCan, 10);
    std::memset(abortString + 10, kBackspace, 10);
    abortString[20] = 0;
    if (!WriteString(abortString)) {
        message("Sending CAN: failed");
        return;
    }
    if (!WaitDrain(true)) message("Flushing FALSE");
    message("Wait for CANs");
    const int64_t start = clock_->nowMs();
    int cans = 0;
    while (clock_->nowMs() - start <= 3500) {
        int c = link_->ReadByte();
        if (c == GF_READ_TIMEOUT || c < 0) {
            if (!link_->WaitReady(1, 1)) clock_->sleepMs(kIdleSleepMs);
            if (!link_->IsOnline()) break;
            continue;
        }
        cans = c == kCan ? cans + 1 : 0;
        if (cans >= 3) return;
    }
    message("CAN Wait: TimeOut");
}

void GFProtocol::Cleanup() {
    CloseFile(0);
    if (lastError() == 0) return;
    message("Cleanup");
    if (cleanupDone_) return;
    cleanupDone_ = true;
    if (carrierLost()) {
        link_->PurgeInput();
        return;
    }
    const int type = monitor_->GetTransferType();
    if (type > GF_TYPE_YMODEM_G && (buffer_.empty() || type != GF_TYPE_ZMODEM)) return;
    SendAbort();
}

bool GFProtocol::AbortCheck(int variant) {
    if (variant == kAbortCheck1) monitor_->UserMonitor(lastError());
    if (lastError() < 0) {
        Cleanup();
        return true;
    }
    int r = monitor_->TransferAbort();
    if (r == 0) {
        if (!carrierCheck_ || link_->IsOnline()) return false;
        r = GF_CARRIER_LOST;
    }
    setError(r < 0 ? r : GF_USER_ABORT);
    message(variant == kAbortCheck1 ? "Transfer aborted..." : "Transfer aborted2...");
    Cleanup();
    return true;
}

void GFProtocol::buildFileList(const char* files) {
    fileList_ = sendList_.empty() ? std::make_unique<GFFileList>(files)
                                  : std::make_unique<GFFileList>(sendList_);
}

void GFProtocol::openFailed(const std::string& path, bool forWriting) {
    setError(GF_OPEN_FAILED);
    message("Failed to open file");
    if (prompt_) prompt_->FileOpenFailed(path, forWriting, GFOpenFailureText(path, forWriting));
    Cleanup();
}

bool GFProtocol::openStream(const char* mode, bool forWriting) {
    fileComplete_ = false;
    file_ = std::fopen(path_.c_str(), mode);
    if (!file_) {
        openFailed(path_, forWriting);
        return false;
    }
    std::setvbuf(file_, nullptr, _IOFBF, kFileBufferSize);
    return true;
}

bool GFProtocol::fileOpened() {
    monitor_->NextFile();
    if (monitor_->GetSending()) {
        monitor_->SetFileLength(fileList_->Length());
        monitor_->SetFileTime(fileList_->Time());
    }
    return !AbortCheck(kAbortCheck1);
}

bool GFProtocol::OpenFile() {
    monitor_->SetPos(0);
    const bool sending = monitor_->GetSending();
    if (sending) {
        path_ = fileList_->Path();
        monitor_->SetFileName(path_.c_str());
    } else {
        path_ = monitor_->GetFileName();
        message("Opening file %s", path_.c_str());
    }
    return openStream(sending ? "rb" : "wb", !sending) && fileOpened();
}

void GFProtocol::CloseFile(int skipped) {
    if (file_) {
        // A failed final flush means the file on disk is short.
        if (std::fclose(file_) != 0) setError(GF_WRITE_FAILED);
        file_ = nullptr;
        monitor_->OnCloseFile(skipped);
        if (textConversion_ && fileComplete_ && !path_.empty()) gfConvertFileNewlines(path_);
        if (!monitor_->GetSending() && !fileComplete_ && !keepsPartialFiles() && !path_.empty()) {
            message("Removing incomplete file %s", path_.c_str());
            std::remove(path_.c_str());
        }
    }
    path_.clear();
}

int GFProtocol::WriteReceivedBlock(const unsigned char* data, int n) {
    if (!file_) return n;
    return std::fwrite(data, 1, n, file_) == static_cast<size_t>(n) ? n : 0;
}
