// XMODEM: the two entry points and what sender and receiver share.
#include "xfer/GFXmodem.h"

#include "xfer/GFCrc.h"

namespace {

constexpr int kQuietMs = 1000;

}  // namespace

GFXmodem::GFXmodem(GFComLink* link, GFMonitor* monitor, int type)
    : GFProtocol(link, monitor, type, GF_CHECK_CRC16, 1024), frame_(3 + 1024 + 2) {}

int GFXmodem::Init() {
    lastHeaderByte_ = -1;
    return GFProtocol::Init();
}

int GFXmodem::SendFile(const char* files) {
    monitor_->Initialize(1);
    crcMode_ = 1;
    fileList_ = sendList_.empty() ? std::make_unique<GFFileList>(files)
                                  : std::make_unique<GFFileList>(sendList_);
    if (!fileList_->TakeNext()) {
        Cleanup();
        setError(GF_NOTHING_TO_SEND);
    } else {
        link_->PurgeInput();
        if (Init()) SendBody(false);
        Cleanup();
    }
    fileList_.reset();
    return lastError();
}

int GFXmodem::ReceiveFile(const char* path) {
    monitor_->Initialize(0);
    monitor_->SetFileName(path ? path : "");
    crcMode_ = 1;
    link_->PurgeInput();
    if (Init()) ReceiveBody();
    Cleanup();
    return lastError();
}

int GFXmodem::readAnswer(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 1000) {
        const int c = ReadChar(1000);
        if (c >= 0) return c;
        if (AbortCheck(kAbortCheck1)) return lastError();
    }
    return GF_READ_TIMEOUT;
}

void GFXmodem::purge() {
    do {
        link_->PurgeInput();
    } while (ReadChar(kQuietMs) >= 0 && !AbortCheck(kAbortCheck1));
}

unsigned GFXmodem::blockCheck(const uint8_t* data, int n) const {
    if (crcMode_) return gfCrc16(0, data, n);
    unsigned sum = 0;
    for (int i = 0; i < n; ++i)
        sum += data[i];
    return sum & 0xFF;
}
