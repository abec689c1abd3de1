#pragma once
// The input of a command-line tool: the bytes of a file, or of standard input for none or "-".
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
