#include "link/ModemDialer.h"

#include <algorithm>
#include <cstdio>

#include "auto/CSettingsSection.h"
#include "link/AreaCodes.h"
#include "link/ConnectionEntries.h"
#include "link/DialResult.h"
#include "platform/TextCodec.h"

namespace {

constexpr const char* kCaption = "전화걸기";

int readTimeout(Registry& registry) {
    const int seconds = CSettingsSection(registry, "Comm")
                            .GetInt("DialTimeOut", ModemDialer::kDefaultTimeoutSeconds);
    // A time-out of nothing would end every try at once, round the list without end.
    return seconds >= 1 ? seconds : ModemDialer::kDefaultTimeoutSeconds;
}

}  // namespace

ModemDialer::ModemDialer(const DialerContext& context, const Record& entry, DialerView* view)
    : ctx_(context),
      view_(view),
      entry_(entry),
      location_(ReadDialLocation(context.registry)),
      timeoutSeconds_(readTimeout(context.registry)),
      autoDial_(CSettingsSection(context.registry, "Settings").GetInt("AutoDial", 1) != 0) {
    PhoneList list = ParsePhoneList(EntryField(entry_, "Phone"));
    for (const PhoneRecord& record : list.records)
        rows_.push_back({record, RegionName(record.area), IsDialable(record)});
    unreadable_ = std::move(list.unreadable);
    if (!rows_.empty()) selected_ = 0;
}

// The session may be gone already when the program ends with the dialler open: only the loop is
// touched here.
ModemDialer::~ModemDialer() {
    if (timer_ >= 0) ctx_.loop.removeTimer(timer_);
}

void ModemDialer::Open() {
    open_ = true;
    if (view_) view_->ShowDialer(*this);
    if (autoDial_) start();
}

// ---------------------------------------------------------------------------------------------
// Controls

void ModemDialer::StartOrStop() {
    if (!open_) return;
    dialling_ ? stop() : start();
}

void ModemDialer::NextNumber() {
    if (open_ && dialling_) failTry();
}

void ModemDialer::SetAutoDial(bool on) {
    if (!open_) return;
    autoDial_ = on;
    CSettingsSection(ctx_.registry, "Settings").SetInt("AutoDial", on ? 1 : 0);
    if (!on && dialling_) {
        stop();
    } else if (on && !dialling_) {
        start();
    } else {
        changed();
    }
}

void ModemDialer::SelectRow(int row) {
    if (!open_ || dialling_ || row < -1 || row >= static_cast<int>(rows_.size())) return;
    selected_ = row;
    changed();
}

void ModemDialer::SetRowChecked(int row, bool checked) {
    if (!open_ || dialling_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
    rows_[row].record.checked = checked;
    changed();
}

void ModemDialer::Close() {
    if (!open_) return;
    std::vector<PhoneRecord> records;
    for (const DialRow& row : rows_)
        records.push_back(row.record);
    EntryStore(ctx_.registry)
        .WritePhone(EntryField(entry_, "Title"), JoinPhoneList(records, unreadable_));
    if (!connected_) {
        if (state_ != State::Idle) ctx_.doc.SendLine("");  // abandons the call
        ctx_.doc.setTitle("");
    }
    endDialling();
    open_ = false;
    if (view_) view_->HideDialer();
}

// ---------------------------------------------------------------------------------------------
// Dialling

void ModemDialer::start() {
    ctx_.doc.setTitle(EntryField(entry_, "Title"));
    dialling_ = true;  // the list is disabled from here on
    const int row = selected_ >= 0 && usable(selected_) ? selected_ : nextUsableRow();
    if (row < 0) {
        stopForNoNumber();
        return;
    }
    location_ = ReadDialLocation(ctx_.registry);
    if (!IsOutsidePrefix(location_.outsidePrefix)) {
        stop();
        tellLater(OnlyCharsText(kOutsidePrefixLabel, kOutsidePrefixChars), PromptIcon::Warning);
        return;
    }
    dial(row);
    timer_ = ctx_.loop.addTimer(kTickMs, true, [this] { OnTimer(); });
}

// A stop abandons a call in progress with a lone CR; before any command there is none.
void ModemDialer::stop() {
    if (state_ != State::Idle) ctx_.doc.SendLine("");
    ctx_.doc.setTitle("");
    endDialling();
    changed();
}

void ModemDialer::endDialling() {
    if (timer_ >= 0) ctx_.loop.removeTimer(timer_);
    timer_ = -1;
    dialling_ = false;
    state_ = State::Idle;
    dialString_.clear();
}

void ModemDialer::dial(int row) {
    current_ = selected_ = row;
    dialString_ = DialCommand(rows_[row].record, location_);
    tryStart_ = ctx_.clock.nowMs();
    elapsedSeconds_ = 0;
    state_ = State::CommandSent;
    ctx_.doc.SendLine(dialString_);
    changed();
}

// A failed try: the lone CR makes the modem abandon the call, then a pause before the next.
void ModemDialer::failTry() {
    if (state_ == State::Pausing) return;
    ctx_.doc.SendLine("");
    state_ = State::Pausing;
    pauseStart_ = ctx_.clock.nowMs();
    changed();
}

void ModemDialer::succeed() {
    connected_ = true;
    Close();
}

void ModemDialer::OnTimer() {
    const int64_t now = ctx_.clock.nowMs();
    if (state_ == State::Pausing) {
        if (now - pauseStart_ < kPauseMs) return;
        const int row = nextUsableRow();
        row < 0 ? stopForNoNumber() : dial(row);
        return;
    }
    if (now - tryStart_ >= timeoutSeconds_ * 1000LL) {
        animation_ = 0;
        tryStart_ = now;
        failTry();
        return;
    }
    animation_ = (animation_ + 1) % kAnimationSteps;
    elapsedSeconds_ = static_cast<int>((now - tryStart_) / 1000);
    changed();
}

// The modem echoes the command first, unless its echo is off: so in the first state a line is
// passed over only when it is the echo, and any other is read as a result.
void ModemDialer::OnResultLine(std::string_view line) {
    if (!open_ || (state_ != State::CommandSent && state_ != State::Waiting)) return;
    if (state_ == State::CommandSent && line.starts_with("AT")) {
        state_ = State::Waiting;
        return;
    }
    switch (ClassifyDialResult(line)) {
        case DialResult::NoDialTone:
            stop();
            tellLater(
                "신호음을 검출할 수 없습니다.\n\n전화선이 모뎀에 잘 연결되어\n있는지 "
                "확인해 보십시오.",
                PromptIcon::Error);
            break;
        case DialResult::Error:
            stop();
            break;
        case DialResult::Connected:
            succeed();
            break;
        case DialResult::Failed:
            failTry();
            break;
        case DialResult::None:
            break;
    }
}

void ModemDialer::OnOnline() {
    if (open_) succeed();
}

bool ModemDialer::usable(int row) const {
    return rows_[row].record.checked && rows_[row].dialable;
}

// From the row after the current one to the end, then from the first up to the current one.
int ModemDialer::nextUsableRow() const {
    const int count = static_cast<int>(rows_.size());
    for (int i = 1; i <= count; ++i) {
        const int row = (current_ + i + count) % count;
        if (usable(row)) return row;
    }
    return -1;
}

// When checked rows are left but none can be dialled, what is wrong with them is said instead.
void ModemDialer::stopForNoNumber() {
    stop();
    const bool checked = std::any_of(rows_.begin(), rows_.end(),
                                     [](const DialRow& row) { return row.record.checked; });
    tellLater(checked ? OnlyCharsText(kNumberLabel, kDialChars)
                      : "체크된 전화번호가 없습니다.\n전화번호를 체크하십시오.",
              PromptIcon::Warning);
}

// Messages wait until the pass that brought the line is over: a question runs the loop, and
// the pump must not be entered again from inside itself. The task keeps nothing of the dialler,
// which may be gone by then.
void ModemDialer::tellLater(const std::string& text, PromptIcon icon) {
    ctx_.loop.post([&prompt = ctx_.prompt, text, icon] {
        prompt.show(PromptRequest{text, PromptButtons::Ok, icon, {}, false, kCaption});
    });
}

void ModemDialer::changed() {
    if (view_ && open_) view_->UpdateDialer();
}

// ---------------------------------------------------------------------------------------------
// What the view shows

std::string ModemDialer::Caption() const {
    return std::string(kCaption) + " [" + cp949ToUtf8Lossy(EntryField(entry_, "Title")) + "]";
}

std::string ModemDialer::StartButtonText() const {
    return dialling_ ? "중지(&S)" : "걸기(&D)";
}

std::string ModemDialer::CounterText() const {
    char text[32];
    std::snprintf(text, sizeof text, "%2d/%d", elapsedSeconds_, timeoutSeconds_);
    return std::string(text) + "초";
}

std::string ModemDialer::LocationName() const {
    return cp949ToUtf8Lossy(location_.name);
}

std::string ModemDialer::ServiceName() const {
    return cp949ToUtf8Lossy(EntryField(entry_, "Host"));
}

std::string ModemDialer::DialString() const {
    return cp949ToUtf8Lossy(dialString_);
}
