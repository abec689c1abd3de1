#include "auto/LoginSettingsPage.h"

#include <algorithm>

#include "auto/LoginChoice.h"
#include "auto/RowSelection.h"
#include "auto/Services.h"
#include "platform/TextCodec.h"

namespace {

std::string field(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

std::optional<RegKey> findService(CRecordStore& store, const std::string& service) {
    if (service.empty() || !store.SelectKind(RecordKind::ServiceValues)) return std::nullopt;
    return store.FindRecord(service);
}

}  // namespace

LoginSettingsPage::LoginSettingsPage(Registry& registry, Prompt& prompt, const std::string& service)
    : registry_(registry), prompt_(prompt), service_(service) {
    load();
}

std::vector<std::string> LoginSettingsPage::Services() const {
    return ServiceNames(registry_);
}

void LoginSettingsPage::load() {
    CRecordStore store(registry_);
    const std::optional<RegKey> key = findService(store, service_);
    serviceFound_ = key.has_value();
    patterns_ = {};
    rows_.clear();
    if (key) {
        Record values;
        store.ReadRecord(*key, values);
        patterns_ = {field(values, "LoginString"), field(values, "PasswordString")};
        store.LoadIdList(*key, rows_);
    }
    modified_ = false;
}

void LoginSettingsPage::SelectService(const std::string& service) {
    if (modified_ && prompt_.ask(cp949ToUtf8Lossy(service_) +
                                     " 자동 로긴 정보가 변경되었습니다.\n\n저장하시겠습니까?",
                                 PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        Save();
    }
    service_ = service;
    load();
}

std::string LoginSettingsPage::PasswordStars(const Record& row) {
    return std::string(field(row, "Password").size(), '*');
}

void LoginSettingsPage::Add(const RecordDialog& dialog) {
    Record record;
    if (!dialog(record)) return;
    rows_.push_back(std::move(record));
    modified_ = true;
}

void LoginSettingsPage::Edit(size_t row, const RecordDialog& dialog) {
    if (row >= rows_.size()) return;
    Record record = rows_[row];
    if (!dialog(record)) return;
    rows_[row] = std::move(record);
    modified_ = true;
}

void LoginSettingsPage::DoubleClick(const std::vector<size_t>& selected,
                                    const RecordDialog& dialog) {
    DoubleClickRows(
        selected, [&] { Add(dialog); }, [&](size_t row) { Edit(row, dialog); });
}

void LoginSettingsPage::Delete(std::vector<size_t> selected) {
    if (selected.empty()) {
        prompt_.beep();
        return;
    }
    if (EraseRows(rows_, std::move(selected))) modified_ = true;
}

void LoginSettingsPage::MakeDefault(std::optional<size_t> selected) {
    if (!selected || *selected == 0 || *selected >= rows_.size()) return;
    const auto row = rows_.begin() + static_cast<std::ptrdiff_t>(*selected);
    std::rotate(rows_.begin(), row, row + 1);
    modified_ = true;
}

bool LoginSettingsPage::TakePatterns(const LoginPatterns& edited) {
    for (auto [text, label] :
         {std::pair{&edited.login, "아이디"}, {&edited.password, "비밀번호"}}) {
        if (!text->empty()) continue;
        prompt_.tell(std::string(label) + "을(를) 입력하십시오.", PromptIcon::Warning);
        return false;
    }
    if (edited == patterns_) return true;
    const bool setOneChanged =
        (!patterns_.login.empty() && edited.login != patterns_.login) ||
        (!patterns_.password.empty() && edited.password != patterns_.password);
    if (setOneChanged) {
        if (prompt_.ask("이 패턴은 일반적으로 바꿀 필요가 없습니다.\n패턴을 바꾸면 입력된 "
                        "비밀번호는 모두 삭제됩니다.\n\n그래도 바꾸시겠습니까?",
                        PromptButtons::YesNo, PromptIcon::Warning) != PromptAnswer::Yes)
            return false;
        for (Record& row : rows_)
            row["Password"] = "";
    }
    patterns_ = edited;
    modified_ = true;
    return true;
}

bool LoginSettingsPage::Save() {
    if (!modified_) return true;
    CRecordStore store(registry_);
    const std::optional<RegKey> key = findService(store, service_);
    if (!key) return false;
    if (!store.WriteRecord(
            *key, {{"LoginString", patterns_.login}, {"PasswordString", patterns_.password}}) ||
        !store.SaveIdList(*key, rows_))
        return false;
    modified_ = false;
    return true;
}

std::string LoginSettingsPage::RecordCaption(const Record& record, bool adding) {
    if (adding) return "아이디 추가";
    const std::string id = field(record, "Title");
    return (id.empty() ? std::string("새") : cp949ToUtf8Lossy(id)) + " 아이디 등록 정보";
}

std::optional<std::string> LoginSettingsPage::CheckRecord(const Record& record) {
    if (std::optional<std::string> refusal = CheckLoginId(field(record, "Title"))) return refusal;
    return CheckLoginPassword(field(record, "Password"));
}
