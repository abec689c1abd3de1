// ZMODEM at the byte level: timed reads, escaping, headers and data subpackets.
#include <algorithm>

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
        c = link_->ReadByte();
        if (c >= 0) return c;
        if (clock_->nowMs() - start > limit) return GF_READ_TIMEOUT;
    }
}

// For the last words of a session: a hang-up or the user's abort ends the wait without
// recording anything.
int GFZmodem::readQuietByte(int seconds) {
    const int64_t start = clock_->nowMs();
    for (;;) {
        int c = link_->ReadByte();
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
        message("Bad escape sequence %x", c);
        setError(GF_TOO_MANY_ERRORS);
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
    int garbage = kGarbageLimit;
    int cans = 0;
    int result = 0;
    Header hdr{};
    for (bool found = false; !found;) {
        if (!padSeen) {
            int c = readByte(kReadSeconds);
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
        int c = read7(kReadSeconds);
        while (c == ZPAD) c = read7(kReadSeconds);
        if (c == ZDLE) c = read7(kReadSeconds);
        else if (c >= 0) c = 0;  // no ZDLE after the pad: garbage
        found = true;
        switch (c) {
            case ZBIN:
                monitor_->SetCheck(GF_CHECK_CRC16);
                crc32Frame_ = false;
                result = readBinaryHeader(hdr, false);
                break;
            case ZBIN32:
                monitor_->SetCheck(GF_CHECK_CRC32);
                crc32Frame_ = true;
                result = readBinaryHeader(hdr, true);
                break;
            case ZHEX:
                crc32Frame_ = false;
                result = readHexHeader(hdr);
                break;
            case 'D': message("ZBINR32"); result = c; break;
            case 'a': message("ZVBIN"); result = c; break;
            case 'b': message("ZVHEX"); result = c; break;
            case 'c': message("ZVBIN32"); result = c; break;
            case 'd': message("ZVBINR32"); result = c; break;
            case GF_READ_TIMEOUT: result = c; break;
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
    if (result == ZGARBAGE && skippingStaleData_) return result;
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
    monitor_->GetErrors() += 1;
    if (++monitor_->GetBlockErrorCount() >= 10) setError(GF_TOO_MANY_ERRORS);
}

int GFZmodem::readHexHeader(Header& hdr) {
    uint8_t raw[7];
    for (uint8_t& b : raw) {
        int hi = read7(kReadSeconds);
        if (hi < 0) return hi;
        int lo = read7(kReadSeconds);
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

int GFZmodem::readBinaryHeader(Header& hdr, bool crc32) {
    uint8_t raw[9];
    const int n = crc32 ? 9 : 7;
    for (int i = 0; i < n; ++i) {
        int c = readEscaped(kReadSeconds);
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
    bool good() const { return value == 0; }
    static constexpr int kLength = 2;
    static constexpr const char* kBad = "zrdat16: badcrc";
};

struct Crc32Check {
    uint32_t value = 0xFFFFFFFF;
    void add(uint8_t b) { value = gfCrc32(value, b); }
    bool good() const { return value == GF_CRC32_RESIDUE; }
    static constexpr int kLength = 4;
    static constexpr const char* kBad = "zrdat32: badcrc";
};

}  // namespace

// Reads a subpacket's data into the work buffer and its end and check bytes; the end (360 to
// 363) or what stopped the read.
template <class Check>
int GFZmodem::readSubpacketData(Check& check) {
    int& size = monitor_->GetBlockSize();
    const int capacity = static_cast<int>(buffer_.size());
    uint8_t* out = buffer_.data();
    int c;
    while ((c = readEscaped(kReadSeconds)) >= 0 && c <= 0xFF) {
        if (size >= capacity) {
            message("Data subpacket too long");
            return ZERROR;
        }
        out[size++] = static_cast<uint8_t>(c);
        check.add(static_cast<uint8_t>(c));
    }
    if (c < GOTCRCE || c > GOTCRCW) return c;
    const int end = c;
    check.add(static_cast<uint8_t>(end));
    for (int i = 0; i < Check::kLength; ++i) {
        c = readEscaped(kReadSeconds);
        if (c < 0 || c > 0xFF) return c;
        check.add(static_cast<uint8_t>(c));
    }
    if (!check.good()) {
        message("%s", Check::kBad);
        return ZERROR;
    }
    return end;
}

int GFZmodem::ReadBinaryPacket() {
    monitor_->SetBlockSize(0);
    Crc16Check crc16;
    Crc32Check crc32;
    const int c = crc32Frame_ ? readSubpacketData(crc32) : readSubpacketData(crc16);
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
    for (uint8_t b : raw) putHex(b);
    putHex(static_cast<uint8_t>(crc >> 8));
    putHex(static_cast<uint8_t>(crc));
    out[n++] = '\r';
    out[n++] = '\n' | 0x80;
    if (type != ZFIN && type != ZACK) out[n++] = XON;
    link_->BeginHold();
    for (int i = 0; i < n; ++i) {
        if (int r = WriteChar(out[i])) {
            link_->EndHold();
            return r;
        }
    }
    link_->EndHold();
    crc32Data_ = false;
    if ((type == ZRQINIT || type == ZRINIT) && link_->InputCount() > 0) return 0;
    if (type == ZACK) return 0;
    return WaitDrain(false) ? 0 : lastError();
}

int GFZmodem::writeEscaped(uint8_t b) {
    int escaped = -1;
    if (b == 0xFF) {
        escaped = ZRUB1;
    } else if ((b & 0x60) == 0 &&
               (escapeControls_ || b == XON || b == XOFF || b == ZDLE || b == (XON | 0x80) ||
                b == (XOFF | 0x80))) {
        escaped = b ^ 0x40;
    }
    if (escaped < 0) return WriteChar(b);
    if (int r = WriteChar(ZDLE)) return r;
    return WriteChar(escaped);
}

int GFZmodem::SendBinaryHeader(int type, const Header& hdr) {
    crc32Data_ = crc32Headers_;
    const uint8_t raw[5] = {static_cast<uint8_t>(type), hdr[0], hdr[1], hdr[2], hdr[3]};
    uint8_t check[4];
    int checkLength;
    if (crc32Headers_) {
        const uint32_t crc = ~gfCrc32(0xFFFFFFFF, raw, 5);
        for (int i = 0; i < 4; ++i) check[i] = static_cast<uint8_t>(crc >> (8 * i));
        checkLength = 4;
    } else {
        const uint16_t crc = gfCrc16(0, raw, 5);
        check[0] = static_cast<uint8_t>(crc >> 8);
        check[1] = static_cast<uint8_t>(crc);
        checkLength = 2;
    }
    link_->BeginHold();
    int r = WriteChar(ZPAD);
    if (!r) r = WriteChar(ZDLE);
    if (!r) r = WriteChar(crc32Headers_ ? ZBIN32 : ZBIN);
    for (int i = 0; i < 5 && !r; ++i) r = writeEscaped(raw[i]);
    for (int i = 0; i < checkLength && !r; ++i) r = writeEscaped(check[i]);
    link_->EndHold();
    if (r) return r;
    if (type == ZDATA) return 0;
    return WaitDrain(false) ? 0 : lastError();
}

int GFZmodem::SendDataPacket(const uint8_t* data, int length, int end) {
    link_->BeginHold();
    monitor_->SetCheck(crc32Data_ ? GF_CHECK_CRC32 : GF_CHECK_CRC16);
    auto failed = [this](const char* what, int r) {
        message("%s", what);
        link_->EndHold();
        return r;
    };
    uint32_t crc32 = 0xFFFFFFFF;
    uint16_t crc16 = 0;
    for (int i = 0; i < length; ++i) {
        if (int r = writeEscaped(data[i])) return failed("Error sending encoded character", r);
        if (crc32Data_) {
            crc32 = gfCrc32(crc32, data[i]);
        } else {
            crc16 = gfCrc16(crc16, data[i]);
        }
    }
    if (int r = WriteChar(ZDLE)) return failed("Error sending ZDLE", r);
    if (int r = WriteChar(end)) return failed("Error sending terminator", r);
    if (crc32Data_) {
        crc32 = ~gfCrc32(crc32, static_cast<uint8_t>(end));
        for (int i = 0; i < 4; ++i) {
            if (int r = writeEscaped(static_cast<uint8_t>(crc32 >> (8 * i))))
                return failed("Error sending CRC-32", r);
        }
    } else {
        crc16 = gfCrc16(crc16, static_cast<uint8_t>(end));
        int r = writeEscaped(static_cast<uint8_t>(crc16 >> 8));
        if (!r) r = writeEscaped(static_cast<uint8_t>(crc16));
        if (r) return failed("Error sending CRC-16", r);
    }
    if (end == ZCRCW) {
        if (int r = WriteChar(XON)) return failed("Error sending terminator", r);
    }
    link_->EndHold();
    if (end == ZCRCG) return 0;
    return WaitDrain(false) ? 0 : lastError();
}
