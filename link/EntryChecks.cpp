#include "link/EntryChecks.h"

#include <charconv>

#include "link/DialPlan.h"
#include "link/PhoneRecords.h"

namespace {

constexpr std::string_view kHostForbidden = "\\/:*?\"<>";

}  // namespace

std::optional<std::string> CheckRequired(std::string_view value, const std::string& label) {
    if (!value.empty()) return std::nullopt;
    return label + "을(를) 입력하십시오.";
}

std::optional<std::string> CheckHostName(std::string_view host) {
    if (host.find_first_of(std::string(kHostForbidden) + " ") == std::string_view::npos)
        return std::nullopt;
    return "호스트 이름에는 " + std::string(kHostForbidden) + "의 값과 공백을 입력할 수 없습니다.";
}

std::optional<std::string> CheckDialText(std::string_view value, const std::string& label) {
    if (IsDialText(value)) return std::nullopt;
    return OnlyCharsText(label, kDialChars);
}

std::optional<int> ParsePortText(std::string_view text) {
    int port = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return port;
}

std::optional<std::string> CheckPortText(std::string_view text) {
    if (ParsePortText(text)) return std::nullopt;
    return "포트 번호는 0부터 65535까지입니다.";
}

std::optional<PhoneFieldProblem> CheckPhoneFields(std::string_view area, std::string_view number,
                                                  Prompt& prompt) {
    using Field = PhoneFieldProblem::Field;
    if (auto message = CheckRequired(number, kNumberLabel)) return {{Field::Number, *message}};
    if (auto message = CheckDialText(number, kNumberLabel)) return {{Field::Number, *message}};
    if (!area.empty()) {
        if (auto message = CheckDialText(area, kAreaCodeLabel)) return {{Field::Area, *message}};
        return std::nullopt;
    }
    if (prompt.ask("지역번호를 입력하십시오.\n\n전국 전화번호입니까?", PromptButtons::YesNo,
                   PromptIcon::Question) == PromptAnswer::Yes)
        return std::nullopt;
    return {{Field::Area, *CheckRequired(area, kAreaCodeLabel)}};
}
