// The XMODEM receiver: one file's blocks, checked, acknowledged and written in order.
#include <algorithm>

#include "xfer/GFXmodem.h"

namespace {

constexpr int kFirstHeaderWaitMs = 5000;
constexpr int kHeaderWaitMs = 10000;
constexpr int kNumberWaitMs = 1000;
constexpr int kDataWaitMs = 4000;
constexpr int kCheckWaitMs = 1000;
// Header waits that fail on the first block before the receiver stops asking for CRC.
constexpr int kCrcAttempts = 3;
constexpr int kMaxBlockErrors = 10;

}  // namespace

bool GFXmodem::ReceiveBody() {
    monitor_->SetBlockNumber(1);
    monitor_->SetBlockErrorCount(0);
    if (!OpenFile() || !SendStartByte()) return false;
    for (;;) {
        const BlockResult r = ReceiveBlock();
        if (r == kEndOfFile) {
            if (!sendReply(kAck)) return false;
            message("End of file, cleaning up");
            fileComplete_ = true;
            Cleanup();
            return true;
        }
        if (r != kGoodBlock || !storeBlock()) return false;
    }
}

// The block is acknowledged before it is written, so that the sender reads its next block
// while this one goes to the disk.
bool GFXmodem::storeBlock() {
    int size = monitor_->GetBlockSize();
    const unsigned long pos = monitor_->GetPos(), length = monitor_->GetFileLength();
    if (lengthKnown() && length > 0 && pos + size > length) {
        size = static_cast<int>(length - std::min(pos, length));
    }
    if (!streaming() && !sendReply(kAck)) return false;
    if (WriteReceivedBlock(buffer_.data(), size) != size) {
        setError(GF_WRITE_FAILED);
        return false;
    }
    monitor_->AddPos(size);
    monitor_->SetBlockErrorCount(0);
    return true;
}

bool GFXmodem::SendStartByte() {
    int c = kNak;
    if (monitor_->GetBlockNumber() <= 1 && streaming()) {
        c = 'G';
    } else if (monitor_->GetBlockNumber() <= 1 && crcMode_) {
        c = 'C';
    }
    return sendReply(c);
}

bool GFXmodem::sendReply(int c) {
    if (WriteChar(c) != 0) {
        setError(c == kAck ? GF_ACK_FAILED : GF_NAK_FAILED);
        return false;
    }
    WaitDrain(false);
    return lastError() == 0;
}

GFXmodem::BlockResult GFXmodem::ReceiveBlock() {
    for (;;) {
        if (monitor_->GetBlockErrorCount() >= kMaxBlockErrors) {
            setError(GF_TOO_MANY_ERRORS);
            return kStopped;
        }
        if (AbortCheck(kAbortCheck1)) return kStopped;
        const int header = waitForHeader();
        if (header == kEot) return kEndOfFile;
        if ((header == kSoh || header == kStx) && readBlockBody(header)) return kGoodBlock;
        if (lastError()) return kStopped;
    }
}

// SOH, STX or EOT; anything else was an error, counted and answered with the start byte.
int GFXmodem::waitForHeader() {
    const int c = readAnswer(monitor_->GetBlockNumber() < 2 ? kFirstHeaderWaitMs : kHeaderWaitMs);
    if (lastError()) return c;
    const int previous = lastHeaderByte_;
    lastHeaderByte_ = c;
    if (c == kSoh || c == kStx || c == kEot) return c;
    if (c == kCan && previous == kCan) {
        message("Remote end sent cancel code");
        setError(GF_REMOTE_CANCEL);
        return c;
    }
    if (c >= 0 && c != kCan) purge();
    // Nothing at all while the first block is awaited: the sender may not have started yet.
    if (!countError(c == GF_READ_TIMEOUT && monitor_->GetBlockNumber() <= 1)) return c;
    if (monitor_->GetBlockErrorCount() >= kCrcAttempts && monitor_->GetBlockNumber() == 1 &&
        type() <= GF_TYPE_YMODEM && crcMode_) {
        message("Falling back to checksum mode");
        crcMode_ = 0;
        monitor_->SetCheck(GF_CHECK_SUM8);
    }
    SendStartByte();
    if (monitor_->GetBlockErrorCount() >= kMaxBlockErrors) setError(GF_NO_ANSWER);
    return c;
}

// The rest of a block after its header byte; true when it is the next block and whole.
bool GFXmodem::readBlockBody(int header) {
    const int size = header == kSoh ? 128 : 1024;
    monitor_->SetBlockSize(size);
    const int number = ReadChar(kNumberWaitMs);
    const int complement = number < 0 ? number : ReadChar(kNumberWaitMs);
    if (complement < 0 || (number ^ complement) != 0xFF) {
        message("Bad block number");
        rejectBlock();
        return false;
    }
    if (!readBytes(buffer_.data(), size, kDataWaitMs)) {
        message("Timeout reading block %d", number);
        rejectBlock();
        return false;
    }
    uint8_t check[2];
    if (!readBytes(check, crcMode_ ? 2 : 1, kCheckWaitMs)) {
        message("Checksum is dull");
        rejectBlock();
        return false;
    }
    const unsigned received = crcMode_ ? (check[0] << 8 | check[1]) : check[0];
    monitor_->SetPacketNumber(number);
    monitor_->SetBlockChecksum(received);
    const int expected = monitor_->GetBlockNumber() & 0xFF;
    if (number == ((expected - 1) & 0xFF)) {
        // Our acknowledgement was lost and the sender repeats the block we have: the protocol
        // expects this, so it is answered again and not counted as an error.
        message("Duplicate block %d", number);
        if (!streaming()) sendReply(kAck);
        return false;
    }
    if (number != expected) {
        message("Bad block number waiting for number %d", expected);
        if (countError()) sendReply(kNak);
        return false;
    }
    if (received != blockCheck(buffer_.data(), size)) {
        message("Bad checksum value on block number %d,%d", crcMode_, number);
        rejectBlock();
        return false;
    }
    message("Read %d byte block %d", size, number);
    monitor_->GetBlockNumber() += 1;
    return true;
}

bool GFXmodem::readBytes(uint8_t* data, int n, int timeoutMs) {
    int got = 0;
    while (got < n) {
        const int taken = link_->Read(data + got, n - got);
        if (taken > 0) {
            got += taken;
            continue;
        }
        const int c = ReadChar(timeoutMs);
        if (c < 0) return false;
        data[got++] = static_cast<uint8_t>(c);
    }
    return true;
}

// The rest of a damaged block may still be arriving: once the line is quiet the NAK cannot
// cross a retransmission that the purge would then throw away. A streamed transfer cannot be
// repaired and ends instead.
void GFXmodem::rejectBlock() {
    if (!countError()) return;
    purge();
    if (!lastError()) sendReply(kNak);
}

bool GFXmodem::countError(bool beforeStream) {
    monitor_->GetErrors() += 1;
    monitor_->GetBlockErrorCount() += 1;
    if (streaming() && !beforeStream) {
        message("Error while streaming");
        setError(GF_TOO_MANY_ERRORS);
        return false;
    }
    return true;
}
