#pragma once
// The modem dialler: dials the checked numbers of one modem entry in turn with "ATDT" through
// the session, reads the modem's result words from the received lines, and after a failure or
// a time-out pauses and goes on with the next checked number, round the list without end, until
// a connection is made or the user stops. It draws nothing: a DialerView shows it and calls its
// controls. User-interface thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/Registry.h"
#include "link/CQuillonDoc.h"
#include "link/DialPlan.h"
#include "link/DialerView.h"
#include "link/PhoneRecords.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"

struct DialerContext {
    CQuillonDoc& doc;
    EventLoop& loop;
    Prompt& prompt;
    Registry& registry;
    Clock& clock = Clock::steady();
};

struct DialRow {
    PhoneRecord record;  // CP949
    std::string region;  // UTF-8; "" for an area code the table does not know
    // IsDialable: a row that is not (a stray CR in a stored number) is passed over like an
    // unchecked one.
    bool dialable = false;
};

class ModemDialer {
public:
    static constexpr int kTickMs = 400;
    static constexpr int kPauseMs = 3000;
    static constexpr int kAnimationSteps = 6;
    static constexpr int kDefaultTimeoutSeconds = 80;

    // Idle; the dial command was just sent (its echo may come first); waiting for the result
    // word; pausing before the next number.
    enum class State { Idle, CommandSent, Waiting, Pausing };

    // entry: the stored modem entry (CP949). view: may be null.
    ModemDialer(const DialerContext& context, const Record& entry, DialerView* view);
    ~ModemDialer();
    ModemDialer(const ModemDialer&) = delete;
    ModemDialer& operator=(const ModemDialer&) = delete;

    // Shows the view, and starts at once when "자동 걸기" is set.
    void Open();

    // --- the view's controls ----------------------------------------------------------------
    // "걸기(&D)" while idle, "중지(&S)" while dialling.
    void StartOrStop();
    // "다음 번호(&N)": the current try fails; nothing while idle.
    void NextNumber();
    // "자동 걸기", stored as `Settings` "AutoDial": cleared while dialling stops, set while idle
    // starts.
    void SetAutoDial(bool on);
    // The list can be changed only while idle.
    void SelectRow(int row);
    void SetRowChecked(int row, bool checked);
    // "취소", or closing the window: the list goes back into the stored entry (order and
    // check marks) and a call in progress is abandoned.
    void Close();

    // The timer's tick, every kTickMs while dialling: the time-out, the end of a pause, the
    // counter and the animation.
    void OnTimer();

    // --- from the session -------------------------------------------------------------------
    // A complete received line.
    void OnResultLine(std::string_view line);
    // The session went online: dialling ends as a success, whatever the state.
    void OnOnline();

    // --- what the view shows (texts UTF-8) ----------------------------------------------------
    bool IsOpen() const { return open_; }
    bool Connected() const { return connected_; }
    bool Dialling() const { return dialling_; }
    bool ListEnabled() const { return !dialling_; }
    bool AutoDial() const { return autoDial_; }
    State DialState() const { return state_; }
    std::string Caption() const;          // "전화걸기 [%s]"
    std::string StartButtonText() const;  // "걸기(&D)" or "중지(&S)"
    std::string CounterText() const;      // "%2d/%d초": seconds of this try, the time-out
    std::string LocationName() const;
    std::string ServiceName() const;  // the entry's service, the list's "통신망" column
    std::string DialString() const;   // the command last sent; "" once stopped
    const std::vector<DialRow>& Rows() const { return rows_; }
    int SelectedRow() const { return selected_; }     // -1: none
    int CurrentRow() const { return current_; }       // the row dialled last; -1: none yet
    int AnimationStep() const { return animation_; }  // 0 .. kAnimationSteps - 1

private:
    void start();
    void stop();
    void dial(int row);
    void failTry();
    void succeed();
    void endDialling();
    bool usable(int row) const;
    int nextUsableRow() const;
    void stopForNoNumber();
    void tellLater(const std::string& text, PromptIcon icon);
    void changed();

    DialerContext ctx_;
    DialerView* view_;
    Record entry_;
    std::vector<DialRow> rows_;
    std::vector<std::string> unreadable_;  // records kept for writing back
    DialLocation location_;
    int timeoutSeconds_;
    bool autoDial_;

    bool open_ = false;
    bool dialling_ = false;
    bool connected_ = false;
    State state_ = State::Idle;
    int selected_ = -1;
    int current_ = -1;
    int64_t tryStart_ = 0;
    int64_t pauseStart_ = 0;
    int elapsedSeconds_ = 0;
    int animation_ = 0;
    int timer_ = -1;
    std::string dialString_;  // CP949
};
