#pragma once
// The two checks of the transfer protocols: CRC-16/XMODEM (polynomial 0x1021, start 0) and
// the CRC-32 of ZMODEM (reflected 0xEDB88320, start 0xFFFFFFFF, sent inverted). The tables are
// built by the compiler.
#include <array>
#include <cstddef>
#include <cstdint>

namespace gfcrc_detail {

constexpr std::array<uint16_t, 256> makeCrc16Table() {
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        t[i] = static_cast<uint16_t>(crc);
    }
    return t;
}

// Slice k: the CRC-16 of a byte followed by k zero bytes, so that eight bytes are folded in
// with eight independent lookups.
constexpr std::array<std::array<uint16_t, 256>, 8> makeCrc16Slices() {
    std::array<std::array<uint16_t, 256>, 8> t{};
    t[0] = makeCrc16Table();
    for (int k = 1; k < 8; ++k) {
        for (unsigned i = 0; i < 256; ++i) {
            t[k][i] = static_cast<uint16_t>((t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 8]);
        }
    }
    return t;
}

constexpr std::array<uint32_t, 256> makeCrc32Table() {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        t[i] = crc;
    }
    return t;
}

// Slice k: the CRC-32 of a byte followed by k zero bytes, for the same eight-way folding.
constexpr std::array<std::array<uint32_t, 256>, 8> makeCrc32Slices() {
    std::array<std::array<uint32_t, 256>, 8> t{};
    t[0] = makeCrc32Table();
    for (int k = 1; k < 8; ++k) {
        for (unsigned i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    }
    return t;
}

}  // namespace gfcrc_detail

inline constexpr std::array<uint16_t, 256> GF_CRC16_TABLE = gfcrc_detail::makeCrc16Table();
inline constexpr std::array<std::array<uint16_t, 256>, 8> GF_CRC16_SLICES =
    gfcrc_detail::makeCrc16Slices();
inline constexpr std::array<uint32_t, 256> GF_CRC32_TABLE = gfcrc_detail::makeCrc32Table();
inline constexpr std::array<std::array<uint32_t, 256>, 8> GF_CRC32_SLICES =
    gfcrc_detail::makeCrc32Slices();

// What a CRC-32 run over data and its (inverted, low byte first) CRC ends at.
inline constexpr uint32_t GF_CRC32_RESIDUE = 0xDEBB20E3;

inline uint16_t gfCrc16(uint16_t crc, uint8_t b) {
    return static_cast<uint16_t>((crc << 8) ^ GF_CRC16_TABLE[((crc >> 8) ^ b) & 0xFF]);
}
inline uint32_t gfCrc32(uint32_t crc, uint8_t b) {
    return GF_CRC32_TABLE[(crc ^ b) & 0xFF] ^ (crc >> 8);
}
inline uint16_t gfCrc16(uint16_t crc, const uint8_t* data, size_t n) {
    const auto& t = GF_CRC16_SLICES;
    for (; n >= 8; data += 8, n -= 8) {
        crc = t[7][(crc >> 8) ^ data[0]] ^ t[6][(crc & 0xFF) ^ data[1]] ^ t[5][data[2]] ^
              t[4][data[3]] ^ t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
    }
    for (size_t i = 0; i < n; ++i)
        crc = gfCrc16(crc, data[i]);
    return crc;
}
inline uint32_t gfCrc32(uint32_t crc, const uint8_t* data, size_t n) {
    const auto& t = GF_CRC32_SLICES;
    for (; n >= 8; data += 8, n -= 8) {
        crc = t[7][(crc ^ data[0]) & 0xFF] ^ t[6][((crc >> 8) ^ data[1]) & 0xFF] ^
              t[5][((crc >> 16) ^ data[2]) & 0xFF] ^ t[4][(crc >> 24) ^ data[3]] ^ t[3][data[4]] ^
              t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
    }
    for (size_t i = 0; i < n; ++i)
        crc = gfCrc32(crc, data[i]);
    return crc;
}
