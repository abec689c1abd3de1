#pragma once
// Recipient fields: addresses separated by commas, each piece trimmed, blank pieces dropped.
// No address is cut or dropped otherwise: one that cannot be sent as it stands is refused.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kMaxAddresses = 50;
constexpr size_t kMaxAddressBytes = 254;

// The addresses of a field; nothing with `error` (UTF-8) naming what is wrong.
std::optional<std::vector<std::string>> splitAddresses(std::string_view field, std::string& error);
