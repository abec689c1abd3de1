#pragma once
// Text for the tools' JSON output.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// JSON string body: quotes, backslashes and control characters escaped.
inline std::string jsonEscape(std::string_view utf8) {
    std::string out;
    for (char c : utf8) {
        uint8_t u = static_cast<uint8_t>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;
        }
    }
    return out;
}
