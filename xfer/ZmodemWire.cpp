// ZMODEM at the byte level: timed reads, escaping, headers and data subpackets.
#include <algorithm>
#include <array>
#include <cstring>

#include "xfer/GFCrc.h"
#include "xfer/GFZmodem.h"
#include "xfer/ZmodemDefs.h"

namespace {

constexpr int kIdleSleepMs = 100;

int hexNibble(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

int GFZmodem::takeInput() {
    const int n = link_->Read(input_.data(), static_cast<int>(input_.size()));
    if (n > 0) {
        inHead_ = 1;
        inTail_ = static_cast<size_t>(n);
        return input_[0];
    }
    return link_->ReadByte();
}

void GFZmodem::purgeInput() {
    inHead_ = inTail_ = 0;
    link_->PurgeInput();
}

// The wait behind readByte: polls the link until a byte comes or the time is up. An abort
// check that fires ends the transfer.
int GFZmodem::waitForByte(int seconds) {
    int c;
    const int64_t limit = std::max(1, seconds) * 1000;
    const int64_t start = clock_->nowMs();
    for (;;) {
        if (!link_->WaitReady(1, 1)) {
            if (AbortCheck(kAbortCheck2)) throw UserCancel{};
            clock_->sleepMs(kIdleSleepMs);
        }
        c = takeInput();
        if (c >= 0) return c;
        if (clock_->nowMs() - start > limit) return GF_READ_TIMEOUT;
    }
}

// For the last words of a session: a hang-up or the user's abort ends the wait without
// recording anything.
int GFZmodem::readQuietByte(int seconds) {
    const int64_t start = clock_->nowMs();
    for (;;) {
        if (inHead_ < inTail_) return input_[inHead_++];
        int c = takeInput();
        if (c >= 0) return c;
        if (!link_->IsOnline() || monitor_->TransferAbort() != 0) return GF_READ_TIMEOUT;
        if (clock_->nowMs() - start > seconds * 1000) return GF_READ_TIMEOUT;
        if (!link_->WaitReady(1, 1)) clock_->sleepMs(kIdleSleepMs);
    }
}

int GFZmodem::read7(int seconds) {
    for (;;) {
        int c = readByte(seconds);
        if (c < 0) return c;
        c &= 0x7F;
        if (c == XON || c == XOFF) continue;
        if (c == '\r' || c == '\n' || c == ZDLE) return c;
        if (escapeControls_ && (c & 0x60) == 0) continue;
        return c;
    }
}

// The rest of readEscaped for a control byte c (or a read failure): ZDLE sequences,
// flow-control bytes and unescaped control bytes.
int GFZmodem::readSpecial(int c, int seconds) {
    for (;;) {
        if (c < 0 || (c & 0x60)) return c;
        if (c == ZDLE) break;
        if (!isZmodemControl(c) && !escapeControls_) return c;
        c = readByte(seconds);
    }
    for (;;) {
        int c = readByte(seconds);
        // ZDLE and four more CANs: the other side cancels.
        for (int cans = 2; c == CAN; ++cans) {
            if (cans == 5) return GOTCAN;
            c = readByte(seconds);
        }
        if (c < 0) return c;
        if (c >= ZCRCE && c <= ZCRCW) return c | GOTOR;
        if (c == ZRUB0) return 0x7F;
        if (c == ZRUB1) return 0xFF;
        if ((isZmodemControl(c) && c != ZDLE) || (escapeControls_ && (c & 0x60) == 0)) continue;
        if ((c & 0x60) == 0x40) return c ^ 0x40;
        // A line error, not a protocol error: the subpacket or header is damaged.
        message("Bad escape sequence %x", c);
        return ZERROR;
    }
}

GFZmodem::Header GFZmodem::positionHeader(uint32_t pos) {
    return {static_cast<uint8_t>(pos), static_cast<uint8_t>(pos >> 8),
            static_cast<uint8_t>(pos >> 16), static_cast<uint8_t>(pos >> 24)};
}

uint32_t GFZmodem::rxPos() const {
    return rxHeader_[ZP0] | (rxHeader_[ZP1] << 8) | (rxHeader_[ZP2] << 16) |
           (static_cast<uint32_t>(rxHeader_[ZP3]) << 24);
}

int GFZmodem::ReadFrameHeader(bool padSeen) {
    // Stale data flows without pause; a quiet line means the sender is waiting for us.
    const int seconds = awaitingAnswer_ ? kQuietSeconds : kReadSeconds;
    int garbage = kGarbageLimit;
    int cans = 0;
    int result = 0;
    Header hdr{};
    for (bool found = false; !found;) {
        if (!padSeen) {
            int c = readByte(seconds);
            if (c == GF_READ_TIMEOUT && cans > 0) {
                cans = 0;
                continue;
            }
            if (c == GF_READ_TIMEOUT) {
                result = c;
                break;
            }
            if (c == XON || c == (XON | 0x80)) continue;
            if (c == CAN) {
                if (++cans < 5) continue;
                setError(GF_REMOTE_CANCEL);
                message("GetPad: Remote end sent 5-CAN");
                result = ZCAN;
                break;
            }
            cans = 0;
            if (c != ZPAD && c != (ZPAD | 0x80)) {
                if (--garbage <= 0) {
                    result = ZGARBAGE;
                    break;
                }
                continue;
            }
        }
        padSeen = false;
        int c = read7(seconds);
        while (c == ZPAD)
            c = read7(seconds);
        if (c == ZDLE)
            c = read7(seconds);
        else if (c >= 0)
            c = 0;  // no ZDLE after the pad: garbage
        found = true;
        switch (c) {
            case ZBIN:
                monitor_->SetCheck(GF_CHECK_CRC16);
                crc32Frame_ = false;
                result = readBinaryHeader(hdr, false, seconds);
                break;
            case ZBIN32:
                monitor_->SetCheck(GF_CHECK_CRC32);
                crc32Frame_ = true;
                result = readBinaryHeader(hdr, true, seconds);
                break;
            case ZHEX:
                crc32Frame_ = false;
                result = readHexHeader(hdr, seconds);
                break;
            case 'D':
                message("ZBINR32");
                result = c;
                break;
            case 'a':
                message("ZVBIN");
                result = c;
                break;
            case 'b':
                message("ZVHEX");
                result = c;
                break;
            case 'c':
                message("ZVBIN32");
                result = c;
                break;
            case 'd':
                message("ZVBINR32");
                result = c;
                break;
            case GF_READ_TIMEOUT:
                result = c;
                break;
            default:
                found = false;
                if (--garbage <= 0) {
                    result = ZGARBAGE;
                    found = true;
                }
        }
    }
    rxHeader_ = hdr;
    if (result == GOTCAN) result = ZCAN;
    // Stale data after a ZRPOS is full of garbage and false header starts, which are passed
    // over; a quiet line is counted by the receiver itself.
    if (awaitingAnswer_ && (result == ZGARBAGE || result == ZERROR || result == GF_READ_TIMEOUT))
        return result;
    if (result == ZNAK || result == ZCAN || result == ZERROR || result == -3 ||
        result == ZGARBAGE || result == GF_READ_TIMEOUT) {
        countHeaderError(result);
        if (lastError() < 0) return lastError();
    }
    return result;
}

void GFZmodem::countHeaderError(int code) {
    message("ReadFrameHeader: Got %d", code);
    if (lastError() < 0) return;
    countBlockError();
}

int GFZmodem::readHexHeader(Header& hdr, int seconds) {
    uint8_t raw[7];
    for (uint8_t& b : raw) {
        int hi = read7(seconds);
        if (hi < 0) return hi;
        int lo = read7(seconds);
        if (lo < 0) return lo;
        if (hexNibble(hi) < 0 || hexNibble(lo) < 0) return GF_HEADER_CRC;
        b = static_cast<uint8_t>(hexNibble(hi) << 4 | hexNibble(lo));
    }
    if (gfCrc16(0, raw, 7) != 0) {
        message("ReadHexFrameHeaderData: bad CRC-16");
        return GF_HEADER_CRC;
    }
    // CR, LF|0x80 and, except after ZFIN and ZACK, XON close a hex header.
    int c = readByte(1);
    if ((c & 0x7F) == '\r') readByte(1);
    if (raw[0] != ZFIN && raw[0] != ZACK) readByte(1);
    std::copy(raw + 1, raw + 5, hdr.begin());
    return raw[0];
}

int GFZmodem::readBinaryHeader(Header& hdr, bool crc32, int seconds) {
    uint8_t raw[9];
    const int n = crc32 ? 9 : 7;
    for (int i = 0; i < n; ++i) {
        int c = readEscaped(seconds);
        if (c < 0 || c > 0xFF) return c;
        raw[i] = static_cast<uint8_t>(c);
    }
    if (crc32 ? gfCrc32(0xFFFFFFFF, raw, 9) != GF_CRC32_RESIDUE : gfCrc16(0, raw, 7) != 0) {
        message(crc32 ? "ReadBinaryHeaderData: bad CRC-32" : "ReadBinaryHeaderData: bad CRC-16");
        return GF_HEADER_CRC;
    }
    std::copy(raw + 1, raw + 5, hdr.begin());
    return raw[0];
}

namespace {

struct Crc16Check {
    uint16_t value = 0;
    void add(uint8_t b) { value = gfCrc16(value, b); }
    void add(const uint8_t* bytes, size_t n) { value = gfCrc16(value, bytes, n); }
    bool good() const { return value == 0; }
    static constexpr int kLength = 2;
    static constexpr const char* kBad = "zrdat16: badcrc";
};

struct Crc32Check {
    uint32_t value = 0xFFFFFFFF;
    void add(uint8_t b) { value = gfCrc32(value, b); }
    void add(const uint8_t* bytes, size_t n) { value = gfCrc32(value, bytes, n); }
    bool good() const { return value == GF_CRC32_RESIDUE; }
    static constexpr int kLength = 4;
    static constexpr const char* kBad = "zrdat32: badcrc";
};

}  // namespace

// Reads a subpacket's data into the work buffer and its end and check bytes; the end (360 to
// 363) or what stopped the read.
template <class Check>
int GFZmodem::readSubpacketData(Check& check, int seconds) {
    // Locals and a restricted output pointer keep the loop in registers: stores through a
    // byte pointer could otherwise alias every counter.
    const int capacity = static_cast<int>(buffer_.size());
    uint8_t* __restrict out = buffer_.data();
    Check local = check;
    // The bytes that end a plain run: ZDLE and the flow-control bytes, and with every control
    // byte escaped any byte whose low seven bits are below 32. A table keeps the scan free of
    // branches that random data would mispredict.
    static const auto kRunEnds = [] {
        std::array<std::array<bool, 256>, 2> t{};
        for (int escapeAll = 0; escapeAll < 2; ++escapeAll)
            for (int b = 0; b < 256; ++b)
                t[escapeAll][b] = !(b & 0x60) && (escapeAll || isZmodemControl(b));
        return t;
    }();
    const bool* runEnds = kRunEnds[escapeControls_].data();
    int size = 0;
    int c;
    for (;;) {
        // Plain bytes already taken from the link go straight through as one run, checked in
        // bulk; an escape, a control byte or an empty buffer goes the general way.
        const uint8_t* in = input_.data();
        const size_t start = inHead_;
        const size_t end = std::min(inTail_, start + static_cast<size_t>(capacity - size));
        size_t head = start;
        while (head < end && !runEnds[in[head]])
            ++head;
        std::memcpy(out + size, in + start, head - start);
        local.add(out + size, head - start);
        size += static_cast<int>(head - start);
        inHead_ = head;
        c = readEscaped(seconds);
        if (c < 0 || c > 0xFF) break;
        if (size >= capacity) {
            message("Data subpacket too long");
            return ZERROR;
        }
        out[size++] = static_cast<uint8_t>(c);
        local.add(static_cast<uint8_t>(c));
    }
    monitor_->SetBlockSize(size);
    if (c < GOTCRCE || c > GOTCRCW) return c;
    const int end = c;
    local.add(static_cast<uint8_t>(end));
    for (int i = 0; i < Check::kLength; ++i) {
        c = readEscaped(seconds);
        if (c < 0 || c > 0xFF) return c;
        local.add(static_cast<uint8_t>(c));
    }
    check = local;
    if (!check.good()) {
        message("%s", Check::kBad);
        return ZERROR;
    }
    return end;
}

int GFZmodem::ReadBinaryPacket(int seconds) {
    monitor_->SetBlockSize(0);
    Crc16Check crc16;
    Crc32Check crc32;
    const int c =
        crc32Frame_ ? readSubpacketData(crc32, seconds) : readSubpacketData(crc16, seconds);
    if ((c >= GOTCRCE && c <= GOTCRCW) || c == ZERROR) return c;
    if (c == GOTCAN) {
        message("Sender Canceled\n");
        return ZCAN;
    }
    if (c == GF_READ_TIMEOUT) {
        message("ReadBinaryPacket: Timeout");
        return GF_READ_TIMEOUT;
    }
    message("Garbled data subpacket");
    return c;
}

int GFZmodem::SendHexHeader(int type, const Header& hdr) {
    static const char digits[] = "0123456789abcdef";
    uint8_t raw[5] = {static_cast<uint8_t>(type), hdr[0], hdr[1], hdr[2], hdr[3]};
    const uint16_t crc = gfCrc16(0, raw, 5);
    uint8_t out[24] = {ZPAD, ZPAD, ZDLE, ZHEX};
    int n = 4;
    auto putHex = [&](uint8_t b) {
        out[n++] = digits[b >> 4];
        out[n++] = digits[b & 15];
    };
    for (uint8_t b : raw)
        putHex(b);
    putHex(static_cast<uint8_t>(crc >> 8));
    putHex(static_cast<uint8_t>(crc));
    out[n++] = '\r';
    out[n++] = '\n' | 0x80;
    if (type != ZFIN && type != ZACK) out[n++] = XON;
    link_->BeginHold();
    const int r = writeBlock(out, n);
    link_->EndHold();
    if (r) return r;
    crc32Data_ = false;
    if ((type == ZRQINIT || type == ZRINIT) && inputWaiting() > 0) return 0;
    if (type == ZACK) return 0;
    return WaitDrain(false) ? 0 : lastError();
}

void GFZmodem::encodeEscaped(uint8_t b, std::vector<uint8_t>& out) const {
    if (b == 0xFF) {
        out.push_back(ZDLE);
        out.push_back(ZRUB1);
    } else if ((b & 0x60) == 0 && (escapeControls_ || isZmodemControl(b))) {
        out.push_back(ZDLE);
        out.push_back(b ^ 0x40);
    } else {
        out.push_back(b);
    }
}

int GFZmodem::SendBinaryHeader(int type, const Header& hdr) {
    crc32Data_ = crc32Headers_;
    const uint8_t raw[5] = {static_cast<uint8_t>(type), hdr[0], hdr[1], hdr[2], hdr[3]};
    encoded_.assign({ZPAD, ZDLE, static_cast<uint8_t>(crc32Headers_ ? ZBIN32 : ZBIN)});
    for (uint8_t b : raw)
        encodeEscaped(b, encoded_);
    if (crc32Headers_) {
        const uint32_t crc = ~gfCrc32(0xFFFFFFFF, raw, 5);
        for (int i = 0; i < 4; ++i)
            encodeEscaped(static_cast<uint8_t>(crc >> (8 * i)), encoded_);
    } else {
        const uint16_t crc = gfCrc16(0, raw, 5);
        encodeEscaped(static_cast<uint8_t>(crc >> 8), encoded_);
        encodeEscaped(static_cast<uint8_t>(crc), encoded_);
    }
    link_->BeginHold();
    const int r = writeBlock(encoded_.data(), static_cast<int>(encoded_.size()));
    link_->EndHold();
    if (r) return r;
    if (type == ZDATA) return 0;
    return WaitDrain(false) ? 0 : lastError();
}

// A data subpacket: the escaped data, ZDLE and the end byte, the escaped CRC (over data and
// end), and an XON after ZCRCW; written as one block.
int GFZmodem::SendDataPacket(const uint8_t* data, int length, int end) {
    monitor_->SetCheck(crc32Data_ ? GF_CHECK_CRC32 : GF_CHECK_CRC16);
    encoded_.clear();
    encoded_.reserve(2 * length + 16);
    for (int i = 0; i < length; ++i)
        encodeEscaped(data[i], encoded_);
    encoded_.push_back(ZDLE);
    encoded_.push_back(static_cast<uint8_t>(end));
    if (crc32Data_) {
        const uint32_t crc = ~gfCrc32(gfCrc32(0xFFFFFFFF, data, length), static_cast<uint8_t>(end));
        for (int i = 0; i < 4; ++i)
            encodeEscaped(static_cast<uint8_t>(crc >> (8 * i)), encoded_);
    } else {
        const uint16_t crc = gfCrc16(gfCrc16(0, data, length), static_cast<uint8_t>(end));
        encodeEscaped(static_cast<uint8_t>(crc >> 8), encoded_);
        encodeEscaped(static_cast<uint8_t>(crc), encoded_);
    }
    if (end == ZCRCW) encoded_.push_back(XON);
    link_->BeginHold();
    const int r = writeBlock(encoded_.data(), static_cast<int>(encoded_.size()));
    link_->EndHold();
    if (r) {
        message("Error sending encoded character");
        return r;
    }
    if (end == ZCRCG) return 0;
    return WaitDrain(false) ? 0 : lastError();
}
