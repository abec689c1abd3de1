#include "platform/TextCodec.h"

#include <iconv.h>

#include <cerrno>

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

std::optional<std::string> utf8ToCp949(std::string_view text) {
    return convertText("UTF-8", "CP949", text);
}

std::optional<std::string> utf16leToUtf8(std::string_view bytes) {
    return convertText("UTF-16LE", "UTF-8", bytes);
}

std::optional<std::string> utf8ToUtf16le(std::string_view text) {
    return convertText("UTF-8", "UTF-16LE", text);
}
