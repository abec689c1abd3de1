// The Kermit receiver: Send-Init, then file headers, attributes and data until the break.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "xfer/GFFileNames.h"
#include "xfer/GFKermit.h"

void GFKermit::runReceiver() {
    if (Init() && receiveInit()) {
        while (receiveFileHeader() && receiveFileData()) {
        }
    }
    // A file the sender gave up on did not arrive, so the batch did not either.
    if (discarded_) setError(GF_REMOTE_CANCEL);
    finish();
}

// What every state does with a damaged packet, a time-out and a packet it has no use for.
// True when the state goes on waiting.
bool GFKermit::otherPacket(int type, const char* timeoutText) {
    switch (type) {
        case kStopped:
            return false;
        case 'E':
            fail(GF_REMOTE_CANCEL, "Aborted from remote end");
            return false;
        case kBadPacket:
            message("Funny packet");
            break;
        case kTimeout:
            message("%s", timeoutText);
            break;
        default:
            fail(GF_KERMIT_PROTOCOL, "Protocol error");
            return false;
    }
    return retry() && sendPacket('N', seq(), "");
}

bool GFKermit::acceptPacket(const std::string& ackData) {
    if (!sendAck(seq(), ackData)) return false;
    nextPacket();
    monitor_->SetBlockErrorCount(0);
    return true;
}

bool GFKermit::receiveInit() {
    for (;;) {
        const int type = readPacket();
        if (type == 'S') {
            message("Received initial S packet");
            monitor_->SetBlockNumber(rxSeq_);
            readParams(true);
            if (!acceptPacket(initData())) return false;
            message("Sent initial ack successfully");
            check_ = agreedCheck();
            return true;
        }
        if (!otherPacket(type, "Timeout waiting for init packet")) return false;
    }
}

// A packet the other side sent again because our answer did not reach it: it must carry the
// previous SEQ, and gets the same answer again (with our parameters for a Send-Init). The
// answer goes at once: waiting for the line to go quiet first would never end with a sender
// that repeats its packet sooner than that, until it gave up.
bool GFKermit::answerDuplicate(const char* text) {
    message("%s", text);
    const bool isInit = buffer_[2] == 'S';
    const int previous = (seq() + 63) % 64;
    if (rxSeq_ != previous) {
        fail(GF_KERMIT_PROTOCOL, "Protocol error");
        return false;
    }
    link_->PurgeInput();
    if (!retry()) return false;
    return isInit ? sendPacket('Y', previous, initData(), 1) : sendAck(previous);
}

// Waits for the next file header; false at the break (the end) or on failure.
bool GFKermit::receiveFileHeader() {
    for (;;) {
        const int type = readPacket();
        const bool known = type == 'F' || type == 'B' || type == 'S' || type == 'Z';
        if (known && rxSeq_ != seq()) {
            if (!answerDuplicate(type == 'S'   ? "Received duplicate S-Init packet"
                                 : type == 'Z' ? "Received duplicate Z-End-of-file packet"
                                               : "Received duplicate packet")) {
                return false;
            }
            continue;
        }
        if (type == 'F') return openReceivedFile();
        if (type == 'B') {
            message("Received break command");
            acceptPacket();
            return false;
        }
        if (!otherPacket(type, "Timeout waiting for B or F packet")) return false;
    }
}

bool GFKermit::openReceivedFile() {
    std::string wireName;
    gfkermit::decode(in_, buffer_.data() + 3, rxLength_, wireName);
    const std::string name = gfReceivedFileName(wireName);
    if (name.empty()) {
        openFailed(wireName, true);
        return false;
    }
    monitor_->SetFileName(name.c_str());
    message("Stripped name: %s", name.c_str());
    monitor_->SetFileTime(-1);
    return OpenFile() && acceptPacket();
}

// Receives attributes and data up to the end of the file; false when the transfer ends.
bool GFKermit::receiveFileData() {
    for (;;) {
        const int type = readPacket();
        const bool isFilePacket = type == 'D' || type == 'A' || type == 'Z';
        if (isFilePacket && rxSeq_ != seq()) {
            if (!answerDuplicate("Received duplicate data block")) return false;
            continue;
        }
        switch (type) {
            case 'D':
                if (!writeData() || !acceptPacket()) return false;
                break;
            case 'A':
                message("Received an 'A' packet");
                readAttributes();
                if (!acceptPacket()) return false;
                break;
            case 'Z':
                message("Closing file");
                endReceivedFile();
                return acceptPacket();
            case 'F':
                if (!answerDuplicate("Received duplicate File Header packet")) return false;
                break;
            default:
                if (!otherPacket(type, "Timeout waiting for Data packet")) return false;
        }
    }
}

bool GFKermit::writeData() {
    decoded_.clear();
    gfkermit::decode(in_, buffer_.data() + 3, rxLength_, decoded_);
    const int n = static_cast<int>(decoded_.size());
    if (WriteReceivedBlock(reinterpret_cast<const uint8_t*>(decoded_.data()), n) != n) {
        fail(GF_WRITE_FAILED, "File write failed");
        return false;
    }
    monitor_->AddPos(n);
    return true;
}

void GFKermit::readAttributes() {
    const uint8_t* d = buffer_.data() + 3;
    const int n = rxLength_;
    int i = 0;
    while (i + 1 < n) {
        const int type = d[i];
        const int length = std::min(std::max(gfkermit::unChar(d[i + 1]), 0), n - i - 2);
        const std::string value(reinterpret_cast<const char*>(d) + i + 2, length);
        i += 2 + length;
        message("Type: %c  Length: %d  Data: %s", type, length, value.c_str());
        if (type == '1') monitor_->SetFileLength(std::strtoul(value.c_str(), nullptr, 10));
        if (type == '#') readDateAttribute(value);
    }
}

// The creation date is the sender's local time; it becomes seconds since 1970 through the
// local time zone.
void GFKermit::readDateAttribute(const std::string& value) {
    std::tm t{};
    if (!gfkermit::parseDate(value, t)) return;
    message("Year=%d Month=%d Day=%d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    message("Hour=%d Minute=%d sec=%d", t.tm_hour, t.tm_min, t.tm_sec);
    t.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&t);
    if (seconds != static_cast<std::time_t>(-1)) {
        monitor_->SetFileTime(seconds > 0 ? static_cast<long>(seconds) : 0);
    }
}

// "Z" closes the file; with "D" the sender discarded it: it is closed as not received, which
// removes it, and no success is reported for it.
void GFKermit::endReceivedFile() {
    if (rxLength_ > 0 && buffer_[3] == 'D') {
        message("Sender discarded the file");
        CloseFile(1);
        discarded_ = true;
        return;
    }
    fileComplete_ = true;
    monitor_->OnSuccess();
    CloseFile(0);
}
