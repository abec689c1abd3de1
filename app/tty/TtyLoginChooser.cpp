#include "app/tty/TtyLoginChooser.h"

#include <optional>

#include "platform/TextCodec.h"

namespace {

// The status line lists this many IDs by number; the others can still be typed.
constexpr size_t kNumberedIds = 9;

std::string field(const Record& record, const char* name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

std::string idLabel(const std::vector<Record>& ids, const LoginChoice& choice) {
    std::string label = "사용자 로그인:";
    for (size_t i = 0; i < ids.size() && i < kNumberedIds; ++i)
        label += " " + std::to_string(i + 1) + " " + cp949ToUtf8Lossy(field(ids[i], "Title"));
    if (!choice.id.empty()) label += "  [Enter: " + cp949ToUtf8Lossy(choice.id) + "]";
    label += choice.autoSelect ? "  [Tab: 자동선택 ●]" : "  [Tab: 자동선택 ○]";
    return label + "  아이디: ";
}

// The record a typed answer names: its number, or its ID itself.
std::optional<Record> pickedRecord(const std::vector<Record>& ids, const std::string& answer) {
    if (!answer.empty() && answer.size() <= 3 &&
        answer.find_first_not_of("0123456789") == std::string::npos) {
        const size_t number = std::stoul(answer);
        if (number >= 1 && number <= ids.size() && number <= kNumberedIds) return ids[number - 1];
    }
    for (const Record& record : ids)
        if (field(record, "Title") == answer) return record;
    return std::nullopt;
}

}  // namespace

bool ChooseLoginOnStatusLine(TtyPrompt& prompt, const std::vector<Record>& ids,
                             LoginChoice& choice) {
    LoginChoice chosen = choice;
    for (;;) {
        LineQuestion how;
        how.onTab = [&] {
            chosen.autoSelect = !chosen.autoSelect;
            return idLabel(ids, chosen);
        };
        const std::optional<std::string> answer = prompt.AskLine(idLabel(ids, chosen), how);
        if (!answer) return false;
        if (!answer->empty()) {
            const std::string typed = utf8ToCp949(*answer).value_or("");
            const std::optional<Record> record = pickedRecord(ids, typed);
            chosen.id = record ? field(*record, "Title") : typed;
            chosen.password = record ? field(*record, "Password") : "";
        }
        if (const std::optional<std::string> refusal = CheckLoginId(chosen.id)) {
            prompt.tell(*refusal, PromptIcon::Warning);
            continue;
        }
        break;
    }
    if (chosen.password.empty()) {
        LineQuestion masked;
        masked.masked = true;
        const std::optional<std::string> password =
            prompt.AskLine(cp949ToUtf8Lossy(chosen.id) + " 비밀번호: ", masked);
        if (!password) return false;
        chosen.password = *password;
    }
    choice = chosen;
    return true;
}
