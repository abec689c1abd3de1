#include "videomail/Caption.h"

#include <cstdint>

#include "platform/TextCodec.h"

std::string cutCaption(std::string_view cp949) {
    size_t end = 0;
    while (end < cp949.size()) {
        size_t width = static_cast<uint8_t>(cp949[end]) >= 0x80 ? 2 : 1;
        if (end + width > kMaxCaptionBytes || end + width > cp949.size()) break;
        end += width;
    }
    return std::string(cp949.substr(0, end));
}

std::string captionRecordData(std::string_view utf8) {
    std::string text = cutCaption(utf8ToCp949Lossy(utf8));
    return text.empty() ? "." : text;
}
