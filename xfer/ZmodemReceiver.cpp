// The ZMODEM batch receiver.
#include <sys/statvfs.h>

#include "xfer/GFFileNames.h"
#include "xfer/GFUserPrompt.h"
#include "xfer/GFZmodem.h"
#include "xfer/ZmodemDefs.h"

namespace {

enum FileRequest { kFileOffered, kBatchOver };
// How a run of data subpackets ended.
enum SubpacketsResult { kFrameEnded, kAskResend, kFileFailed };

std::string folderOf(const std::string& path) {
    size_t cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

}  // namespace

void GFZmodem::runReceiver() {
    monitor_->SetSending(0);
    rx_.skipNext = false;
    if (Init()) {
        try {
            while (GetFileName() == kFileOffered && receiveOfferedFile()) {
            }
        } catch (const UserCancel&) {
        }
    }
    link_->EndHold();
    Cleanup();
}

int GFZmodem::sendReceiverInit() {
    Header hdr{};
    if (rx_.skipNext) {
        rx_.skipNext = false;
        return SendHexHeader(ZSKIP, hdr);
    }
    message("GetFileName: sending RINIT");
    hdr[ZF0] = CANFDX | CANOVIO | CANBRK | CANFC32 | (escapeControls_ ? ESCCTL : 0);
    return SendHexHeader(ZRINIT, hdr);
}

int GFZmodem::GetFileName() {
    bool sendInit = true;
    for (;;) {
        if (sendInit && sendReceiverInit() != 0) {
            message("GetFileName: Error sending RINIT");
            return kBatchOver;
        }
        sendInit = false;
        const int type = ReadFrameHeader();
        switch (type) {
            case ZRQINIT:
                message("GetFileName: ZRQINIT");
                sendInit = true;
                break;
            case ZSINIT: {
                message("GetFileName: ZSINIT");
                escapeControls_ = (rxHeader_[ZF0] & ESCCTL) != 0;
                const int end = ReadBinaryPacket();
                if (end >= GOTCRCE && end <= GOTCRCW) {
                    message("GetFileName: good ZSINIT");
                    SendHexHeader(ZACK, positionHeader(1));
                } else {
                    SendHexHeader(ZNAK, Header{});
                    message("GetFileName: ZSINIT + bad packet");
                    if (!countBlockError()) return kBatchOver;
                }
                break;
            }
            case ZFILE: {
                const int conversion = rxHeader_[ZF0];
                message("ZF0=%x", conversion);
                textConversion_ = (conversion & 1) == 0 && (conversion & 2) != 0;
                const int end = ReadBinaryPacket();
                if (end >= GOTCRCE && end <= GOTCRCW) return kFileOffered;
                if (lastError() < 0) return kBatchOver;
                break;
            }
            case ZFIN:
                message("GetFileName: ZFIN");
                endHandshake();
                return kBatchOver;
            case ZEOF:
                message("GetFileName: ZEOF");
                sendInit = true;
                break;
            case ZCOMPL:
                message("GetFileName: ZCOMPL");
                break;
            case ZCAN:
                // The sender gave up: nothing more will come, and that is not a success.
                message("GetFileName: ZCAN");
                setError(GF_REMOTE_CANCEL);
                return kBatchOver;
            case ZFREECNT:
                message("GetFileName: ZFREECNT");
                SendHexHeader(ZACK, Header{0x7F, 0x7F, 0x7F, 0x7F});
                break;
            case ZCOMMAND: {
                message("GetFileName: ZCOMMAND %x", rxHeader_[ZF0]);
                // Commands from the other side are never run.
                if (ReadBinaryPacket() != GOTCRCW) {
                    SendHexHeader(ZNAK, Header{});
                    break;
                }
                purgeInput();
                SendHexHeader(ZCOMPL, Header{});
                endHandshake();
                return kBatchOver;
            }
            default:
                message("GetFileName: frame_type=%d", type);
                if (!countBlockError() || lastError() < 0) return kBatchOver;
                sendInit = true;
        }
        if (lastError() < 0) return kBatchOver;
    }
}

// After ZFIN: answer ZFIN until the sender's "OO" comes. A hang-up here is the normal end of
// a session, so nothing is recorded.
void GFZmodem::endHandshake() {
    for (int i = 0; i < 3; ++i) {
        message("ACK BiBi~");
        purgeInput();
        if (!link_->IsOnline() || SendHexHeader(ZFIN, Header{}) != 0) return;
        const int c = readQuietByte(10);
        if (c == 'O') {
            readQuietByte(1);
            return;
        }
        if (!link_->IsOnline()) return;
    }
}

bool GFZmodem::enoughDiskSpace(unsigned long length) {
    const std::string folder = folderOf(monitor_->GetFileName());
    struct statvfs vfs {};
    if (statvfs(folder.c_str(), &vfs) != 0) return true;
    const uint64_t freeBytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    const unsigned long pos = monitor_->GetPos();
    const uint64_t needed = pos < length ? length - pos : 0;
    if (freeBytes >= needed + 32768 || !prompt_) return true;
    return !prompt_->CancelForDiskSpace(folder, freeBytes, GF_DISK_SPACE_CAPTION,
                                        GFDiskSpaceText(folder, freeBytes));
}

bool GFZmodem::receiveOfferedFile() {
    fileComplete_ = false;
    monitor_->SetBlockErrorCount(0);
    const GFWireFileInfo info = gfParseFileInfo(buffer_.data(), monitor_->GetBlockSize());
    message("%lu,%d,%ld", info.length, info.filesLeft, info.bytesLeft);
    const std::string name = gfReceivedFileName(info.name);
    if (name.empty()) {
        // Nothing usable is left of the name: it cannot be opened.
        openFailed(info.name, true);
        return false;
    }
    monitor_->SetFileName(name.c_str());
    message("Stripped filename %s", name.c_str());
    monitor_->SetFileLength(info.length);
    monitor_->SetFileTime(info.modified);
    if (!OpenTransferFile()) return false;
    monitor_->PostOpen();
    if (monitor_->GetFileCount() == 1) monitor_->SetTotalInfo(info.filesLeft, info.bytesLeft);
    monitor_->SetFileLength(info.length);
    if (!enoughDiskSpace(info.length)) {
        setError(GF_TOO_MANY_ERRORS);
        return false;
    }
    if (info.length == monitor_->GetPos()) {
        rx_.skipNext = true;
        message("Skip File");
    } else if (!ReadFileData()) {
        return false;
    }
    if (lastError() < 0) return false;
    fileComplete_ = true;
    monitor_->OnSuccess();
    CloseFile(rx_.skipNext);
    return lastError() >= 0;
}

int GFZmodem::sendZrpos() {
    return SendHexHeader(ZRPOS, positionHeader(monitor_->GetPos()));
}

// Counts an error of the data phase; false when the file must end.
bool GFZmodem::countDataError() {
    message("ReadFileData: Incremented error count");
    if (AbortCheck(kAbortCheck1)) return false;
    return countBlockError();
}

// What comes while the receiver waits for a frame at its own position: after a ZRPOS, the
// stream the sender sent before the request reached it. It is passed over and not counted:
// damaged or false headers (a "*" in the data before an escaped byte looks like a header
// start), runs of garbage, and frames at other positions with their subpackets.
static bool isStaleData(int type, bool atOurPosition) {
    if (type == ZDATA || type == ZEOF) return !atOurPosition;
    return type == GF_HEADER_CRC || type == ZGARBAGE || type == ZERROR || type > ZCOMMAND;
}

// Receives the current file's data; false when the file (and the batch) must end. Errors count
// per position: every good subpacket clears the count.
bool GFZmodem::ReadFileData() {
    message("ReadFileData: reading name");
    struct StopAwaiting {
        bool& awaiting;
        ~StopAwaiting() { awaiting = false; }
    } stopAwaiting{awaitingAnswer_};
    bool sendPosition = true;
    bool dataSeen = false;
    int64_t awaitingSinceMs = 0;
    auto await = [&] {
        awaitingAnswer_ = dataSeen;
        awaitingSinceMs = clock_->nowMs();
    };
    for (;;) {
        if (sendPosition) {
            if (sendZrpos() != 0) {
                message("ReadFileData: Error sending ZRPOS");
                return false;
            }
            await();
        }
        sendPosition = true;
        const int type = ReadFrameHeader();
        if (lastError() < 0) {
            message("ReadFileData: Fatal error on header");
            return false;
        }
        const bool atOurPosition = rxPos() == monitor_->GetPos();
        if (awaitingAnswer_ && isStaleData(type, atOurPosition)) {
            // A sender that goes on elsewhere this long never heard our ZRPOS.
            if (clock_->nowMs() - awaitingSinceMs < kStaleSeconds * 1000) {
                sendPosition = false;
            } else {
                message("ReadFileData: ZRPOS unanswered");
                if (!countDataError()) return false;
            }
            continue;
        }
        if (type == ZDATA && atOurPosition) awaitingAnswer_ = false;
        switch (type) {
            case ZDATA:
                if (!atOurPosition) {
                    if (!countBlockError()) return false;
                    message("ReadFileData: Mismatch in rx_pos");
                    WaitDrain(false);
                    break;
                }
                message("NEW BYTE COUNT: %ld", static_cast<long>(rxPos()));
                dataSeen = true;
                if (file_) std::fseek(file_, static_cast<long>(rxPos()), SEEK_SET);
                switch (readFileSubpackets()) {
                    case kFileFailed:
                        return false;
                    case kFrameEnded:
                        sendPosition = false;
                        await();
                        break;
                    default:
                        break;
                }
                break;
            case ZEOF:
                if (atOurPosition) {
                    message("ReadFileData: frame_type=ZEOF %d", type);
                    return true;
                }
                message("Bogus ZEOF!!!");
                sendPosition = false;
                break;
            case ZFILE:
                message("ReadFileData: ZFILE");
                ReadBinaryPacket();
                break;
            case ZSKIP:
                message("ReadFileData: ZSKIP");
                return true;
            case ZNAK:
                message("ReadFileData: ZNAK");
                if (!countDataError()) return false;
                break;
            case ZRQINIT:
                message("ReadFileData: Error");
                if (!countDataError()) return false;
                WaitDrain(false);
                break;
            case ZCAN:
                message("ReadFileData: ZCAN");
                setError(GF_TOO_MANY_ERRORS);
                return false;
            case GF_READ_TIMEOUT:
                message("ReadFileData: Timeout");
                if (!countDataError()) return false;
                break;
            default:
                message("ReadFileData: Wrong Header %c", type & 0x7F);
                if (!countDataError()) return false;
        }
    }
}

// The subpackets after a ZDATA header, written to the file as they come. A sender stops in
// the middle of a subpacket only when it waits for us: the end of a ZCRCW was lost.
int GFZmodem::readFileSubpackets() {
    for (;;) {
        if (AbortCheck(kAbortCheck1)) return kFileFailed;
        const int end = ReadBinaryPacket(kQuietSeconds);
        if (end >= GOTCRCE && end <= GOTCRCW) {
            const int n = monitor_->GetBlockSize();
            monitor_->GetBlockNumber() += 1;
            monitor_->SetBlockErrorCount(0);
            if (WriteReceivedBlock(buffer_.data(), n) != n) {
                setError(GF_WRITE_FAILED);
                Cleanup();
                return kFileFailed;
            }
            monitor_->AddPos(n);
            switch (end) {
                case GOTCRCG:
                    continue;
                case GOTCRCQ:
                    SendHexHeader(ZACK, positionHeader(monitor_->GetPos()));
                    continue;
                case GOTCRCE:
                    message("GOTCRCE");
                    return kFrameEnded;
                default:
                    message("GOTCRCW");
                    WriteChar(XON);
                    SendHexHeader(ZACK, positionHeader(monitor_->GetPos()));
                    return kFrameEnded;
            }
        }
        if (end == ZCAN) {
            message("ZCAN");
            setError(GF_TOO_MANY_ERRORS);
            return kFileFailed;
        }
        if (end != GF_READ_TIMEOUT) message("Persistent CRC or other ERROR");
        if (!countDataError()) return kFileFailed;
        if (end != GF_READ_TIMEOUT) WaitDrain(false);
        return kAskResend;
    }
}
