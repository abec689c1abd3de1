#include "auto/MacroPage.h"

#include <algorithm>

#include "auto/RecordKinds.h"
#include "auto/RowSelection.h"
#include "auto/Services.h"
#include "platform/TextCodec.h"

namespace {

constexpr size_t kNoRow = static_cast<size_t>(-1);

}  // namespace

MacroPage::MacroPage(Registry& registry, Prompt& prompt, const std::string& service)
    : registry_(registry), prompt_(prompt), service_(service) {
    load();
}

std::vector<std::string> MacroPage::Services() const {
    return ServiceNames(registry_);
}

void MacroPage::load() {
    LoadMacros(registry_, service_, rows_);
    loadedNames_.clear();
    if (std::optional<RegKey> record = ServiceRecord(registry_, service_))
        if (std::optional<RegKey> key = registry_.openKey(*record, kMacroSubkey))
            for (const RegValue& value : registry_.values(*key))
                loadedNames_.push_back(value.name);
    modified_ = false;
}

void MacroPage::SelectService(const std::string& service) {
    if (modified_ &&
        prompt_.ask(cp949ToUtf8Lossy(service_) + " 매크로가 변경되었습니다.\n\n저장하시겠습니까?",
                    PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        Apply();
    }
    service_ = service;
    load();
}

bool MacroPage::duplicate(const MacroRow& row, size_t editing) const {
    const HotKey key = ParseKeyText(row.keyText);
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (i == editing || ParseKeyText(rows_[i].keyText) != key) continue;
        prompt_.tell(cp949ToUtf8Lossy(row.keyText) + " 매크로가 이미 존재합니다.",
                     PromptIcon::Warning);
        return true;
    }
    return false;
}

// The dialog opens again with what was entered while the key is taken.
void MacroPage::enter(MacroRow row, size_t editing, const RecordDialog& dialog) {
    do {
        if (!dialog(row)) return;
    } while (duplicate(row, editing));
    if (editing != kNoRow) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(editing));
    rows_.push_back(std::move(row));
    modified_ = true;
}

void MacroPage::Add(const RecordDialog& dialog) {
    enter({}, kNoRow, dialog);
}

void MacroPage::Edit(size_t row, const RecordDialog& dialog) {
    if (row < rows_.size()) enter(rows_[row], row, dialog);
}

void MacroPage::DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog) {
    DoubleClickRows(
        selected, [&] { Add(dialog); }, [&](size_t row) { Edit(row, dialog); });
}

void MacroPage::Delete(std::vector<size_t> selected) {
    if (selected.empty()) {
        prompt_.beep();
        return;
    }
    if (EraseRows(rows_, std::move(selected))) modified_ = true;
}

bool MacroPage::Apply() {
    if (!modified_) return true;
    std::optional<RegKey> record = ServiceRecord(registry_, service_);
    if (!record) return false;
    const bool saved = registry_.transaction([&] {
        std::optional<RegKey> key = registry_.createKey(*record, kMacroSubkey);
        if (!key) return false;
        std::vector<std::string> written;
        for (const MacroRow& row : rows_) {
            registry_.setValue(*key, row.keyText, row.contents);
            registry_.setValue(*key, "@" + row.keyText, row.name);
            written.push_back(Registry::foldName(row.keyText));
            written.push_back(Registry::foldName("@" + row.keyText));
        }
        for (const std::string& name : loadedNames_)
            if (std::find(written.begin(), written.end(), Registry::foldName(name)) ==
                written.end())
                registry_.deleteValue(*key, name);
        return true;
    });
    if (!saved) return false;
    load();
    registry_.listChanges().notify(RecordKind::Macro);
    return true;
}

std::string MacroPage::RecordCaption(const MacroRow& row) {
    return (row.name.empty() ? std::string("새") : cp949ToUtf8Lossy(row.name)) +
           " 매크로 등록 정보";
}

bool MacroPage::CheckRecord(const MacroRow& row, const std::vector<HotKey>& menuKeys,
                            Prompt& prompt) {
    const HotKey key = ParseKeyText(row.keyText);
    auto refuse = [&](const std::string& text) {
        prompt.tell(text, PromptIcon::Warning);
        return false;
    };
    if (!key.Valid()) return refuse("단축키를 입력하십시오.");
    if (IsTypingKey(key)) return refuse("일반 키는 단축키로 지정할 수 없습니다.");
    if (std::find(menuKeys.begin(), menuKeys.end(), key) != menuKeys.end() &&
        prompt.ask(KeyText(key) +
                       "는 퀼론 98 메뉴에서 사용하는 단축키이므로\n해당하는 메뉴의 단축기능을 "
                       "사용할 수 없습니다.\n\n그래도 사용하시겠습니까?",
                   PromptButtons::YesNo, PromptIcon::Warning) != PromptAnswer::Yes)
        return false;
    if (row.name.empty()) return refuse("이름을(를) 입력하십시오.");
    if (row.contents.empty()) return refuse("내용을(를) 입력하십시오.");
    return true;
}
