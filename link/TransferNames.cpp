#include "link/TransferNames.h"

#include <cstdint>

#include "platform/TextCodec.h"
#include "xfer/GFFileNames.h"

namespace {

bool isLeadByte(uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}

}  // namespace

std::string localFileName(const std::string& hostName) {
    std::string name;
    for (size_t i = 0; i < hostName.size(); ++i) {
        const uint8_t b = static_cast<uint8_t>(hostName[i]);
        if (b < 0x20 || b == 0x7F) continue;
        if (b < 0x80) {
            name += b == '/' ? '_' : static_cast<char>(b);
            continue;
        }
        if (isLeadByte(b) && i + 1 < hostName.size()) {
            if (auto pair = cp949ToUtf8(hostName.substr(i, 2))) {
                name += *pair;
                ++i;
                continue;
            }
        }
        name += '_';
    }
    if (name == "." || name == "..") return "";
    return name;
}

std::string hostFileName(const std::string& path) {
    const std::string name = gfSentFileName(path);
    return utf8ToCp949(name).value_or(name);
}
