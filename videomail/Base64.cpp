#include "videomail/Base64.h"

#include <cstdint>

std::string encodeBase64(std::string_view bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::string encodeBase64Lines(std::string_view bytes) {
    constexpr size_t kLine = 76;
    std::string flat = encodeBase64(bytes);
    std::string out;
    out.reserve(flat.size() + flat.size() / kLine * 2 + 2);
    for (size_t i = 0; i < flat.size(); i += kLine)
        out.append(flat, i, kLine).append("\r\n");
    if (flat.empty()) out = "\r\n";
    return out;
}
