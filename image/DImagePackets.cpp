#include "image/DImagePackets.h"

bool DImagePacket::good() const {
    if (malformed) return false;
    uint8_t sum = 0;
    for (uint8_t b : data)
        sum = static_cast<uint8_t>(sum + b);
    return sum == check;
}

bool DImagePacketParser::put(uint8_t byte) {
    if (byte == kSoh) {
        packet_ = DImagePacket{};
        prefixed_ = false;
        handler_ = &DImagePacketParser::typeLetter;
        return false;
    }
    return (this->*handler_)(byte);
}

bool DImagePacketParser::waitStart(uint8_t) {
    return false;
}

bool DImagePacketParser::typeLetter(uint8_t byte) {
    if (byte == kCr) {
        packet_.malformed = true;
        return endPacket();
    }
    packet_.type = static_cast<char>(byte);
    handler_ = &DImagePacketParser::checkByte;
    return false;
}

bool DImagePacketParser::unprefix(uint8_t& byte) {
    if (prefixed_) {
        prefixed_ = false;
        if (byte != kPacketPrefix) byte ^= 64;
        return true;
    }
    if (byte == kPacketPrefix) {
        prefixed_ = true;
        return false;
    }
    return true;
}

bool DImagePacketParser::checkByte(uint8_t byte) {
    if (byte == kCr) {
        packet_.malformed = true;
        return endPacket();
    }
    if (!unprefix(byte)) return false;
    packet_.check = byte;
    handler_ = &DImagePacketParser::dataByte;
    return false;
}

bool DImagePacketParser::dataByte(uint8_t byte) {
    if (byte == kCr) {
        if (prefixed_) packet_.malformed = true;
        return endPacket();
    }
    if (!unprefix(byte)) return false;
    if (packet_.data.size() < kPacketCapacity) {
        packet_.data.push_back(byte);
    } else {
        packet_.malformed = true;
    }
    return false;
}

bool DImagePacketParser::endPacket() {
    handler_ = &DImagePacketParser::waitStart;
    prefixed_ = false;
    return true;
}

static void appendPrefixed(std::string& out, uint8_t byte) {
    if (byte == kPacketPrefix) {
        out += "##";
    } else if (byte < 32 || byte == 127) {
        out += '#';
        out += static_cast<char>(byte ^ 64);
    } else {
        out += static_cast<char>(byte);
    }
}

std::string dimagePacket(char type, std::string_view data, int check) {
    uint8_t sum = 0;
    for (char c : data)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    if (check >= 0) sum = static_cast<uint8_t>(check);
    std::string out;
    out += static_cast<char>(kSoh);
    out += type;
    appendPrefixed(out, sum);
    for (char c : data)
        appendPrefixed(out, static_cast<uint8_t>(c));
    out += static_cast<char>(kCr);
    return out;
}

std::string dimageAnswer(char type) {
    return dimagePacket(type, "");
}

std::string dimageStream(std::string_view picture, int column, int row, size_t packetSize) {
    std::string out = "\x1b%B4";
    out += dimagePacket('A', std::to_string(column) + " " + std::to_string(row));
    for (size_t at = 0; at < picture.size(); at += packetSize)
        out += dimagePacket('D', picture.substr(at, packetSize));
    out += dimagePacket('Z', "");
    out += "\x1b%C";
    return out;
}
