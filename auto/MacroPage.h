#pragma once
// The "일반" page of the macro settings, without widgets: one service's keyboard macros as the
// user edits them, the checks of the record dialog, the service selector with its save
// question, and Apply storing the rows in one transaction. The window draws it; the record
// dialog is handed in as a function. Names and rows are CP949, messages UTF-8.
#include <functional>
#include <string>
#include <vector>

#include "auto/MacroTable.h"
#include "auto/Registry.h"
#include "platform/Prompt.h"

class MacroPage {
public:
    static constexpr char kTitle[] = "일반";
    static constexpr char kServiceLabel[] = "통신망 종류(&B):";
    static constexpr char kColumns[] = "   이름\t단축키\t문자열";
    static constexpr int kNameWidth = 8, kKeyWidth = 7;  // average character widths
    // The buttons, in the order the list's right-click menu offers them.
    static constexpr const char* kButtons[] = {"등록 정보(&R)", "등록(&N)", "삭제(&D)"};

    // The record dialog: edits the row (its checks passed), false when cancelled.
    using RecordDialog = std::function<bool(MacroRow& row)>;

    MacroPage(Registry& registry, Prompt& prompt, const std::string& service);

    std::vector<std::string> Services() const;
    const std::string& Service() const { return service_; }
    // A modified list is offered for saving first.
    void SelectService(const std::string& service);

    const std::vector<MacroRow>& Rows() const { return rows_; }
    bool Modified() const { return modified_; }
    void Add(const RecordDialog& dialog);
    // The edited row goes; the new one is appended.
    void Edit(size_t row, const RecordDialog& dialog);
    // Nothing selected adds, one selected row edits.
    void DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog);
    // Removes the rows without asking; beeps when none is selected.
    void Delete(std::vector<size_t> selected);
    // Stores the rows and tells the session; values that were loaded and are gone are deleted,
    // values another copy of the program added meanwhile stay. Nothing without a service.
    bool Apply();

    // The record dialog's caption: "%s 매크로 등록 정보" with the name, or "새".
    static std::string RecordCaption(const MacroRow& row);
    // The record dialog's checks, in order, each told through the prompt; menuKeys are the
    // front end's own shortcuts. False keeps the dialog open.
    static bool CheckRecord(const MacroRow& row, const std::vector<HotKey>& menuKeys,
                            Prompt& prompt);

private:
    void load();
    // Tells and returns true when another row than `editing` has the row's hot key.
    bool duplicate(const MacroRow& row, size_t editing) const;
    void enter(MacroRow row, size_t editing, const RecordDialog& dialog);

    Registry& registry_;
    Prompt& prompt_;
    std::string service_;
    std::vector<MacroRow> rows_;
    std::vector<std::string> loadedNames_;  // value names of the subkey when it was read
    bool modified_ = false;
};
