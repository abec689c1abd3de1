#pragma once
// What the log-in chooser starts with and gives back: the ID and password for this connection
// and the automatic selection check box; and the rules an ID must follow.
#include <optional>
#include <string>
#include <string_view>

struct LoginChoice {
    std::string id;        // CP949
    std::string password;  // clear text
    bool autoSelect = false;
};

// The message (UTF-8) for the first rule the ID (CP949) breaks: not empty, none of the nine
// characters " \/:*?"<>", and a letter, digit, double-byte character or '#' first.
std::optional<std::string> CheckLoginId(std::string_view id);
// The message for a password that would not survive storage: over 130 bytes, or a byte
// outside 0x20-0x7F.
std::optional<std::string> CheckLoginPassword(std::string_view password);
