#include "videomail/MailComposer.h"

#include <locale.h>

#include <algorithm>
#include <cstdint>

#include "platform/TextCodec.h"
#include "videomail/Base64.h"

const char* const kMailTail = "\r\n--MessageBoundary--\r\n";

namespace {

// Mail readers decode this label as CP949.
constexpr const char* kCharset = "ks_c_5601-1987";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

std::string crlfLines(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// RFC 2047 encoded words of at most 75 characters, never splitting a double-byte character.
std::string encodedWords(std::string_view cp949) {
    constexpr size_t kBytesPerWord = 39;
    std::string out;
    for (size_t i = 0; i < cp949.size();) {
        size_t end = i;
        while (end < cp949.size()) {
            size_t width = static_cast<uint8_t>(cp949[end]) >= 0x80 ? 2 : 1;
            if (end + width - i > kBytesPerWord) break;
            end = std::min(end + width, cp949.size());
        }
        if (!out.empty()) out += "\r\n ";
        out += std::string("=?") + kCharset + "?B?" + encodeBase64(cp949.substr(i, end - i)) + "?=";
        i = end;
    }
    return out;
}

// A parameter as RFC 2231 writes text that a quoted string cannot carry.
std::string parameter(const std::string& name, std::string_view value) {
    bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        auto byte = static_cast<uint8_t>(c);
        return byte >= ' ' && byte < 0x7F && c != '"' && c != '\\';
    });
    if (plain) return name + "=\"" + std::string(value) + "\"";
    std::string out = name + "*=UTF-8''";
    for (char c : value) {
        auto byte = static_cast<uint8_t>(c);
        if (isalnum(byte) || std::string_view("!#$&+-.^_`|~").find(c) != std::string_view::npos) {
            out += c;
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        }
    }
    return out;
}

std::string join(const std::vector<std::string>& items, const char* separator) {
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : separator) + item;
    return out;
}

// The body part's text: the body, an empty line, and the signature after "----".
std::string bodyPartText(const MailContent& content) {
    std::string text = crlfLines(content.body) + "\r\n\r\n";
    if (content.hasSignature) text += "----\r\n" + crlfLines(content.signature) + "\r\n\r\n";
    return text;
}

}  // namespace

std::string videoMailBody(std::string_view typed) {
    static const std::string notice = utf8ToCp949Lossy(
        "첨부된 파일은 Postreel로 만든 비디오 메일입니다. 파일을 누르면 볼 수 있습니다.\n"
        "재생 프로그램 reelplay는 Quilite와 함께 배포됩니다.");
    return std::string(typed) + "\n\n" + std::string(72, '-') + "\n" + notice;
}

std::string mailDateLine(time_t when) {
    tm local{};
    localtime_r(&when, &local);
    locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    char stamp[64];
    strftime_l(stamp, sizeof stamp, "Date: %a, %e %b %Y %T ", &local, c);
    freelocale(c);
    long offset = std::clamp(local.tm_gmtoff / 60, -(23L * 60 + 59), 23L * 60 + 59);
    char zone[32];
    snprintf(zone, sizeof zone, "%c%02ld%02ld", offset < 0 ? '-' : '+', labs(offset) / 60,
             labs(offset) % 60);
    std::string line = std::string(stamp) + zone;
    if (local.tm_zone && *local.tm_zone) line += std::string(" (") + local.tm_zone + ")";
    return line;
}

bool needsEightBits(const MailContent& content) {
    return !isAscii(bodyPartText(content));
}

std::string composeMailHead(const MailContent& content, bool eightBitPath) {
    bool eightBit = needsEightBits(content);
    std::string subject =
        isAscii(content.subject) ? content.subject : encodedWords(content.subject);
    std::string head =
        "From: \"" + content.senderName + "\" <" + content.senderAddress + ">\r\n" +
        "CC: " + join(content.copies, ",") + "\r\n" + content.dateLine + "\r\n" +
        "Subject: " + subject + "\r\n" + "MIME-Version: 1.0 (Voice 2.0)\r\n" +
        "Content-Type: Multipart/Mixed; Boundary=\"MessageBoundary\"\r\n" +
        "Content-Transfer-Encoding: " + (eightBit && eightBitPath ? "8bit" : "7bit") + "\r\n\r\n" +
        "--MessageBoundary\r\n";
    std::string text = bodyPartText(content);
    if (!eightBit) {
        head += "\r\n" + text;
    } else {
        head += std::string("Content-Type: text/plain; charset=") + kCharset + "\r\n" +
                "Content-Transfer-Encoding: " + (eightBitPath ? "8bit" : "Base64") + "\r\n\r\n" +
                (eightBitPath ? text : encodeBase64Lines(text));
    }
    return head + "--MessageBoundary\r\n" + "Content-Type: application/x-msdownload; " +
           parameter("name", content.attachmentName) + "\r\n" +
           "Content-Transfer-Encoding: Base64\r\n" + "Content-Disposition: Attachment; " +
           parameter("Filename", content.attachmentName) + "\r\n\r\n";
}

std::string dotStuffed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c == '.') out += '.';
        out += c;
        lineStart = c == '\n';
    }
    return out;
}
