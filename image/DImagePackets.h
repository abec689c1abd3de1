#pragma once
// The inline picture packets: SOH, a type letter, a check byte, the data, CR. The check byte and
// the data use "#" as a prefix ("##" is "#", "#c" is c XOR 64); the check is the 8-bit sum of
// the decoded data. The parser is a chain of one-byte handlers; the writer frames packets the
// way a host sends them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr uint8_t kSoh = 1, kCr = 13, kPacketPrefix = '#';
// Decoded data bytes a packet may hold; a longer packet is bad and nothing past it is kept.
constexpr size_t kPacketCapacity = 2048;

struct DImagePacket {
    char type = 0;
    uint8_t check = 0;
    std::vector<uint8_t> data;
    bool malformed = false;  // too long, cut short, or a prefix without its byte
    // The check byte matches and the packet is whole.
    bool good() const;
};

class DImagePacketParser {
public:
    // One byte; true when it ended a packet (CR), which packet() then holds. SOH anywhere starts
    // a new packet.
    bool put(uint8_t byte);
    const DImagePacket& packet() const { return packet_; }

private:
    using Handler = bool (DImagePacketParser::*)(uint8_t);
    bool waitStart(uint8_t byte);
    bool typeLetter(uint8_t byte);
    bool checkByte(uint8_t byte);
    bool dataByte(uint8_t byte);
    // Undoes the "#" prefix; false while the byte was the prefix itself.
    bool unprefix(uint8_t& byte);
    bool endPacket();

    Handler handler_ = &DImagePacketParser::waitStart;
    DImagePacket packet_;
    bool prefixed_ = false;
};

// A framed packet; its check byte is the data's sum unless one is given.
std::string dimagePacket(char type, std::string_view data, int check = -1);
// The answer to a packet: the letter with check 0 and no data.
std::string dimageAnswer(char type);
// A whole inline picture as a host sends it, not waiting for answers: the start sequence, the
// start packet placing it at (column, row), the data in packets of packetSize bytes, the end
// packet and the end sequence.
std::string dimageStream(std::string_view picture, int column, int row, size_t packetSize);
