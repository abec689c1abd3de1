#include "xfer/GFFileNames.h"

#include <cstdio>
#include <cstring>

std::string gfReceivedFileName(const std::string& wireName) {
    size_t cut = wireName.find_last_of("/\\:");
    std::string base = cut == std::string::npos ? wireName : wireName.substr(cut + 1);
    std::string name;
    for (char ch : base) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b != 0x7F) name += ch;
    }
    if (name == "." || name == "..") name.clear();
    return name;
}

std::string gfSentFileName(const std::string& path) {
    size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

GFWireFileInfo gfParseFileInfo(const unsigned char* data, int size) {
    GFWireFileInfo info;
    const char* text = reinterpret_cast<const char*>(data);
    const void* zero = size > 0 ? std::memchr(text, 0, size) : nullptr;
    info.terminated = zero != nullptr;
    const int nameLength = zero ? static_cast<int>(static_cast<const char*>(zero) - text) : size;
    info.name.assign(text, nameLength);
    const int wordsStart = zero ? nameLength + 1 : size;
    std::string words(text + wordsStart, size - wordsStart);
    info.wordsEnded = words.find('\0') != std::string::npos;
    words = words.substr(0, words.find('\0'));

    long word = 0;
    if (std::sscanf(words.c_str(), "%ld", &word) == 1 && word > 0) info.length = word;
    if (std::sscanf(words.c_str(), "%*s %lo", &word) == 1) info.modified = word;
    unsigned mode = 0, serial = 0;
    std::sscanf(words.c_str(), "%*s %*s %o %o %d %ld", &mode, &serial, &info.filesLeft,
                &info.bytesLeft);
    return info;
}
