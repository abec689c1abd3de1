#include "auto/AutoMacroPage.h"

#include "auto/AutoMacroList.h"
#include "auto/RowSelection.h"
#include "auto/Services.h"
#include "platform/TextCodec.h"

namespace {

std::string field(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? std::string() : found->second;
}

}  // namespace

AutoMacroPage::AutoMacroPage(Registry& registry, Prompt& prompt, const std::string& service)
    : registry_(registry), prompt_(prompt), service_(service) {
    load();
}

std::vector<std::string> AutoMacroPage::Services() const {
    return ServiceNames(registry_);
}

void AutoMacroPage::load() {
    std::vector<Record> records;
    CRecordStore(registry_).LoadList(service_, RecordKind::AutoMacro, records);
    rows_.clear();
    for (Record& record : records) {
        const bool on = !AutoMacroOff(record);
        rows_.push_back({std::move(record), on});
    }
    modified_ = false;
}

void AutoMacroPage::SelectService(const std::string& service) {
    if (modified_ && prompt_.ask(cp949ToUtf8Lossy(service_) +
                                     " 자동 매크로가 변경되었습니다.\n\n저장하시겠습니까?",
                                 PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        Apply();
    }
    service_ = service;
    load();
}

void AutoMacroPage::SetOn(size_t row, bool on) {
    if (row >= rows_.size()) return;
    rows_[row].on = on;
    modified_ = true;
}

void AutoMacroPage::Add(const RecordDialog& dialog) {
    Record record;
    if (!dialog(record)) return;
    record["Title"] = uniqueTitle(field(record, "Title"), std::nullopt);
    rows_.push_back({std::move(record), true});
    modified_ = true;
}

void AutoMacroPage::Edit(size_t row, const RecordDialog& dialog) {
    if (row >= rows_.size()) return;
    Record record = rows_[row].record;
    if (!dialog(record)) return;
    record["Title"] = uniqueTitle(field(record, "Title"), row);
    rows_[row].record = std::move(record);
    modified_ = true;
}

void AutoMacroPage::DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog) {
    DoubleClickRows(
        selected, [&] { Add(dialog); }, [&](size_t row) { Edit(row, dialog); });
}

void AutoMacroPage::Delete(std::vector<size_t> selected) {
    if (selected.empty()) {
        prompt_.beep();
        return;
    }
    if (EraseRows(rows_, std::move(selected))) modified_ = true;
}

bool AutoMacroPage::Apply() {
    if (!modified_) return true;
    std::vector<Record> records;
    for (Row& row : rows_) {
        row.record["Off"] = row.on ? "0" : "1";
        records.push_back(row.record);
    }
    if (!CRecordStore(registry_).SaveList(service_, RecordKind::AutoMacro, records)) return false;
    modified_ = false;
    return true;
}

std::string AutoMacroPage::uniqueTitle(const std::string& title,
                                       std::optional<size_t> editing) const {
    return UniqueTitle(
        rows_, [](const Row& row) { return field(row.record, "Title"); }, title, editing);
}

std::string AutoMacroPage::RecordCaption(const Record& record) {
    const std::string title = field(record, "Title");
    return (title.empty() ? std::string("새") : cp949ToUtf8Lossy(title)) + " 자동 매크로 등록 정보";
}

std::optional<std::string> AutoMacroPage::CheckRecord(const Record& record) {
    if (field(record, "Title").empty()) return std::string("이름을(를) 입력하십시오.");
    if (field(record, "Pattern").empty())
        return std::string("찾을 문자열 패턴을(를) 입력하십시오.");
    return std::nullopt;
}
