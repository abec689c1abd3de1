// The session's life with a link: the interpreter made per link, the pump and the reactions to
// the interpreter's status codes, sending, the paste job and the transfer's hold on the link.
// Connecting is in CQuillonDocConnect.cpp, hanging up and closing in CQuillonDocClose.cpp.
#include "link/CQuillonDoc.h"

#include "link/MemoryLink.h"
#include "link/SessionVideotex.h"

#include "auto/CSettingsSection.h"
#include "auto/SoundEvents.h"
#include "platform/TextCodec.h"

namespace {

constexpr uint8_t LF = 0x0A, CR = 0x0D;
// How soon a paste waiting for output room looks again.
constexpr int kPasteRetryMs = 10;

SessionHooks& noHooks() {
    static SessionHooks none;
    return none;
}

// "기본": the entry name when no stored entry is in use.
const std::string& defaultEntryName() {
    static const std::string name = utf8ToCp949("기본").value();
    return name;
}

}  // namespace

CQuillonDoc::CQuillonDoc(const SessionContext& context)
    : ctx_(context),
      hooks_(context.hooks ? *context.hooks : noHooks()),
      login_(context.registry, context.clock) {
    CSettingsSection settings(ctx_.registry, "Settings");
    useJohab_ = settings.GetInt("UseJohab", 0) != 0;
    silent_ = settings.GetInt("Silent", 0) != 0;
    useAutoMacro_ = settings.GetInt("UseAutoMacro", 1) != 0;
    ctx_.view.SetJohabDisplay(useJohab_);
    currentEntry_ = defaultEntryName();
    listSubscription_ = ctx_.registry.listChanges().subscribe([this](int kind) {
        if (kind == RecordKind::AutoMacro) macros_.Load(ctx_.registry, currentService_);
        if (kind == RecordKind::Macro) reloadMacros();
        if (kind == RecordKind::Bookmark) loadBookmarks();
        if (kind == RecordKind::ServiceCommands) loadServiceMap();
    });
}

CQuillonDoc::~CQuillonDoc() {
    ctx_.registry.listChanges().unsubscribe(listSubscription_);
    for (int timer : {pasteTimer_, initAnswerTimer_})
        if (timer >= 0) ctx_.loop.removeTimer(timer);
    pasteJob_.reset();
    if (transfer_) transfer_->Cancel();
    transfer_.reset();  // joins the transfer thread before its link goes
    videotex_.reset();
    interpreter_.reset();
    link_.reset();
}

void CQuillonDoc::SetUseJohab(bool on) {
    useJohab_ = on;
    ctx_.view.SetJohabDisplay(on);
    if (interpreter_) interpreter_->SetJohabSend(on);
    CSettingsSection(ctx_.registry, "Settings").SetInt("UseJohab", on ? 1 : 0);
}

void CQuillonDoc::makeInterpreter() {
    interpreter_ = std::make_unique<TWEmulator>(&ctx_.view, link_.get());
    CSettingsSection terminal(ctx_.registry, "Terminal");
    interpreter_->SetLineOptions(terminal.GetInt("Send CR", 0) != 0,
                                 terminal.GetInt("Recv CR2CRLF", 0) != 0,
                                 terminal.GetInt("Recv LF2CRLF", 0) != 0);
    interpreter_->SetJohabSend(useJohab_);
    interpreter_->SetRawTap(rawTap_);
}

void CQuillonDoc::SetRawTap(TWEmulator::RawTap tap) {
    rawTap_ = std::move(tap);
    if (interpreter_) interpreter_->SetRawTap(rawTap_);
}

// The next idle pass notices that the session went offline. Answer mode belongs to the modem
// link and goes with it, so a later connection does not echo.
void CQuillonDoc::CloseLink() {
    ++linkSerial_;
    endVideotex();
    if (pacing_ > 0 && !retiredInterpreter_) {
        retiredInterpreter_ = std::move(interpreter_);
        retiredLink_ = std::move(link_);
    }
    interpreter_.reset();
    link_.reset();
    linkOpen_ = false;
    answerMode_ = false;
    ctx_.loop.kickIdle();
}

void CQuillonDoc::useDefaultService() {
    SetCurrentService(defaultEntryName());
}

void CQuillonDoc::setTitle(const std::string& cp949) {
    title_ = cp949;
    ctx_.frame.SetTitle(cp949ToUtf8Lossy(cp949));
}

void CQuillonDoc::tell(const std::string& text, PromptIcon icon) {
    ctx_.prompt.tell(text, icon);
}

bool CQuillonDoc::pause(int ms) {
    if (closing_) return false;
    return ctx_.loop.runFor(ms) != WaitEnd::CloseRequested && !closing_;
}

// ---------------------------------------------------------------------------------------------
// Receiving

bool CQuillonDoc::OnIdle() {
    // A paced reply runs the loop from inside the pump: nothing is read until it has ended.
    if (pacing_ > 0) return false;
    dropRetiredLink();
    CheckOnline();
    if (pendingDial_ && linkMode_ == kModemMode && !initialising_ && !awaitingInitAnswer_) {
        pendingDial_ = false;
        if (!pendingEntry_.empty()) ConnectEntry(pendingEntry_);
    }
    int value = kTWNoData;
    switch (pumpOwner()) {
        case PumpOwner::Transfer:  // keeps every other owner off the link
            break;
        case PumpOwner::Picture:
            return picturePump_();
        case PumpOwner::Videotex:
            return !pumpSuspended_ && pumpVideotex() >= 0;
        case PumpOwner::Interpreter:
            if (!ctx_.frame.ScrolledBack()) value = Pump(kPumpLimitMs);
            break;
    }
    offerPartialLine(value);
    if (value == kTWNoData && online_ && link_ && link_->IsDrained()) {
        stepLoginWhenSettled();
        noteSettledLocation();
        hooks_.OnInputSettled();
    }
    OnLinkEvent(value);
    const bool pasteMore = stepPaste();
    // A status code ends a pass early: bytes read with it may wait in the link.
    return value != kTWNoData || pasteMore;
}

int CQuillonDoc::Pump(int limitMs) {
    if (pumpSuspended_ || linkBusy_ || !link_ || !interpreter_) return kTWNoData;
    const int64_t start = ctx_.clock.nowMs();
    int value;
    do {
        value = interpreter_->GetChar();
        if (value >= 0) {
            lineDataSeen_ = true;
            locationRead_ = false;  // the screen changed: its place is read again
        }
    } while (value >= 0 && interpreter_ && ctx_.clock.nowMs() - start < limitMs);
    moreData_ = value >= 0;
    return value;
}

// Input paused inside a line: automation sees the text so far, once per pause.
void CQuillonDoc::offerPartialLine(int lastValue) {
    if (lastValue != kTWNoData || !lineDataSeen_) return;
    lineDataSeen_ = false;
    if (!ctx_.view.PendingLine().empty()) ctx_.view.OnLineReady(true);
}

bool CQuillonDoc::CheckOnline() {
    const bool now = interpreter_ && link_ && link_->IsOnline();
    if (now != online_) {
        online_ = now;
        now ? OnConnected() : OnDisconnected();
    }
    return online_;
}

void CQuillonDoc::OnConnected() {
    if (answerMode_ && interpreter_) interpreter_->SetAnswerEcho(true);
    startPromptSeen_ = false;
    chat_.OnConnectionChanged();
    hooks_.OnConnectionChanged(true);
    ctx_.frame.SetOnline(true);
    PlayEventSound(ctx_.registry, ctx_.sound, "연결", false);
    if (currentEntry_.empty()) currentEntry_ = defaultEntryName();
}

void CQuillonDoc::OnDisconnected() {
    endVideotex();
    answerMode_ = false;
    if (interpreter_) interpreter_->SetAnswerEcho(false);
    transferResult_ = 0;
    chat_.OnConnectionChanged();
    inChatRoom_ = false;
    hooks_.OnConnectionChanged(false);
    PlayEventSound(ctx_.registry, ctx_.sound, "연결 끊김", false);
    setTitle("");
    currentEntry_ = defaultEntryName();
    startPromptSeen_ = false;
    useDefaultService();
    pasteJob_.reset();
    ctx_.frame.SetOnline(false);
}

void CQuillonDoc::OnLinkEvent(int code) {
    switch (code) {
        case kTWZmodemReceive:
        case kTWZmodemSend:
            hooks_.OnZmodemRequest(code);
            break;
        case kTWVideotexStart:
            startVideotex();
            hooks_.OnVideotexStart();
            break;
        case kTWImageEnd:
            hooks_.OnImageEnd();
            break;
        case kTWImageStart:
            hooks_.OnImageStart();
            break;
        case kTWImageReceive:
            hooks_.OnHostImageTransfer();
            break;
        case kTWColumnReset:
            SendLine("");
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Sending

bool CQuillonDoc::SendByte(uint8_t c) {
    if (linkBusy_ || !linkOpen_ || !interpreter_) return true;
    interpreter_->PutChar(c);
    return true;
}

bool CQuillonDoc::SendRawByte(uint8_t c) {
    return link_ && link_->WriteByte(c) == 0;
}

void CQuillonDoc::SendText(std::string_view text) {
    sendHeld(text, false);
}

void CQuillonDoc::SendLine(std::string_view text) {
    sendHeld(text, true);
}

void CQuillonDoc::sendHeld(std::string_view text, bool endWithCR) {
    GFComLink* link = linkBusy_ ? nullptr : link_.get();
    if (link) link->BeginHold();
    for (char c : text)
        if (c != LF) SendByte(static_cast<uint8_t>(c));
    if (endWithCR) SendByte(CR);
    if (link) link->EndHold();
}

bool CQuillonDoc::SendKey(TWKey key, unsigned modifiers) {
    if (linkBusy_ || !linkOpen_ || !interpreter_) return false;
    return interpreter_->SendKey(key, modifiers);
}

void CQuillonDoc::ShowText(const std::string& text) {
    for (char c : utf8ToCp949(text).value_or(text)) {
        if (c == LF) ctx_.view.PutByte(CR);
        ctx_.view.PutByte(static_cast<uint8_t>(c));
    }
}

void CQuillonDoc::ShowLocalText(std::string_view cp949) {
    TWEmulator& interpreter = localInterpreter();
    MemoryLink local{std::string(cp949)};  // keeps the replies, which are then dropped
    GFComLink* const hostLink = interpreter.ReplaceLink(&local);
    const bool johab = ctx_.view.JohabDisplay();  // the text is CP949 whatever the host sends
    ctx_.view.SetJohabDisplay(false);
    ctx_.view.SetLocalOutput(true);
    interpreter.SetRawTap({});
    while (local.InputCount() > 0)
        interpreter.GetChar();
    interpreter.SetRawTap(rawTap_);
    ctx_.view.SetLocalOutput(false);
    ctx_.view.SetJohabDisplay(johab);
    interpreter.ReplaceLink(hostLink);
}

// The link's interpreter, so that local text shares its modes; without a link one of our own
// that leaves the screen as it is.
TWEmulator& CQuillonDoc::localInterpreter() {
    if (interpreter_) return *interpreter_;
    if (!offlineInterpreter_)
        offlineInterpreter_ =
            std::make_unique<TWEmulator>(&ctx_.view, nullptr, TWEmulator::KeepView{});
    return *offlineInterpreter_;
}

void CQuillonDoc::FlushOutput() {
    if (link_) link_->Flush(GF_FLUSH_OUTPUT, 0);
}

void CQuillonDoc::PurgeInput() {
    if (link_) link_->Flush(GF_FLUSH_INPUT, 0);
}

// ---------------------------------------------------------------------------------------------
// Paste

void CQuillonDoc::Paste(std::string text) {
    if (text.empty() || (linkMode_ == kTelnetMode && !online_)) return;
    pasteJob_ = std::make_unique<PasteJob>(std::move(text));
    ctx_.loop.kickIdle();
}

// A piece of the paste per pass. A link still busy with earlier output is looked at again when
// it wakes the loop, or by a timer for links that do not, so the loop never spins on it.
bool CQuillonDoc::stepPaste() {
    if (!pasteJob_ || linkBusy_ || !link_) return false;
    switch (pasteJob_->Step(*link_, [this](uint8_t b) { SendByte(b); })) {
        case PasteJob::Progress::Done:
            pasteJob_.reset();
            return false;
        case PasteJob::Progress::More:
            return true;
        case PasteJob::Progress::Waiting:
            if (pasteTimer_ < 0) {
                pasteTimer_ = ctx_.loop.addTimer(kPasteRetryMs, false, [this] {
                    pasteTimer_ = -1;
                    ctx_.loop.kickIdle();
                });
            }
            return false;
    }
    return false;
}

bool CQuillonDoc::OnEscape() {
    if (!pasteJob_) return false;
    if (ctx_.prompt.ask("붙여넣기 중입니다. 붙여넣기를 취소할까요?", PromptButtons::YesNo,
                        PromptIcon::Question) == PromptAnswer::Yes) {
        pasteJob_.reset();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Transfers

void CQuillonDoc::BeginTransfer(std::unique_ptr<TransferJob> job) {
    transfer_ = std::move(job);
    transferActive_ = true;
    linkBusy_ = 1;
}

void CQuillonDoc::EndTransfer(int result) {
    transfer_.reset();
    transferActive_ = false;
    linkBusy_ = 0;
    transferResult_ = result;
    ctx_.loop.kickIdle();
}

void CQuillonDoc::OnHighlight() {
    PlayEventSound(ctx_.registry, ctx_.sound, "문자열 찾기 성공", false);
}
