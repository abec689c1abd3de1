#include "xfer/GFMonitor.h"

#include "xfer/GFFileNames.h"

GFMonitor::GFMonitor() : protocol_(ProtocolName(GF_TYPE_NONE)) {}

std::string GFMonitor::AnnouncedName(const std::string& path) {
    return gfSentFileName(path);
}

const char* GFMonitor::ProtocolName(int type) {
    static const char* const names[] = {"XMODEM", "XMODEM 1K", "YMODEM", "XMODEM 1KG", "YMODEM G",
                                        "KERMIT", "ASCII",     "ZMODEM", "<NONE>"};
    return type >= 0 && type <= GF_TYPE_NONE ? names[type] : names[GF_TYPE_NONE];
}

void GFMonitor::Initialize(int sending) {
    sending_ = sending;
    packetNumber_ = 0;
    lastError_ = 0;
    errors_ = 0;
    pos_ = 0;
    fileLength_ = 0;
    fileCount_ = 0;
    blockSize_ = 0;
    blockChecksum_ = 0;
    blockNumber_ = 0;
    blockErrorCount_ = 0;
    resumePos_ = 0;
    resumeTotal_ = 0;
    totalBytes_ = 0;
    fileTime_ = -1;
    totalFiles_ = 1;
    fileName_ = "<NONE>";
}

void GFMonitor::SetTransferType(int type) {
    transferType_ = type;
    protocol_ = ProtocolName(type);
    zmodem_ = type == GF_TYPE_ZMODEM;
}

void GFMonitor::SetFileLength(unsigned long n) {
    fileLength_ = n;
    if (totalBytes_ < n) totalBytes_ = n;
}

void GFMonitor::OnRecovery() {
    resumePos_ = pos_;
    resumeTotal_ += static_cast<long>(pos_);
}

void GFMonitor::SetTotalInfo(int files, unsigned long bytes) {
    totalFiles_ = files;
    totalBytes_ = bytes;
}
