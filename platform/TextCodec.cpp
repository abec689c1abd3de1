#include "platform/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

std::optional<std::string> convertText(const char* from, const char* to, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    bool ok = true;
    // The final call with no input flushes any shift state of the target.
    for (bool flushing = false;;) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = flushing ? iconv(cd, nullptr, nullptr, &dst, &dstLeft)
                             : iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
        if (rc != static_cast<size_t>(-1)) {
            if (flushing) break;
            flushing = true;
        }
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

std::optional<std::string> cp949ToUtf8(std::string_view text) {
    return convertText("CP949", "UTF-8", text);
}

std::string cp949ToUtf8Lossy(std::string_view text) {
    iconv_t cd = iconv_open("UTF-8", "CP949");
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        // One character at a time, so a bad byte costs only itself.
        size_t length = static_cast<uint8_t>(text[i]) >= 0x80 && i + 1 < text.size() ? 2 : 1;
        char buffer[8];
        char* src = const_cast<char*>(text.data() + i);
        size_t srcLeft = length;
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) {
            out.append(buffer, dst - buffer);
            i += length;
        } else {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out += "\xEF\xBF\xBD";
            i += 1;
        }
    }
    iconv_close(cd);
    return out;
}

std::optional<std::string> utf8ToCp949(std::string_view text) {
    return convertText("UTF-8", "CP949", text);
}

std::string utf8ToCp949Lossy(std::string_view text) {
    if (std::optional<std::string> whole = utf8ToCp949(text)) return *whole;
    std::string out;
    for (size_t at = 0; at < text.size();) {
        size_t end = at + 1;
        while (end < text.size() && (static_cast<uint8_t>(text[end]) & 0xC0) == 0x80)
            ++end;
        out += utf8ToCp949(text.substr(at, end - at)).value_or("?");
        at = end;
    }
    return out;
}

std::string pastedLineEnds(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::optional<std::string> utf16leToUtf8(std::string_view bytes) {
    return convertText("UTF-16LE", "UTF-8", bytes);
}

std::optional<std::string> utf8ToUtf16le(std::string_view text) {
    return convertText("UTF-8", "UTF-16LE", text);
}
