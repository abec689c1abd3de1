#pragma once
// The settings of the auto log-in, without widgets ("사용자 로그인 설정"): one service's IDs as
// the user edits them, adding, editing, deleting, making an ID the default, the service
// selector with its save question, the prompt patterns of the advanced dialog, and OK storing
// it all (passwords scrambled). The window draws it; the record dialog is handed in as a
// function. Names and records are CP949, messages UTF-8.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "platform/Prompt.h"

struct LoginPatterns {
    std::string login;     // `LoginString`
    std::string password;  // `PasswordString`
    bool operator==(const LoginPatterns&) const = default;
};

class LoginSettingsPage {
public:
    static constexpr char kTitle[] = "사용자 로그인 설정";
    static constexpr char kServiceLabel[] = "통신망 종류(&B):";
    static constexpr char kColumns[] = "   아이디\t이름\t비밀번호";
    static constexpr int kColumnWidths[] = {10, 7, 8};  // average character widths
    static constexpr char kAdvancedTitle[] = "사용자 로그인 고급 설정";
    // The list's right-click menu, in order; the last two have no visible button.
    static constexpr const char* kMenu[] = {"등록 정보(&R)", "등록(&N)", "삭제(&E)",
                                            "디폴트 아이디로(&D)", "고급 설정(&I)..."};

    // The record dialog: edits the record, false when cancelled.
    using RecordDialog = std::function<bool(Record& record)>;

    LoginSettingsPage(Registry& registry, Prompt& prompt, const std::string& service);

    std::vector<std::string> Services() const;
    const std::string& Service() const { return service_; }
    // A modified list is offered for saving first.
    void SelectService(const std::string& service);

    // Title, Name and Password (clear) of each ID; the first is the default.
    const std::vector<Record>& Rows() const { return rows_; }
    // The password column: one '*' per password byte.
    static std::string PasswordStars(const Record& row);
    bool Modified() const { return modified_; }

    void Add(const RecordDialog& dialog);
    void Edit(size_t row, const RecordDialog& dialog);
    // Nothing selected adds, one selected row edits.
    void DoubleClick(const std::vector<size_t>& selected, const RecordDialog& dialog);
    // Removes the rows without asking; beeps when none is selected.
    void Delete(std::vector<size_t> selected);
    // Moves the row to the top, the rows above it down by one; nothing for the top row.
    void MakeDefault(std::optional<size_t> selected);

    // The advanced dialog is offered only for a service that exists.
    bool CanEditPatterns() const { return serviceFound_; }
    const LoginPatterns& Patterns() const { return patterns_; }
    // The advanced dialog's OK: false keeps it open (a pattern missing, or the user would not
    // lose the passwords). Changing a pattern that was set empties every row's password.
    bool TakePatterns(const LoginPatterns& edited);

    // Stores the patterns and the rows in display order when modified.
    bool Save();

    // "%s 아이디 등록 정보" with the ID, or "새"; "아이디 추가" for a new record.
    static std::string RecordCaption(const Record& record, bool adding);
    // The message for a record the dialog may not accept; the dialog stays open.
    static std::optional<std::string> CheckRecord(const Record& record);

private:
    void load();

    Registry& registry_;
    Prompt& prompt_;
    std::string service_;
    bool serviceFound_ = false;
    LoginPatterns patterns_;
    std::vector<Record> rows_;
    bool modified_ = false;
};
