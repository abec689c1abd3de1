// The XMODEM sender: one file in blocks, each sent again until acknowledged, then EOT.
#include <algorithm>
#include <cstring>

#include "xfer/GFXmodem.h"

namespace {

constexpr int kStartAttempts = 10;
constexpr int kMaxBlockErrors = 10;
// More than this many bytes left: a 1024-byte block for the types that allow it.
constexpr unsigned long kSmallBlocksBelow = 896;

}  // namespace

bool GFXmodem::SendBody(bool emptyFileAllowed) {
    monitor_->SetBlockNumber(1);
    monitor_->SetBlockErrorCount(0);
    if (!OpenFile() || !WaitForStart()) return false;
    ReadNextBlock();
    if (monitor_->GetBlockSize() == 0 && !emptyFileAllowed) {
        message("Nothing to send in the first block");
        setError(GF_XMODEM_NO_FIRST_BLOCK);
        return false;
    }
    for (;;) {
        const int size = monitor_->GetBlockSize();
        if (size != 0) {
            if (!SendBlock()) return false;
        } else {
            message("File transmission complete");
            if (WriteChar(kEot) != 0) {
                setError(GF_EOT_FAILED);
                return false;
            }
        }
        if (WaitForAck(size != 0)) {
            monitor_->SetBlockErrorCount(0);
            if (size == 0) break;
            ReadNextBlock();
            continue;
        }
        if (lastError()) return false;
        if (!countBlockError(GF_TOO_MANY_ERRORS, kMaxBlockErrors)) {
            message("Exceeded maximum error count");
            return false;
        }
    }
    Cleanup();
    return true;
}

bool GFXmodem::WaitForStart() {
    for (int attempt = 1;; ++attempt) {
        const int c = readAnswer(kAnswerTimeoutMs);
        if (lastError()) return false;
        const int previous = lastHeaderByte_;
        lastHeaderByte_ = c;
        if (c == kNak) {
            if (crcMode_) message("Falling back to checksum mode");
            crcMode_ = 0;
            return true;
        }
        if (c == 'C' && crcMode_ && type() <= GF_TYPE_YMODEM) return true;
        if (c == 'G' && streaming()) return true;
        if (c == kCan && previous == kCan) {
            message("Remote end sent cancel code");
            setError(GF_REMOTE_CANCEL);
            return false;
        }
        if (c >= 0 && c != 'C' && c != 'G' && c != kCan) purge();
        monitor_->GetErrors() += 1;
        if (attempt >= kStartAttempts) {
            setError(GF_NO_ANSWER);
            return false;
        }
    }
}

void GFXmodem::ReadNextBlock() {
    const unsigned long length = monitor_->GetFileLength(), pos = monitor_->GetPos();
    const unsigned long left = length - std::min(pos, length);
    const int size = left > kSmallBlocksBelow && type() != GF_TYPE_XMODEM ? 1024 : 128;
    const size_t got = file_ ? std::fread(buffer_.data(), 1, size, file_) : 0;
    if (got == 0) {
        monitor_->SetBlockSize(0);
        return;
    }
    std::memset(buffer_.data() + got, 0, size - got);
    monitor_->SetBlockSize(size);
    monitor_->SetPacketNumber(monitor_->GetBlockNumber() & 0xFF);
    monitor_->GetBlockNumber() += 1;
    monitor_->AddPos(static_cast<int>(got));
}

bool GFXmodem::SendBlock() {
    const int size = monitor_->GetBlockSize();
    const unsigned number = monitor_->GetPacketNumber() & 0xFF;
    if (number != 0) {
        message("Sending block %d", monitor_->GetBlockNumber() - 1);
    } else {
        message(buffer_[0] ? "Sending YMODEM startup block" : "Sending YMODEM termination block");
    }
    uint8_t* out = frame_.data();
    int n = 0;
    out[n++] = size == 128 ? kSoh : kStx;
    out[n++] = static_cast<uint8_t>(number);
    out[n++] = static_cast<uint8_t>(0xFF - number);
    std::memcpy(out + n, buffer_.data(), size);
    n += size;
    const unsigned check = blockCheck(buffer_.data(), size);
    if (crcMode_) out[n++] = static_cast<uint8_t>(check >> 8);
    out[n++] = static_cast<uint8_t>(check);
    link_->BeginHold();
    const int r = writeBlock(out, n);
    link_->EndHold();
    if (r != 0) {
        message("Error sending block %u", number);
        setError(GF_WRITE_BUFFER_TIMEOUT);
        return false;
    }
    return true;
}

bool GFXmodem::WaitForAck(bool streamedBlock) {
    if (streamedBlock && streaming() && link_->InputCount() == 0) return true;
    // Whatever is still queued must reach the receiver before it can answer.
    WaitDrain(false);
    const bool stream = streaming();
    const int c = readAnswer(kAnswerTimeoutMs);
    if (lastError()) return false;
    const int previous = lastHeaderByte_;
    lastHeaderByte_ = c;
    if (c == kAck) return true;
    if ((c == kNak && stream) || (c == kCan && (stream || previous == kCan))) {
        message("Remote end sent cancel code");
        setError(GF_REMOTE_CANCEL);
    } else if (c >= 0 && c != kNak && c != kCan) {
        purge();
    }
    return false;
}
