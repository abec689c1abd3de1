#pragma once
// The "자동" page of the macro settings, without widgets: one service's auto macros as the user
// edits them (rows with their on boxes), adding, editing, deleting, the service selector with
// its save question, and Apply storing the rows. The window draws it; the record dialog is
// handed in as a function. Names and records are CP949, messages UTF-8.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "platform/Prompt.h"

class AutoMacroPage {
public:
    static constexpr char kTitle[] = "자동";
    static constexpr char kServiceLabel[] = "통신망 종류(&B):";
    static constexpr char kColumns[] = "   이름\t찾을 문자 패턴\t보낼 문자열";
    static constexpr int kNameWidth = 8, kPatternWidth = 15;  // average character widths
    // The buttons, in the order the list's right-click menu offers them.
    static constexpr const char* kButtons[] = {"등록 정보(&R)", "등록(&N)", "삭제(&D)"};

    struct Row {
        Record record;
        bool on = true;
    };
    // The record dialog: edits the record, false when cancelled.
    using RecordDialog = std::function<bool(Record& record)>;

    AutoMacroPage(Registry& registry, Prompt& prompt, const std::string& service);

    std::vector<std::string> Services() const;
    const std::string& Service() const { return service_; }
    // A modified list is offered for saving first.
    void SelectService(const std::string& service);

    const std::vector<Row>& Rows() const { return rows_; }
    bool Modified() const { return modified_; }
    void SetOn(size_t row, bool on);
    void Add(const RecordDialog& dialog);
    void Edit(size_t row, const RecordDialog& dialog);
    // Nothing selected adds, one selected row edits.
    void DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog);
    // Removes the rows without asking; beeps when none is selected.
    void Delete(std::vector<size_t> selected);
    // Stores the rows in display order, `Off` from their boxes; the session reloads them.
    bool Apply();

    // The record dialog's caption: "%s 자동 매크로 등록 정보" with the title, or "새".
    static std::string RecordCaption(const Record& record);
    // The message for a record the dialog may not accept (no name or no pattern).
    static std::optional<std::string> CheckRecord(const Record& record);

private:
    void load();
    // The title, or "title (2)", "title (3)", ... when another row has it (letter case aside).
    std::string uniqueTitle(const std::string& title, std::optional<size_t> editing) const;

    Registry& registry_;
    Prompt& prompt_;
    std::string service_;
    std::vector<Row> rows_;
    bool modified_ = false;
};
