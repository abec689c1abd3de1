#include "xfer/GFFileNames.h"

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
