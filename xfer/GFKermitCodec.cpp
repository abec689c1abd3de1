#include "xfer/GFKermitCodec.h"

#include <cctype>
#include <cstdio>

namespace gfkermit {

namespace {

int sixBitSum(const uint8_t* bytes, int n) {
    unsigned sum = 0;
    for (int i = 0; i < n; ++i)
        sum += bytes[i];
    sum &= 0xFF;
    return (sum + (sum >> 6)) & 63;
}

// Four bits at a time: a packet is short, so a 16-entry table is enough.
int crc16(const uint8_t* bytes, int n) {
    unsigned crc = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned b = bytes[i];
        crc = (crc >> 4) ^ (((crc ^ b) & 15) * 0x1081);
        crc = (crc >> 4) ^ (((crc ^ (b >> 4)) & 15) * 0x1081);
    }
    return static_cast<int>(crc & 0xFFFF);
}

}  // namespace

int blockCheck(int type, const uint8_t* bytes, int n) {
    return type == 3 ? crc16(bytes, n) : sixBitSum(bytes, n);
}

std::string checkChars(int type, int value) {
    if (type != 3) return std::string(1, static_cast<char>(toChar(value & 63)));
    return {static_cast<char>(toChar((value >> 12) & 15)),
            static_cast<char>(toChar((value >> 6) & 63)), static_cast<char>(toChar(value & 63))};
}

int readCheck(int type, const uint8_t* chars) {
    const auto bits = [](uint8_t c) { return static_cast<unsigned>(unChar(c)) & 63; };
    if (type != 3) return static_cast<int>(bits(chars[0]));
    return static_cast<int>(((bits(chars[0]) & 15) << 12) | (bits(chars[1]) << 6) | bits(chars[2]));
}

bool isPrefixChar(int c) {
    return (c >= 33 && c <= 62) || (c >= 96 && c <= 126);
}

namespace {

// One byte with its control and eighth-bit prefixes: at most three characters.
int encodeByte(const Prefixes& p, int b, char* out) {
    int n = 0;
    if (p.bin && (b & 0x80)) {
        out[n++] = static_cast<char>(p.bin);
        b &= 0x7F;
    }
    const int low = b & 0x7F;
    if (low < 32 || low == 127) {
        out[n++] = static_cast<char>(p.ctl);
        b = ctl(b);
    } else if (low == p.ctl || (p.bin && low == p.bin) || (p.rpt && low == p.rpt)) {
        out[n++] = static_cast<char>(p.ctl);
    }
    out[n++] = static_cast<char>(b);
    return n;
}

}  // namespace

int encode(const Prefixes& p, const uint8_t* in, int n, int capacity, std::string& out) {
    int taken = 0;
    while (taken < n) {
        int run = 1;
        if (p.rpt) {
            while (taken + run < n && run < kMaxRepeat && in[taken + run] == in[taken])
                ++run;
        }
        char unit[5];
        int length = 0;
        if (run >= 3) {
            unit[length++] = static_cast<char>(p.rpt);
            unit[length++] = static_cast<char>(toChar(run));
        } else {
            run = 1;
        }
        length += encodeByte(p, in[taken], unit + length);
        if (static_cast<int>(out.size()) + length > capacity) break;
        out.append(unit, length);
        taken += run;
    }
    return taken;
}

void decode(const Prefixes& p, const uint8_t* data, int n, std::string& out) {
    int i = 0;
    while (i < n) {
        int a = data[i++];
        int count = 1;
        if (p.rpt && a == p.rpt) {
            if (i + 1 >= n) return;
            count = unChar(data[i++]);
            if (count < 0) count = 0;
            a = data[i++];
        }
        int high = 0;
        if (p.bin && a == p.bin) {
            if (i >= n) return;
            high = 0x80;
            a = data[i++];
        }
        if (a == p.ctl) {
            if (i >= n) return;
            a = data[i++];
            const int low = a & 0x7F;
            if (low >= 63 && low <= 95) a = ctl(a);
        }
        out.append(static_cast<size_t>(count), static_cast<char>(a | high));
    }
}

namespace {

int number(const std::string& text, size_t at, size_t n) {
    return std::stoi(text.substr(at, n));
}

}  // namespace

bool parseDate(const std::string& text, std::tm& out) {
    size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        ++digits;
    }
    if (digits != 6 && digits != 8) return false;
    const int year =
        digits == 8 ? number(text, 0, 4) : (text[0] < '5' ? 2000 : 1900) + number(text, 0, 2);
    const int month = number(text, digits - 4, 2);
    const int day = number(text, digits - 2, 2);
    int hour = 0, minute = 0, second = 0;
    const size_t timeAt = text.find_first_not_of(' ', digits);
    if (timeAt != std::string::npos) {
        char extra = 0;
        const int fields =
            std::sscanf(text.c_str() + timeAt, "%2d:%2d:%2d%c", &hour, &minute, &second, &extra);
        if (fields < 2 || fields > 3) return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60) {
        return false;
    }
    out = std::tm{};
    out.tm_year = year - 1900;
    out.tm_mon = month - 1;
    out.tm_mday = day;
    out.tm_hour = hour;
    out.tm_min = minute;
    out.tm_sec = second;
    return true;
}

}  // namespace gfkermit
