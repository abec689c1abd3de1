// The Kermit sender: Send-Init, then for each file its header, its data and its end, and the
// break at the end of the batch.
#include "xfer/GFKermit.h"

namespace {

// File bytes read ahead of the encoder, so that runs are seen whole.
constexpr size_t kReadAhead = 4096;

}  // namespace

void GFKermit::runSender() {
    if (Init()) {
        message("Sending S-init packet");
        if (exchange('S', initData())) {
            readParams(false);
            sendFiles();
        }
    }
    finish();
}

void GFKermit::sendFiles() {
    int sent = 0;
    while (!AbortCheck(kAbortCheck1) && fileList_->TakeNext()) {
        if (!sendOneFile()) return;
        ++sent;
    }
    if (lastError() != 0 || !exchange('B', "")) return;
    if (sent == 0) setError(GF_NOTHING_TO_SEND);
}

int GFKermit::dataCapacity() const {
    return theirs_.maxl - 2 - gfkermit::checkLength(check_);
}

bool GFKermit::sendOneFile() {
    message("Sending file %s", fileList_->Path().c_str());
    if (!OpenFile()) return false;
    const std::string name = monitor_->AnnouncedName(path_);
    std::string data;
    gfkermit::encode(out_, reinterpret_cast<const uint8_t*>(name.data()),
                     static_cast<int>(name.size()), dataCapacity(), data);
    if (!exchange('F', data)) return false;
    ahead_.clear();
    aheadPos_ = 0;
    while (fillData(data)) {
        if (!exchange('D', data)) return false;
    }
    if (lastError() != 0) return false;
    CloseFile(0);
    message("Sending end of file packet");
    if (!exchange('Z', "")) return false;
    monitor_->OnSuccess();
    return true;
}

// Encodes the next packet's worth of the file into data; false at the end of the file.
bool GFKermit::fillData(std::string& data) {
    data.clear();
    if (ahead_.size() - aheadPos_ < kReadAhead / 2) {
        ahead_.erase(0, aheadPos_);
        aheadPos_ = 0;
        const size_t had = ahead_.size();
        ahead_.resize(had + kReadAhead);
        const size_t got = std::fread(ahead_.data() + had, 1, kReadAhead, file_);
        ahead_.resize(had + got);
        if (got == 0 && std::ferror(file_)) {
            fail(GF_OPEN_FAILED, "Error reading file");
            return false;
        }
    }
    const int taken =
        gfkermit::encode(out_, reinterpret_cast<const uint8_t*>(ahead_.data()) + aheadPos_,
                         static_cast<int>(ahead_.size() - aheadPos_), dataCapacity(), data);
    aheadPos_ += taken;
    monitor_->AddPos(taken);
    monitor_->SetBlockSize(static_cast<int>(data.size()));
    return taken > 0;
}

// Sends a packet until the other side acknowledges it. Before a packet goes again, whatever
// answers are waiting are dropped: they answer earlier copies, and left there they would
// each be taken for the answer to a later packet.
bool GFKermit::exchange(int type, const std::string& data) {
    monitor_->SetBlockErrorCount(0);
    for (bool again = false;; again = true) {
        if (again) link_->PurgeInput();
        if (!sendPacket(type, seq(), data)) return false;
        const int answer = readPacket();
        if (answer == 'Y' && rxSeq_ == seq()) {
            nextPacket();
            return true;
        }
        switch (answer) {
            case 'Y':
                message("Received a bad ACK packet number");
                break;
            case 'N':
                message("Received a Nak packet");
                break;
            case kTimeout:
                message("Timed out waiting for packet");
                break;
            case 'E':
                fail(GF_REMOTE_CANCEL, "Aborted from remote end");
                return false;
            case kStopped:
                return false;
            default:
                message("Funny packet");
        }
        if (!retry()) return false;
    }
}
