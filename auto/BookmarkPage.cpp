#include "auto/BookmarkPage.h"

#include "auto/Bookmarks.h"
#include "auto/RowSelection.h"
#include "auto/Services.h"
#include "platform/TextCodec.h"

namespace {

std::string titleOf(const Record& bookmark) {
    return BookmarkField(bookmark, "Title");
}

}  // namespace

BookmarkPage::BookmarkPage(Registry& registry, Prompt& prompt, const std::string& service)
    : registry_(registry), prompt_(prompt), service_(service) {
    load();
}

std::vector<std::string> BookmarkPage::Services() const {
    return ServiceNames(registry_);
}

void BookmarkPage::load() {
    rows_ = LoadBookmarks(registry_, service_);
    modified_ = false;
}

void BookmarkPage::SelectService(const std::string& service) {
    if (modified_ &&
        prompt_.ask(cp949ToUtf8Lossy(service_) + " 책갈피가 변경되었습니다.\n\n저장하시겠습니까?",
                    PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        Save();
    }
    service_ = service;
    load();
}

void BookmarkPage::Add(const RecordDialog& dialog) {
    Record bookmark;
    if (!dialog(bookmark)) return;
    bookmark["Title"] = UniqueTitle(rows_, titleOf, titleOf(bookmark), std::nullopt);
    rows_.push_back(std::move(bookmark));
    modified_ = true;
}

void BookmarkPage::Edit(size_t row, const RecordDialog& dialog) {
    if (row >= rows_.size()) return;
    Record bookmark = rows_[row];
    if (!dialog(bookmark)) return;
    if (BookmarkReadOnly(rows_[row])) {  // the dialog shows them locked; they stay so
        bookmark["Title"] = titleOf(rows_[row]);
        bookmark["Location"] = BookmarkField(rows_[row], "Location");
    }
    bookmark["Title"] = UniqueTitle(rows_, titleOf, titleOf(bookmark), row);
    rows_[row] = std::move(bookmark);
    modified_ = true;
}

void BookmarkPage::DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog) {
    DoubleClickRows(
        selected, [&] { Add(dialog); }, [&](size_t row) { Edit(row, dialog); });
}

std::vector<size_t> BookmarkPage::Deletable(const std::vector<size_t>& selected) const {
    std::vector<size_t> rows;
    for (size_t row : selected)
        if (row < rows_.size() && !BookmarkReadOnly(rows_[row])) rows.push_back(row);
    return rows;
}

void BookmarkPage::Delete(const std::vector<size_t>& selected) {
    if (EraseRows(rows_, Deletable(selected))) modified_ = true;
}

bool BookmarkPage::Save() {
    if (!modified_) return true;
    if (!CRecordStore(registry_).SaveList(service_, RecordKind::Bookmark, rows_)) return false;
    modified_ = false;
    return true;
}

std::string BookmarkPage::RecordCaption(const Record& bookmark) {
    const std::string title = titleOf(bookmark);
    return (title.empty() ? std::string("새") : cp949ToUtf8Lossy(title)) + " 책갈피 등록 정보";
}

std::optional<std::string> BookmarkPage::CheckRecord(const Record& bookmark) {
    if (titleOf(bookmark).empty()) return std::string("이름을(를) 입력하십시오.");
    if (BookmarkField(bookmark, "Location").empty()) return std::string("위치을(를) 입력하십시오.");
    return std::nullopt;
}
