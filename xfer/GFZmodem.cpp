#include "xfer/GFZmodem.h"

#include <sys/stat.h>
#include <unistd.h>

GFZmodem::GFZmodem(GFComLink* link, GFMonitor* monitor)
    : GFProtocol(link, monitor, GF_TYPE_ZMODEM, GF_CHECK_CRC16, 1024) {
    escapeControls_ = transferModeAnswer_ == 1;
    // A link without a carrier signal (a direct cable) must not end the transfer.
    if (!link_->IsOnline()) carrierCheck_ = false;
}

// Control bytes are escaped only when the link or the receiver asks for it: escaped data is
// full of byte pairs that a receiver's header search, reading 7 bits, takes for the start of a
// header, and each of those counts against it while it skips the stream that follows a ZRPOS.
int GFZmodem::SendFile(const char* files) {
    tx_.ring.assign(kRingSize, 0);
    monitor_->Initialize(1);
    buildFileList(files);
    monitor_->SetTotalInfo(fileList_->Remaining(), fileList_->RemainingBytes());
    purgeInput();
    runSender();
    fileList_.reset();
    tx_.ring.clear();
    return lastError();
}

int GFZmodem::ReceiveFile(const char* /*target*/) {
    monitor_->Initialize(0);
    purgeInput();
    runReceiver();
    return lastError();
}

int GFZmodem::OpenTransferFile() {
    monitor_->SetPos(0);
    if (monitor_->GetSending()) {
        path_ = fileList_->Path();
        monitor_->SetFileName(path_.c_str());
        if (!openStream("rb", false)) return 0;
    } else {
        path_ = monitor_->GetFileName();
        message("Opening file %s", path_.c_str());
        const char* mode = "wb";
        struct stat st {};
        if (stat(path_.c_str(), &st) == 0 && access(path_.c_str(), W_OK) == 0) {
            const auto size = static_cast<unsigned long>(st.st_size);
            if (size != 0 && size <= monitor_->GetFileLength()) {
                monitor_->SetPos(size);
                message("Resuming at offset %ld", static_cast<long>(size));
                mode = "r+b";
            }
        }
        if (!openStream(mode, true)) return 0;
        if (monitor_->GetPos() != 0) std::fseek(file_, 0, SEEK_END);
    }
    monitor_->OnRecovery();
    return fileOpened();
}
