#include "auto/PasswordScrambler.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <fstream>

namespace {

std::string loginName() {
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_name ? entry->pw_name : "";
}

std::string machineId() {
    std::ifstream in("/etc/machine-id");
    std::string line;
    if (!in || !std::getline(in, line)) return "";
    return line;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

bool printable(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c > 0x7F) return false;
    return true;
}

}  // namespace

std::string PasswordKeyFrom(std::string_view userName, std::string_view machineId) {
    std::string key;
    key.reserve(userName.size() + machineId.size());
    for (std::string_view part : {userName, machineId})
        for (unsigned char c : part) {
            const char low = static_cast<char>(c & 0x7F);
            key += low == 0 ? ' ' : low;
        }
    return key.empty() ? "Kestrel42" : key;
}

std::string PasswordKey() {
    return PasswordKeyFrom(loginName(), machineId());
}

std::string Rc4(std::string_view key, std::string_view data) {
    std::array<uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<uint8_t>(i);
    if (!key.empty()) {
        uint8_t j = 0;
        for (int i = 0; i < 256; ++i) {
            j = static_cast<uint8_t>(j + s[i] + static_cast<uint8_t>(key[i % key.size()]));
            std::swap(s[i], s[j]);
        }
    }
    std::string out(data);
    uint8_t i = 0, j = 0;
    for (char& c : out) {
        i = static_cast<uint8_t>(i + 1);
        j = static_cast<uint8_t>(j + s[i]);
        std::swap(s[i], s[j]);
        c = static_cast<char>(c ^ s[static_cast<uint8_t>(s[i] + s[j])]);
    }
    return out;
}

std::string ScramblePassword(std::string_view clear, std::string_view key) {
    if (clear.empty() || clear.size() > kMaxStoredPassword) return "";
    static const char digits[] = "0123456789ABCDEF";
    std::string stored;
    for (unsigned char c : Rc4(key, clear)) {
        stored += digits[c >> 4];
        stored += digits[c & 0x0F];
    }
    return stored;
}

std::string UnscramblePassword(std::string_view stored, std::string_view key) {
    if (stored.empty() || stored.size() % 2 != 0) return "";
    std::string cipher;
    for (size_t i = 0; i < stored.size(); i += 2)
        cipher += static_cast<char>(hexDigit(stored[i]) << 4 | hexDigit(stored[i + 1]));
    std::string clear = Rc4(key, cipher);
    return printable(clear) ? clear : "";
}

std::string ScramblePassword(std::string_view clear) {
    return ScramblePassword(clear, PasswordKey());
}

std::string UnscramblePassword(std::string_view stored) {
    return UnscramblePassword(stored, PasswordKey());
}
