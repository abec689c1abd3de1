// YMODEM batches: the header blocks around XMODEM file bodies.
#include "xfer/GFYmodem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "xfer/GFFileNames.h"

namespace {

constexpr int kMaxBlockErrors = 10;

// Fills block with the header block of a file (name without its path) and returns its size:
// 128 bytes, or 1024 when the text does not fit in 128.
int formatHeaderBlock(uint8_t* block, const std::string& name, unsigned long length,
                      long modified) {
    char numbers[48];
    const int numbersLength =
        std::snprintf(numbers, sizeof numbers, "%lu %lo 0", length, std::max(modified, 0L));
    // The name, its 0 byte, the numbers and a 0 byte must all fit.
    const size_t nameLength = std::min(name.size(), size_t{1024 - 2} - numbersLength);
    const int size = nameLength + 1 + numbersLength < 128 ? 128 : 1024;
    std::memset(block, 0, size);
    std::memcpy(block, name.data(), nameLength);
    std::memcpy(block + nameLength + 1, numbers, numbersLength);
    return size;
}

}  // namespace

int GFYmodem::SendFile(const char* files) {
    monitor_->Initialize(1);
    crcMode_ = 1;
    fileList_ = sendList_.empty() ? std::make_unique<GFFileList>(files)
                                  : std::make_unique<GFFileList>(sendList_);
    monitor_->SetTotalInfo(fileList_->Remaining(), fileList_->RemainingBytes());
    link_->PurgeInput();
    sendBatch();
    Cleanup();
    // A batch that ends without a file is no success.
    if (lastError() == 0 && monitor_->GetFileCount() == 0) setError(GF_NOTHING_TO_SEND);
    fileList_.reset();
    return lastError();
}

void GFYmodem::sendBatch() {
    do {
        if (!Init()) {
            message("Failed first initialization in Ymodem");
            return;
        }
        monitor_->SetPacketNumber(0);
        monitor_->SetBlockNumber(0);
        monitor_->SetBlockErrorCount(0);
        if (!WaitForStart()) {
            message("Failed to get first NAK from Ymodem");
            return;
        }
        const bool another = fileList_->TakeNext();
        if (another) {
            monitor_->SetFileName(fileList_->Path().c_str());
            monitor_->SetFileLength(fileList_->Length());
            const std::string name = monitor_->AnnouncedName(fileList_->Path());
            message("Stripped name: %s", name.c_str());
            monitor_->SetBlockSize(
                formatHeaderBlock(buffer_.data(), name, fileList_->Length(), fileList_->Time()));
        } else {
            monitor_->SetBlockSize(128);
            std::memset(buffer_.data(), 0, 128);
        }
        if (!sendHeaderBlock() || !another) return;
        message("Launching XMODEM transfer from Ymodem");
        SendBody(true);
    } while (lastError() == 0);
}

bool GFYmodem::sendHeaderBlock() {
    for (;;) {
        if (!SendBlock()) {
            message("Failed sending file name block");
        } else if (WaitForAck(false)) {
            return true;
        } else {
            message("Failed to get ack for filename");
        }
        if (lastError()) return false;
        if (!countBlockError(GF_TOO_MANY_ERRORS, kMaxBlockErrors)) return false;
    }
}

int GFYmodem::ReceiveFile(const char* /*target*/) {
    monitor_->Initialize(0);
    crcMode_ = 1;
    link_->PurgeInput();
    receiveBatch();
    Cleanup();
    return lastError();
}

void GFYmodem::receiveBatch() {
    for (;;) {
        monitor_->SetFileLength(0);
        if (!Init() || !receiveHeaderBlock() || !ReceiveBody()) return;
    }
}

bool GFYmodem::receiveHeaderBlock() {
    monitor_->SetBlockNumber(0);
    monitor_->SetBlockErrorCount(0);
    if (!SendStartByte()) return false;
    for (;;) {
        const BlockResult r = ReceiveBlock();
        if (r == kGoodBlock) return acceptHeaderBlock();
        // Our answer to the last file's EOT was lost and the sender repeats it: answer again,
        // and ask for the header block once more.
        if (r != kEndOfFile || monitor_->GetFileCount() == 0) return false;
        message("Repeated end of file");
        if (!sendReply(kAck) || !SendStartByte()) return false;
    }
}

// The name is the bytes before the block's first 0 byte; a block without one is refused. An
// empty name ends the batch.
bool GFYmodem::acceptHeaderBlock() {
    GFWireFileInfo info = gfParseFileInfo(buffer_.data(), monitor_->GetBlockSize());
    if (!info.terminated) {
        message("File name block without an end");
        setError(GF_OPEN_FAILED);
        return false;
    }
    if (!info.wordsEnded) {
        // The text filled the block to its last byte: its last word may be cut short, and a
        // length cut short would cut the file.
        message("File information cut short; length unknown");
        info.length = 0;
        info.modified = -1;
    }
    if (info.name.empty()) {
        message("End of batch");
        sendReply(kAck);
        return false;
    }
    const std::string name = gfReceivedFileName(info.name);
    if (name.empty()) {
        openFailed(info.name, true);
        return false;
    }
    if (!sendReply(kAck)) return false;
    monitor_->SetFileName(name.c_str());
    message("Stripped name: %s", name.c_str());
    monitor_->SetFileLength(info.length);
    monitor_->SetFileTime(info.modified);
    return true;
}
