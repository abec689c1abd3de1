#include "xfer/GFZimage.h"

int GFZimage::OpenTransferFile() {
    monitor_->SetPos(0);
    if (monitor_->GetSending()) return 0;
    path_ = monitor_->GetFileName();
    message("Opening Stream %s", path_.c_str());
    file_ = std::fopen(path_.c_str(), "wb");
    monitor_->NextFile();
    return 1;
}
