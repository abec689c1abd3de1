#pragma once
// The stored form of log-in passwords: RC4 keyed by a per-user, per-installation text, written
// as upper-case hexadecimal. A password taken to another user or installation, or one that is
// not plain printable ASCII, comes back empty.
#include <string>
#include <string_view>

// The longest password that survives storage; longer ones are stored empty.
inline constexpr size_t kMaxStoredPassword = 130;

// The key text: the login name followed by the first line of /etc/machine-id, bytes from 0x80
// cut to seven bits, a resulting NUL made a space; "Kestrel42" when both are empty.
std::string PasswordKey();
// The same rule applied to given parts (the key source of tests and of PasswordKey).
std::string PasswordKeyFrom(std::string_view userName, std::string_view machineId);

// RC4 over the bytes, restarted from the key schedule (the key bytes taken cyclically).
std::string Rc4(std::string_view key, std::string_view data);

std::string ScramblePassword(std::string_view clear, std::string_view key);
std::string UnscramblePassword(std::string_view stored, std::string_view key);
// With the key built now.
std::string ScramblePassword(std::string_view clear);
std::string UnscramblePassword(std::string_view stored);
