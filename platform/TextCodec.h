#pragma once
// Conversions between CP949 (the code of settings, records and host text) and the Unicode forms
// used at the edges: UTF-8 for terminals and widgets, UTF-16LE for Unicode registry files.
// Each returns nothing when the input is malformed or the target cannot hold a character.
#include <optional>
#include <string>
#include <string_view>

std::optional<std::string> convertText(const char* from, const char* to, std::string_view text);

std::optional<std::string> cp949ToUtf8(std::string_view text);
// For showing host text: a byte that does not convert becomes U+FFFD and the rest still
// converts.
std::string cp949ToUtf8Lossy(std::string_view text);
std::optional<std::string> utf8ToCp949(std::string_view text);
// For typed and pasted text: a character CP949 has no code for becomes '?'.
std::string utf8ToCp949Lossy(std::string_view text);
// Pasted text for the host: a line end given as a lone LF becomes CR LF (the session skips LF,
// so every line end must carry its CR).
std::string pastedLineEnds(std::string_view text);
std::optional<std::string> utf16leToUtf8(std::string_view bytes);
std::optional<std::string> utf8ToUtf16le(std::string_view text);
