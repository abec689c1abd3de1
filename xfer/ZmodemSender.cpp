// The ZMODEM batch sender.
#include <algorithm>
#include <cstdio>

#include "xfer/GFCrc.h"
#include "xfer/GFZmodem.h"
#include "xfer/ZmodemDefs.h"

namespace {

// What became of a frame of file data.
enum FrameOutcome { kEndOfFile, kRestartFrame, kFileDone, kFileFailed };

}  // namespace

void GFZmodem::runSender() {
    monitor_->SetFileName("<NONE>");
    monitor_->SetSending(1);
    tx_.pos = tx_.lastAckPos = tx_.lastZrposPos = tx_.sentUpTo = tx_.readAheadEnd = 0;
    tx_.zrposRepeats = tx_.junk = 0;
    tx_.seekable = true;
    tx_.windowSize = 0;
    if (Init()) {
        try {
            if (OpenLink()) {
                while (fileList_->TakeNext() && OpenTransferFile()) {
                    sendOneFile();
                    if (lastError() < 0) break;
                    monitor_->OnSuccess();
                    CloseFile(0);
                }
            }
            link_->EndHold();
            if (lastError() >= 0) CloseLink();
        } catch (const UserCancel&) {
            link_->EndHold();
        }
    }
    Cleanup();
    if (lastError() == 0 && monitor_->GetFileCount() == 0) setError(GF_NO_FILE_SENT);
}

bool GFZmodem::OpenLink() {
    if (SendHexHeader(ZRQINIT, Header{}) != 0) {
        message("OpenLink: Error sending ZRQINIT");
        return false;
    }
    int previous = -1;
    for (;;) {
        int c = readByte(80);
        if (c == GF_READ_TIMEOUT) {
            // Only the user's abort ends this wait.
            message("Timeout waiting for ZRINIT");
            if (SendHexHeader(ZRQINIT, Header{}) != 0) return false;
        } else if (c == NAK) {
            return true;
        } else if (c == CAN && previous == CAN) {
            c = readByte(2);
            if (c == CAN) {
                message("Got CAN waiting to send file");
                setError(GF_REMOTE_CANCEL);
                return false;
            }
        } else if (c == ZPAD || c == (ZPAD | 0x80)) {
            return openLinkHeaders();
        }
        previous = c;
    }
}

bool GFZmodem::openLinkHeaders() {
    bool padSeen = true;
    for (int i = 0; i < 10; ++i) {
        const int type = ReadFrameHeader(padSeen);
        padSeen = false;
        if (type == ZRINIT) {
            message("OpenLink: Got ZRINIT");
            const int flags = rxHeader_[ZF0];
            crc32Headers_ = (flags & CANFC32) != 0;
            if (flags & ESCCTL) {
                escapeControls_ = true;
                message("ESCCTL on");
            }
            tx_.rxBufferLength = rxHeader_[ZP0] + 256 * rxHeader_[ZP1];
            message("Rxbuflen=%d", tx_.rxBufferLength);
            tx_.blockLength = 1024;
            // A full-duplex receiver acknowledges as it goes, so the stream is kept within a
            // window of it: after a ZRPOS it then has little stale data to skip.
            tx_.windowSize = (flags & CANFDX) ? kWindowSize : 0;
            tx_.zcrcqSpacing = tx_.windowSize / 4;
            return true;
        }
        if (type == ZRQINIT && rxHeader_[ZF0] == ZCOMMAND) {
            message("OpenLink: ZRQINIT");
        } else if (type == ZCHALLENGE) {
            message("OpenLink: ZCHALLENGE");
            SendHexHeader(ZACK, rxHeader_);
        } else if (type == ZCOMMAND) {
            message("OpenLink: ZCOMMAND");
            SendHexHeader(ZRQINIT, Header{});
        } else if (type == ZCAN) {
            message("OpenLink: ZCAN");
            setError(GF_REMOTE_CANCEL);
            return false;
        } else {
            message("OpenLink: got %d instead of ZRINIT", type);
            if (type == GF_READ_TIMEOUT) break;
            SendHexHeader(ZNAK, Header{});
        }
        if (lastError() < 0) return false;
    }
    setError(GF_NO_ANSWER);
    return false;
}

void GFZmodem::sendOneFile() {
    message("SendFile: sending filename & size");
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%ld %ld %d %d %d %ld",
                  static_cast<long>(fileList_->Length()), 0L, 0, 3, fileList_->Remaining() + 1,
                  static_cast<long>(fileList_->RemainingBytes() + fileList_->Length()));
    std::string info = monitor_->AnnouncedName(path_);
    info += '\0';
    info += numbers;
    monitor_->SetBlockErrorCount(0);
    tx_.eofSeen = false;
    tx_.readAheadEnd = tx_.growAt = 0;
    if (!offerFile(info) && lastError() == 0) setError(GF_TOO_MANY_ERRORS);
}

// Offers the file with ZFILE and, when the receiver asks for data, sends it. True when the
// file is done with (sent or skipped by the receiver).
bool GFZmodem::offerFile(const std::string& info) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        message("Sending with CRC-32");
        SendBinaryHeader(ZFILE, Header{0, 0, 0, ZCRESUM});
        SendDataPacket(reinterpret_cast<const uint8_t*>(info.data()), static_cast<int>(info.size()),
                       ZCRCW);
        if (lastError() < 0) return false;
        bool padSeen = false;
        for (bool readAgain = true; readAgain;) {
            readAgain = false;
            const int type = ReadFrameHeader(padSeen);
            padSeen = false;
            switch (type) {
                case ZERROR:
                    message("ERROR");
                    break;
                case ZRINIT: {
                    message("ZRINIT");
                    int c;
                    do {
                        c = readByte(5);
                    } while (c >= 0 && c != ZPAD);
                    readAgain = padSeen = c == ZPAD;
                    break;
                }
                case ZSKIP:
                case ZFERR:
                    message("File skipped by receiver request");
                    return true;
                case ZNAK:
                    message("ZNAK");
                    break;
                case ZFIN:
                    message("Got %d on pathname", type);
                    return true;
                case ZABORT:
                case ZCAN:
                    message("Got %d on pathname", type);
                    setError(GF_REMOTE_CANCEL);
                    return false;
                case ZCRC:
                    message("SendFile: Got ZCRC");
                    SendBinaryHeader(ZCRC, positionHeader(fileCrc(rxPos())));
                    readAgain = true;
                    break;
                case ZRPOS: {
                    const long p = rxPos();
                    if (!Reposition(p)) {
                        message("Bad Seek %ld", p);
                        return false;
                    }
                    monitor_->SetPos(p);
                    if (p != 0) monitor_->OnRecovery();
                    message("StartFileTransfer: ZRPOS location %ld", p);
                    tx_.pos = tx_.lastAckPos = tx_.sentUpTo = p;
                    tx_.lastZrposPos = p - 1;
                    return SendFileData();
                }
                default:
                    message("SendFile: read frame type %d", type);
                    if (lastError() < 0 || !countBlockError()) return false;
            }
        }
    }
    return false;
}

bool GFZmodem::SendFileData() {
    tx_.zrposRepeats = 0;
    tx_.junk = 0;
    // Answers come promptly while data flows: a quiet line means that something was lost.
    struct StopAwaiting {
        bool& awaiting;
        ~StopAwaiting() { awaiting = false; }
    } stopAwaiting{awaitingAnswer_ = true};
    for (;;) {
        tx_.rxBufferLeft = tx_.rxBufferLength;
        tx_.sinceZcrcq = 0;
        if (SendBinaryHeader(ZDATA, positionHeader(tx_.pos)) != 0) return false;
        message("ZDATA %ld", tx_.pos);
        int outcome = streamFrame();
        if (outcome == kEndOfFile) outcome = sendEndOfFile();
        if (outcome != kRestartFrame) return outcome == kFileDone;
    }
}

// Sends subpackets from our position on until the end of the file or an answer that ends the
// frame.
int GFZmodem::streamFrame() {
    for (;;) {
        if (AbortCheck(kAbortCheck1)) throw UserCancel{};
        int offset = 0;
        bool eofHere = false;
        const int length = nextSubpacket(offset, eofHere);
        monitor_->SetPos(tx_.pos);
        const int end = subpacketEnd(length, eofHere);
        if (SendDataPacket(tx_.ring.data() + offset, length, end) != 0) return kFileFailed;
        tx_.rxBufferLeft -= length;
        tx_.pos += length;
        tx_.sentUpTo = std::max(tx_.sentUpTo, tx_.pos);
        monitor_->SetPos(tx_.pos);
        if (end == ZCRCE) return kEndOfFile;
        if (end == ZCRCW) {
            message("SendFileData: ACK %ld", tx_.pos);
            const int answer = GetInSync(false, false);
            tx_.junk = 0;
            return actOnAnswer(answer);
        }
        const int outcome = streamAnswer();
        if (outcome >= 0) return outcome;
    }
}

// Looks at what the receiver sent while we stream, and waits for its ZACK while the window is
// full; -1 when streaming goes on.
int GFZmodem::streamAnswer() {
    for (;;) {
        const bool windowFull = tx_.windowSize != 0 && tx_.pos - tx_.lastAckPos >= tx_.windowSize;
        if (!windowFull && inputWaiting() <= 0) return -1;
        // The window has gone out when the wait for its ZACK begins.
        if (windowFull) WaitDrain(false);
        int c = readByte(windowFull ? kQuietSeconds : 1);
        switch (c) {
            case XON:
            case '\n' | 0x80:
                message("XON while streaming");
                break;
            case CAN:
            case ZPAD: {
                const int answer = GetInSync(true, c == ZPAD);
                if (answer == ZACK) break;
                // The frame in flight ends here, so that a receiver still reading it is not
                // left waiting for its end.
                message("Sending ZCRCE");
                SendDataPacket(nullptr, 0, ZCRCE);
                return actOnAnswer(answer);
            }
            case XOFF | 0x80:
                message("Got XOFF|0x80");
                [[fallthrough]];
            case XOFF:
                message("SendFileData: Wait for XON");
                readByte(10);
                message("junk=%d", tx_.junk);
                ++tx_.junk;
                break;
            case GF_READ_TIMEOUT:
                if (windowFull) return actOnAnswer(goBackToAcknowledged("no ZACK"));
                message("No answer while streaming");
                break;
            default:
                message("junk=%d", tx_.junk);
                ++tx_.junk;
        }
    }
}

// The next subpacket's place in the ring and its length. It never crosses the ring's end.
int GFZmodem::nextSubpacket(int& offset, bool& eofHere) {
    offset = static_cast<int>(tx_.pos % kRingSize);
    const int room = kRingSize - offset;
    if (tx_.pos < tx_.readAheadEnd) {
        const int length = static_cast<int>(
            std::min<long>({tx_.blockLength, tx_.readAheadEnd - tx_.pos, static_cast<long>(room)}));
        eofHere = tx_.pos + length == tx_.readAheadEnd && tx_.eofSeen;
        tx_.eofInSubpacket = eofHere;
        return length;
    }
    const int want = std::min(tx_.blockLength, room);
    const int n = static_cast<int>(readFileIntoRing(offset, want));
    tx_.readAheadEnd += n;
    eofHere = n < want;
    if (eofHere) tx_.eofSeen = true;
    tx_.eofInSubpacket = eofHere;
    return n;
}

long GFZmodem::readFileIntoRing(int offset, int count) {
    return static_cast<long>(std::fread(tx_.ring.data() + offset, 1, count, file_));
}

int GFZmodem::subpacketEnd(int length, bool eofHere) {
    if (eofHere) {
        message("Sending %ld(E)", tx_.pos);
        return ZCRCE;
    }
    if (tx_.junk > 3 || tx_.pos == tx_.lastZrposPos ||
        (tx_.rxBufferLength != 0 && tx_.rxBufferLeft - length <= 0)) {
        return ZCRCW;
    }
    if (tx_.windowSize != 0 && (tx_.sinceZcrcq += length) >= tx_.zcrcqSpacing) {
        tx_.sinceZcrcq = 0;
        return ZCRCQ;
    }
    return ZCRCG;
}

int GFZmodem::sendEndOfFile() {
    for (;;) {
        if (AbortCheck(kAbortCheck2)) throw UserCancel{};
        if (SendBinaryHeader(ZEOF, positionHeader(tx_.pos)) != 0) return kFileFailed;
        int type;
        do {
            type = ReadFrameHeader();
        } while (type == ZACK);
        switch (type) {
            case ZRINIT:
                return kFileDone;
            case ZSKIP:
                message("File skipped by receiver request");
                return kFileDone;
            case ZNAK:
                break;
            case GF_HEADER_CRC:
            case ZERROR:
            case ZGARBAGE:
                // A damaged answer: the ZEOF goes again.
                if (!countBlockError() || lastError() < 0) return kFileFailed;
                break;
            case GF_READ_TIMEOUT:
                // The receiver is still in the last subpacket, whose end was lost, or our ZEOF
                // was lost.
                return actOnAnswer(goBackToAcknowledged("no answer to ZEOF"));
            case ZRPOS:
                return handleZrpos() == ZRPOS ? kRestartFrame : failFile(ZERROR);
            default:
                message("Got %d trying to send end of file", type);
                return failFile(type);
        }
    }
}

int GFZmodem::actOnAnswer(int answer) {
    for (;;) {
        if (answer == ZRINIT || answer == ZSKIP) return kFileDone;
        if (answer != ZACK && answer != ZRPOS) return failFile(answer);
        bool resync = false;
        while (!resync && inputWaiting() > 0) {
            const int c = readByte(1);
            if (c == XOFF || c == (XOFF | 0x80)) {
                message("SendFileData: Wait for XON(1)");
                readByte(10);
            } else if (c == CAN || c == ZPAD) {
                answer = GetInSync(true, c == ZPAD);
                resync = true;
            }
        }
        if (!resync) return kRestartFrame;
    }
}

// A file that cannot go on: the answer decides what is recorded, unless something already is.
int GFZmodem::failFile(int answer) {
    setError(answer == GF_READ_TIMEOUT ? GF_NO_ANSWER : GF_TOO_MANY_ERRORS);
    return kFileFailed;
}

int GFZmodem::GetInSync(bool acceptAnyAck, bool padSeen) {
    for (;;) {
        const int type = ReadFrameHeader(padSeen);
        padSeen = false;
        if (AbortCheck(kAbortCheck2)) throw UserCancel{};
        switch (type) {
            case ZRINIT:
                message("GetInSync: ZRINIT");
                return ZRINIT;
            case ZACK:
                // An acknowledgement overtaken by a later one says nothing new.
                tx_.lastAckPos = std::max<long>(tx_.lastAckPos, rxPos());
                growBlockLength();
                if (acceptAnyAck || rxPos() == static_cast<uint32_t>(tx_.pos)) {
                    message("GetInSync: ZACK %ld", static_cast<long>(rxPos()));
                    monitor_->SetBlockErrorCount(0);
                    return ZACK;
                }
                break;
            case ZSKIP:
                message("File skipped by receiver request");
                return ZSKIP;
            case ZABORT:
                message("GetInSync: ZABORT");
                setError(GF_REMOTE_CANCEL);
                return ZERROR;
            case ZFIN:
                message("GetInSync: ZFIN");
                return ZERROR;
            case ZCAN:
                message("GetInSync: ZCAN");
                setError(GF_REMOTE_CANCEL);
                return ZERROR;
            case ZRPOS:
                return handleZrpos();
            case GF_READ_TIMEOUT:
                return goBackToAcknowledged("no answer");
            default:
                // The receiver sent an answer or a request we could not read. Whatever it was,
                // the receiver wants data from the last acknowledged position on at the
                // earliest; a ZNAK would only make it wait for a frame.
                return goBackToAcknowledged("damaged header");
        }
    }
}

// The receiver's answer was lost or damaged: the data after the last acknowledged position goes
// again, as if the receiver had asked for it.
int GFZmodem::goBackToAcknowledged(const char* why) {
    message("GetInSync: %s, back to %ld", why, tx_.lastAckPos);
    if (!countBlockError()) return ZERROR;
    return restartAt(tx_.lastAckPos) ? int{ZRPOS} : int{ZERROR};
}

// Once the receiver has acknowledged a run of subpackets without a repositioning, a halved
// block length doubles again towards 1024: a burst of noise must not slow the rest of the file.
void GFZmodem::growBlockLength() {
    if (tx_.blockLength >= 1024 || tx_.lastAckPos < tx_.growAt) return;
    tx_.blockLength *= 2;
    tx_.growAt = tx_.lastAckPos + kCleanSubpacketsToGrow * tx_.blockLength;
    message("Packet Size=%d", tx_.blockLength);
}

// The receiver asks for data from Rxpos on. Repeated requests for the same position halve
// the block length and finally give up.
int GFZmodem::handleZrpos() {
    const long p = rxPos();
    message("GetInSync: ZRPOS %ld", p);
    if (p > tx_.sentUpTo) {
        message("Nonstandard Protocol");
        return ZRPOS;
    }
    if (!restartAt(p)) return ZERROR;
    if (p == tx_.lastZrposPos) {
        if (++tx_.zrposRepeats > 36) {
            message("Can't send block");
            return ZERROR;
        }
        if (tx_.zrposRepeats > 4 && (tx_.zrposRepeats > 8 || tx_.blockLength == 1024) &&
            tx_.blockLength > 128) {
            tx_.blockLength /= 2;
            message("Packet Size=%d", tx_.blockLength);
            monitor_->GetErrors() += 1;
            tx_.growAt = p + kCleanSubpacketsToGrow * tx_.blockLength;
        }
    } else {
        tx_.zrposRepeats = 0;
        monitor_->SetBlockErrorCount(0);
    }
    tx_.lastZrposPos = p;
    monitor_->SetPos(p);
    return ZRPOS;
}

// Goes back (or forward, within what was sent) to p. What is still queued for the line is
// useless to the receiver and is dropped, so that the data it asked for follows as soon as
// possible: a receiver skips only so much stale data before it gives up. The position up to
// which data has gone out stays, so that a later request beyond p is still served.
bool GFZmodem::restartAt(long p) {
    if (!Reposition(p)) {
        message("Bad Seek");
        return false;
    }
    link_->PurgeOutput();
    tx_.growAt = std::max(tx_.growAt, p + kCleanSubpacketsToGrow * tx_.blockLength);
    tx_.eofInSubpacket = false;
    tx_.pos = tx_.lastAckPos = p;
    return true;
}

// Makes the ring hold the data at p. The ring keeps the file's bytes [end - 32768, end) at
// their position modulo 32768, and the file is always read on at the read-ahead end.
bool GFZmodem::Reposition(long p) {
    long end = tx_.readAheadEnd;
    if (p < end - (kRingSize - 1024)) {
        tx_.eofSeen = false;
        end = tx_.seekable ? p / kRingSize * kRingSize : 0;
        if (end == p) end = std::max(0L, p - kRingSize);
        if (std::fseek(file_, end, SEEK_SET) != 0) return false;
        while (end < p) {
            const long n = readFileIntoRing(0, kRingSize);
            end += n;
            if (n < kRingSize) {
                tx_.eofSeen = true;
                break;
            }
        }
    } else if (p > end) {
        if (tx_.seekable) {
            end = p / kRingSize * kRingSize;
            if (std::fseek(file_, end, SEEK_SET) != 0) return false;
        }
        while (end <= p) {
            const int offset = static_cast<int>(end % kRingSize);
            const long n = readFileIntoRing(offset, kRingSize - offset);
            end += n;
            if (n < kRingSize - offset) {
                tx_.eofSeen = true;
                break;
            }
        }
    }
    tx_.readAheadEnd = end;
    return true;
}

// The CRC-32 of the file's first count bytes (all of it for 0), for a receiver's ZCRC.
uint32_t GFZmodem::fileCrc(uint32_t count) {
    const long keep = std::ftell(file_);
    std::fseek(file_, 0, SEEK_SET);
    uint32_t crc = 0xFFFFFFFF;
    uint8_t piece[4096];
    unsigned long left = count ? count : fileList_->Length();
    while (left > 0) {
        const size_t n = std::fread(piece, 1, std::min<unsigned long>(left, sizeof piece), file_);
        if (n == 0) break;
        crc = gfCrc32(crc, piece, n);
        left -= n;
    }
    std::fseek(file_, keep, SEEK_SET);
    return ~crc;
}

void GFZmodem::CloseLink() {
    monitor_->SetBlockErrorCount(0);
    bool gotFin = false;
    for (;;) {
        if (SendHexHeader(ZFIN, Header{}) != 0) {
            message("Error sending ZFIN frame");
            break;
        }
        int type = ReadFrameHeader();
        if (type == ZRINIT || type == ZFERR) type = ReadFrameHeader();
        if (type == ZFIN) {
            gotFin = true;
            break;
        }
        message("CloseLink: got %d instead of ZFIN", type);
        if (!countBlockError(GF_NO_ZFIN_ANSWER) || lastError() < 0) break;
    }
    if (!gotFin) return;
    // The session is over: a receiver that hangs up now takes nothing away from the batch.
    link_->BeginHold();
    link_->WriteByte('O');
    link_->WriteByte('O');
    link_->EndHold();
    WaitDrain(true);
}
