#include "tools/demohost/ChatLines.h"

#include <cctype>

#include "platform/TextCodec.h"

namespace chat {

namespace {

std::string korean(const char* utf8) {
    return utf8ToCp949Lossy(utf8);
}

std::string padded(std::string_view id, size_t width, bool right) {
    const std::string pad(id.size() < width ? width - id.size() : 0, ' ');
    return right ? pad + std::string(id) : std::string(id) + pad;
}

std::string notice(std::string_view name, std::string_view id, const char* what) {
    return "## " + std::string(name) + "(" + std::string(id) + ") " + korean(what) + " ##";
}

bool isLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isTrail(unsigned char c) {
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
}

}  // namespace

std::string EnterLine(std::string_view name, std::string_view id) {
    return notice(name, id, "님이 입장하였습니다.");
}

std::string LeaveLine(std::string_view name, std::string_view id) {
    return notice(name, id, "님이 퇴장하였습니다.");
}

std::string SpeakerLine(std::string_view name, std::string_view id, std::string_view text) {
    return std::string(name) + "(" + padded(id, 8, false) + ")  " + std::string(text);
}

std::string WhisperSetLine(std::string_view id) {
    return "## " + std::string(id) + korean(" 님과 귀엣말이 설정되었습니다. ##");
}

std::string WhisperClearedLine(std::string_view id) {
    return "## " + std::string(id) + korean(" 님과의 귀엣말이 해제 되었습니다. ##");
}

std::string MemoLine(std::string_view from, std::string_view text) {
    return "## (From:" + std::string(from) + ") '" + std::string(text) + "'##";
}

std::string OnlineLine(std::string_view id, std::string_view name, std::string_view since) {
    return " ## " + padded(id, 8, true) + "(" + std::string(name) + ")" + korean("님은 대화실 ") +
           std::string(since) + korean("에 접속하였습니다(CHAT)");
}

std::string OfflineLine(std::string_view id) {
    return " ## " + padded(id, 8, true) + "(" + std::string(id) + ")" +
           korean("님은 현재 서비스를 사용하고 있지 않습니다.");
}

std::string LeavePrompt() {
    return korean(" 선택(H:도움말) >>");
}

std::string TypedId(std::string_view typed) {
    std::string id;
    for (unsigned char c : typed) {
        if (id.size() < 8 && c < 0x80 && std::isalnum(c)) id += static_cast<char>(std::tolower(c));
    }
    return id;
}

std::string Relayable(std::string_view typed) {
    std::string out;
    for (size_t i = 0; i < typed.size() && out.size() < kMaxRelayed; ++i) {
        const unsigned char c = typed[i];
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (isLead(c) && i + 1 < typed.size() && isTrail(typed[i + 1]) &&
                   out.size() + 2 <= kMaxRelayed) {
            out += typed.substr(i, 2);
            ++i;
        } else if (isLead(c) && i + 1 < typed.size() && isTrail(typed[i + 1])) {
            break;  // a character that would not fit whole
        }
    }
    return out;
}

}  // namespace chat
