#pragma once
// Data and names that exercise Kermit's prefixing, for the Kermit tests and benchmark.
#include <string>
#include <vector>

namespace kermittest {

// Every byte value, then long runs of 0xFF and of the bytes that are prefixes or become
// prefixed (#, &, ~, their eighth-bit twins, DEL, CR, NUL), then short runs of every length.
inline std::string awkwardData() {
    std::string s;
    for (int i = 0; i < 256; ++i)
        s += static_cast<char>(i);
    for (char c : {'\xff', '#', '&', '~', '\xa3', '\xa6', '\xfe', '\x7f', '\r', '\0', '\x80'})
        s += std::string(1000, c);
    for (int n = 1; n <= 100; ++n)
        s += std::string(n, static_cast<char>(n * 7));
    return s;
}

// File names with the prefix characters, spaces and Korean (UTF-8).
inline std::vector<std::string> awkwardNames() {
    return {"hash#amp&tilde~.bin", "two  spaces and ~~.txt", "한글 자료 #1.dat", "&~#"};
}

}  // namespace kermittest
