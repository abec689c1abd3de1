#pragma once
// The bookmark editor "책갈피 편집" without widgets: one service's bookmarks as the user edits
// them, adding, editing, deleting (read-only ones stay), the service selector with its save
// question, and OK storing the list in one transaction. The window draws it; the record dialog
// is handed in as a function. Names and records are CP949, messages UTF-8.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "platform/Prompt.h"

class BookmarkPage {
public:
    static constexpr char kCaption[] = "책갈피 편집";
    static constexpr char kServiceLabel[] = "통신망 종류(&B):";
    static constexpr char kColumns[] = "  이름\t위치\t방문시간";
    static constexpr int kNameWidth = 14, kLocationWidth = 10, kTimeWidth = 4;
    // The buttons, in the order the list's right-click menu offers them.
    static constexpr const char* kButtons[] = {"등록(&N)", "삭제(&D)", "등록 정보(&R)"};

    // The record dialog: edits the bookmark, false when cancelled.
    using RecordDialog = std::function<bool(Record& bookmark)>;

    BookmarkPage(Registry& registry, Prompt& prompt, const std::string& service);

    std::vector<std::string> Services() const;
    const std::string& Service() const { return service_; }
    // A modified list is offered for saving first.
    void SelectService(const std::string& service);

    const std::vector<Record>& Rows() const { return rows_; }
    bool Modified() const { return modified_; }
    void Add(const RecordDialog& dialog);
    void Edit(size_t row, const RecordDialog& dialog);
    // Nothing selected adds, one selected row edits.
    void DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog);
    // The selected rows that may go: read-only bookmarks are left out (and stay selected no
    // more in the window).
    std::vector<size_t> Deletable(const std::vector<size_t>& selected) const;
    // Removes the deletable selected rows without asking.
    void Delete(const std::vector<size_t>& selected);
    // Stores the list when modified; false when the store failed (nothing changed then).
    bool Save();

    // The record dialog's caption: "%s 책갈피 등록 정보" with the title, or "새".
    static std::string RecordCaption(const Record& bookmark);
    // The message for a bookmark the dialog may not accept (no name or no location).
    static std::optional<std::string> CheckRecord(const Record& bookmark);

private:
    void load();

    Registry& registry_;
    Prompt& prompt_;
    std::string service_;
    std::vector<Record> rows_;
    bool modified_ = false;
};
