#pragma once
// The input of a command-line tool: the bytes of a file, or of standard input for none or "-",
// and its numeric options.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

// Nothing when the file cannot be read (errno tells why).
inline std::optional<std::string> ReadToolInput(const char* path) {
    if (!path || std::strcmp(path, "-") == 0)
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A whole decimal number within lo..hi; out is left as it was otherwise.
template <typename Number>
bool ParseToolNumber(const char* text, long lo, long hi, Number& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < lo || value > hi) return false;
    out = static_cast<Number>(value);
    return true;
}
