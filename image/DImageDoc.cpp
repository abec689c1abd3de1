#include "image/DImageDoc.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace {

constexpr uint8_t kCan = 24, kBackspace = 8;
constexpr int kAbortRepeat = 10;

// "12 5": the column and the row, one or two digits each, any separator between.
bool parsePlace(const std::vector<uint8_t>& data, int& column, int& row) {
    int values[2] = {0, 0}, found = 0;
    size_t i = 0;
    while (found < 2 && i < data.size()) {
        if (!isdigit(data[i])) {
            ++i;
            continue;
        }
        int digits = 0;
        while (i < data.size() && isdigit(data[i]) && digits < 2) {
            values[found] = values[found] * 10 + (data[i++] - '0');
            ++digits;
        }
        ++found;
    }
    column = values[0];
    row = values[1];
    return found == 2;
}

}  // namespace

DImageDoc::DImageDoc(const VNImageHooks& hooks, Clock& clock, bool chollianImage,
                     const std::string& tempFolder)
    : ImageDoc(clock), hooks_(hooks), tempFolder_(tempFolder) {
    title_ = "그림";
    lastByteMs_ = clock.nowMs();
    hooks_.setMode(1);
    holdsLink_ = true;
    if (!chollianImage) Cancel();
}

DImageDoc::~DImageDoc() {
    if (state_ != kFinished) {
        for (int i = 0; i < kAbortRepeat; ++i)
            hooks_.writeByte(kCan);
        for (int i = 0; i < kAbortRepeat; ++i)
            hooks_.writeByte(kBackspace);
    }
    if (holdsLink_) hooks_.setMode(0);
    if (fd_ >= 0) close(fd_);
    if (!filePath_.empty()) unlink(filePath_.c_str());
}

void DImageDoc::setState(int state) {
    state_ = state;
    states_.push_back(state);
}

bool DImageDoc::Pump(int limitMs) {
    if (state_ == kFinished) return false;
    if (hooks_.query(*this) == 2) {
        hooks_.setMode(1);
        Cancel();
    }
    const int64_t start = clock().nowMs();
    int count = 0;
    bool more = false;
    while (state_ != kFinished) {
        const int c = hooks_.readByte();
        if (c < 0) break;
        lastByteMs_ = clock().nowMs();
        handleByte(static_cast<uint8_t>(c));
        if (++count % 64 == 0 && clock().nowMs() - start >= limitMs) {
            more = true;
            break;
        }
    }
    checkSilence();
    return more && state_ != kFinished;
}

void DImageDoc::checkSilence() {
    const int64_t silent = clock().nowMs() - lastByteMs_;
    if ((state_ == kWaitStart || state_ == kReceiving) && silent >= kStallCancelMs) Cancel();
    if (state_ == kCancelled && silent >= kCancelWaitMs) finish();
}

void DImageDoc::handleByte(uint8_t byte) {
    if (state_ == kCancelled) {
        if (byte == kCr) finish();
        return;
    }
    if (parser_.put(byte)) handlePacket(parser_.packet());
}

void DImageDoc::handlePacket(const DImagePacket& packet) {
    if (!packet.good()) {
        if (++badPackets_ >= kBadPacketLimit) Cancel();
        return;
    }
    if (state_ == kWaitStart) {
        if (packet.type == 'A') startPicture(packet);
        return;
    }
    if (state_ != kReceiving) return;
    if (packet.type == 'D') {
        storeData(packet);
    } else if (packet.type == 'Z') {
        setState(kEnded);
        finish();
    }
    // "H", "N" and "P" are accepted and change nothing.
}

void DImageDoc::startPicture(const DImagePacket& packet) {
    int column = 0, row = 0;
    parsePlace(packet.data, column, row);
    answer('A');
    windowX_ = column * 8;
    windowY_ = row * 16;
    if (observer()) observer()->OnPlace(windowX_, windowY_);
    openTempFile(tempFolder_);
    startDecode();
    setState(kReceiving);
}

void DImageDoc::openTempFile(const std::string& folder) {
    std::string pattern = folder + "/quilite-picture-XXXXXX";
    fd_ = mkstemp(pattern.data());  // mode 0600
    if (fd_ >= 0) filePath_ = pattern;
}

void DImageDoc::storeData(const DImagePacket& packet) {
    answer('D');
    queueBytes(packet.data.data(), packet.data.size());
    if (fd_ >= 0 && write(fd_, packet.data.data(), packet.data.size()) !=
                        static_cast<ssize_t>(packet.data.size())) {
        // A full disk: the picture is still shown, the file is given up.
        close(fd_);
        fd_ = -1;
        unlink(filePath_.c_str());
        filePath_.clear();
    }
}

void DImageDoc::answer(char type) {
    for (char c : dimageAnswer(type))
        hooks_.writeByte(static_cast<uint8_t>(c));
}

void DImageDoc::Cancel() {
    if (cancelled_ || state_ == kFinished) return;
    cancelled_ = true;
    setState(kCancelled);
    answer('Z');
    lastByteMs_ = clock().nowMs();
}

void DImageDoc::finish() {
    endInput();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    setState(kFinished);
    if (holdsLink_) hooks_.setMode(0);
    holdsLink_ = false;
    if (observer()) observer()->OnTransferEnded();
}
