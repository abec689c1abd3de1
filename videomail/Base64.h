#pragma once
// Base64 (standard alphabet, "=" padding) for mail.
#include <string>
#include <string_view>

std::string encodeBase64(std::string_view bytes);
// As mail bodies carry it: a CR LF after every 76 characters and at the end.
std::string encodeBase64Lines(std::string_view bytes);
