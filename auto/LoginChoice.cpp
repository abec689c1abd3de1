#include "auto/LoginChoice.h"

#include "auto/PasswordScrambler.h"

namespace {

bool asciiAlphanumeric(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::optional<std::string> CheckLoginId(std::string_view id) {
    static constexpr std::string_view kForbidden = " \\/:*?\"<>";
    if (id.empty()) return "아이디을(를) 입력하십시오.";
    if (id.find_first_of(kForbidden) != std::string_view::npos)
        return "아이디에는 " + std::string(kForbidden) + "의 값과 공백을 입력할 수 없습니다.";
    const unsigned char first = static_cast<unsigned char>(id[0]);
    if (!asciiAlphanumeric(first) && first < 0x81 && first != '#')
        return "아이디의 첫자는 한글이나 영문, 숫자로 시작해야 합니다.";
    return std::nullopt;
}

std::optional<std::string> CheckLoginPassword(std::string_view password) {
    bool printable = true;
    for (unsigned char c : password)
        printable = printable && c >= 0x20 && c <= 0x7F;
    if (printable && password.size() <= kMaxStoredPassword) return std::nullopt;
    return "비밀번호는 130자 이내의 영문, 숫자, 기호로 입력하십시오.";
}
