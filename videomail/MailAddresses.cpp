#include "videomail/MailAddresses.h"

#include <cstdint>

#include "platform/TextCodec.h"

namespace {

std::string_view trimmed(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == text.npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Blanks, control bytes, quotes and angle brackets would break the SMTP command or the header.
bool sendable(std::string_view address) {
    for (char c : address) {
        auto byte = static_cast<uint8_t>(c);
        if (byte <= ' ' || byte == 0x7F || c == '"' || c == '<' || c == '>') return false;
    }
    return address.size() <= kMaxAddressBytes;
}

}  // namespace

std::optional<std::vector<std::string>> splitAddresses(std::string_view field, std::string& error) {
    std::vector<std::string> addresses;
    size_t start = 0;
    while (start <= field.size()) {
        size_t comma = std::min(field.find(',', start), field.size());
        std::string_view piece = trimmed(field.substr(start, comma - start));
        start = comma + 1;
        if (piece.empty()) continue;
        if (!sendable(piece)) {
            error = "보낼 수 없는 주소입니다: " + cp949ToUtf8Lossy(piece);
            return std::nullopt;
        }
        addresses.emplace_back(piece);
    }
    if (addresses.size() > kMaxAddresses) {
        error = "주소는 50개까지 쓸 수 있습니다.";
        return std::nullopt;
    }
    return addresses;
}
