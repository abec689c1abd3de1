// How the session gets a link: the start mode, the command line, stored entries, the telnet
// connection, and the modem (opening, initialising, answer mode, the mode switches).
#include "auto/CSettingsSection.h"
#include "link/CQuillonDoc.h"
#include "link/ConnectionEntries.h"
#include "link/TelnetLink.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kModemEntryType = 0, kTelnetEntryType = 1, kInternetEntryType = 2;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Start and command line

void CQuillonDoc::Start(const std::vector<std::string>& commandLine) {
    CSettingsSection comm(ctx_.registry, "Comm");
    startMode_ = comm.GetInt("InitMode", 1) == 0 ? kModemMode : kTelnetMode;
    useDefaultService();
    const ConnectRequest request = ParseCommandLine(commandLine);
    if (request.kind == ConnectRequest::Kind::Host ||
        request.kind == ConnectRequest::Kind::TelnetEntry) {
        startMode_ = kTelnetMode;
    }
    if (request.kind == ConnectRequest::Kind::ModemEntry) {
        // Dialled on the first idle pass, once the modem is ready.
        startMode_ = kModemMode;
        pendingDial_ = true;
        if (auto entry = findEntry(request.entry, true)) pendingEntry_ = *entry;
    }
    enterStartMode();
    if (request.kind != ConnectRequest::Kind::ModemEntry) connectRequest(request);
}

void CQuillonDoc::StartOnEntry(const Record& entry) {
    startMode_ = kTelnetMode;
    useDefaultService();
    enterStartMode();
    ConnectEntry(entry);
    login_.Disarm();
}

void CQuillonDoc::enterStartMode() {
    linkMode_ = startMode_;
    if (startMode_ == kModemMode && OpenModemLink()) InitModem(true);
    ctx_.frame.SetLinkMode(linkMode_, cp949ToUtf8Lossy(modemDevice_));
}

bool CQuillonDoc::OpenCommandLine(const std::vector<std::string>& words) {
    const ConnectRequest request = ParseCommandLine(words);
    if (request.kind == ConnectRequest::Kind::None) return false;
    if (online_ && request.kind != ConnectRequest::Kind::Invalid) {
        ctx_.frame.HandOff(words);
        return true;
    }
    return connectRequest(request);
}

bool CQuillonDoc::connectRequest(const ConnectRequest& request) {
    switch (request.kind) {
        case ConnectRequest::Kind::None:
            return false;
        case ConnectRequest::Kind::Invalid:
            tell(request.error, PromptIcon::Warning);
            return false;
        case ConnectRequest::Kind::Host:
            return Connect(utf8ToCp949(request.host).value_or(request.host), request.port);
        case ConnectRequest::Kind::TelnetEntry:
        case ConnectRequest::Kind::ModemEntry: {
            const bool modem = request.kind == ConnectRequest::Kind::ModemEntry;
            std::optional<Record> entry = findEntry(request.entry, modem);
            return entry && ConnectEntry(*entry);
        }
    }
    return false;
}

// The stored entry of that name (UTF-8) in the modem or telnet list; the user is told when
// there is none.
std::optional<Record> CQuillonDoc::findEntry(const std::string& name, bool modem) {
    const EntryKind kind = modem ? EntryKind::Modem : EntryKind::Telnet;
    const std::optional<std::string> title = utf8ToCp949(name);
    std::optional<Record> entry;
    if (title) entry = EntryStore(ctx_.registry).Find(kind, *title);
    if (!entry) tell("\"" + name + "\" 연결을 찾을 수 없습니다.", PromptIcon::Warning);
    return entry;
}

// ---------------------------------------------------------------------------------------------
// Entries and telnet

bool CQuillonDoc::ConnectEntry(const Record& entry) {
    const int type = parseDecimal(EntryField(entry, "Type"));
    const std::string& title = EntryField(entry, "Title");
    if (online_ && (type == kModemEntryType || type == kTelnetEntryType)) {
        ctx_.frame.HandOff({type == kModemEntryType ? "/m" : "/t", cp949ToUtf8Lossy(title)});
        return true;
    }
    SetCurrentService(EntryField(entry, "Host"));
    bool started = false;
    if (type == kModemEntryType) {
        started = connectModemEntry(entry);
    } else if (type == kTelnetEntryType) {
        const std::string& server = EntryField(entry, "Server");
        started = !server.empty() && Connect(server);
    } else if (type == kInternetEntryType) {
        hooks_.ConnectInternet("", EntryField(entry, "Dialer"));
        started = true;
    }
    currentEntry_ = title;
    return started;
}

bool CQuillonDoc::connectModemEntry(const Record& entry) {
    if (linkMode_ != kModemMode) {
        SwitchToModemMode();
        if (!pause(200)) return false;
        PurgeInput();
        if (!pause(500)) return false;
    }
    if (!interpreter_ && OpenModemLink()) InitModem(true);
    if (linkOpen_ && directCable_) {
        tell("널 모뎀에서는 전화를 걸 수 없습니다. 모뎀 설정을 확인해 보십시오.",
             PromptIcon::Warning);
        return false;
    }
    if (!linkOpen_) {
        if (ctx_.prompt.ask("모뎀을 열지 못했습니다. 통신 설정에서 모뎀을 설정하신후 다시 "
                            "시도하십시오.\n\n통신 설정을 실행하시겠습니까?",
                            PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
            ctx_.frame.OpenCommSettings();
        }
        return false;
    }
    if (EntryField(entry, "Dialer") == "Ruzedaz") {
        hooks_.ConnectInternet("", "Ruzedaz");
    } else {
        hooks_.DialEntry(entry);
    }
    return true;
}

bool CQuillonDoc::Connect(const std::string& host, int port) {
    const TelnetAddress address = SplitTelnetAddress(host, port);
    if (!address.valid) {
        tell(BadPortText(cp949ToUtf8Lossy(address.portText)), PromptIcon::Warning);
        return false;
    }
    CloseLink();
    std::unique_ptr<GFComLink> link = ctx_.links.ConnectTelnet(address.host, address.port);
    if (!link) return false;
    link_ = std::move(link);
    makeInterpreter();
    setTitle(address.port == 23 ? address.host : address.host + ":" + std::to_string(address.port));
    linkOpen_ = true;
    linkMode_ = kTelnetMode;
    modemDevice_.clear();
    ctx_.frame.SetLinkMode(linkMode_, "");
    return true;
}

bool CQuillonDoc::CancelConnect() {
    const auto* telnet = dynamic_cast<const TelnetLink*>(link_.get());
    if (!telnet || !telnet->Connecting()) return false;
    CloseLink();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Modem

bool CQuillonDoc::OpenModemLink() {
    CSettingsSection comm(ctx_.registry, "Comm");
    const std::optional<ModemDevice> device = ModemTable::load(ctx_.registry).chooseDevice(comm);
    if (!device) {
        tell(kNoModemText, PromptIcon::Warning);
        return false;
    }
    CloseLink();
    std::unique_ptr<GFComLink> link = ctx_.links.OpenModem(*device);
    if (!link) return false;
    link_ = std::move(link);
    makeInterpreter();
    directCable_ = device->directCable;
    modemDevice_ = device->name;
    linkOpen_ = true;
    return true;
}

// The pause keeps the user interface running, but a dial waiting from the command line goes
// only after the initialisation, not in the middle of it.
void CQuillonDoc::InitModem(bool wait) {
    if (!linkOpen_) return;
    CSettingsSection comm(ctx_.registry, "Comm");
    initialising_ = true;
    const bool paused = !wait || pause(comm.GetInt("ModemInitDelay", 0) ? 2000 : 100);
    initialising_ = false;
    if (!paused) return;
    ShowText(directCable_ ? "널 모뎀을 초기화합니다...\n" : "모뎀을 초기화합니다...\n");
    FlushOutput();
    PurgeInput();
    SendLine(directCable_ ? "" : comm.GetString("ModemInit"));
    awaitInitAnswer();
}

// A dial command sent while the modem still works on its initialisation would be lost, or the
// initialisation's answer taken for the dial's result: a dial waiting from the command line
// goes once the modem has answered, or when no answer came in time (an empty initialisation
// string, a modem told to keep quiet).
void CQuillonDoc::awaitInitAnswer() {
    if (!pendingDial_) return;
    awaitingInitAnswer_ = true;
    if (initAnswerTimer_ < 0)
        initAnswerTimer_ = ctx_.loop.addTimer(kInitAnswerMs, false, [this] {
            initAnswerTimer_ = -1;
            initAnswered();
        });
}

// OK and ERROR, as words or as numbers.
void CQuillonDoc::noteInitAnswer(std::string_view line) {
    if (awaitingInitAnswer_ && (line == "OK" || line == "ERROR" || line == "0" || line == "4"))
        initAnswered();
}

void CQuillonDoc::initAnswered() {
    if (initAnswerTimer_ >= 0) ctx_.loop.removeTimer(initAnswerTimer_);
    initAnswerTimer_ = -1;
    awaitingInitAnswer_ = false;
    ctx_.loop.kickIdle();
}

bool CQuillonDoc::ToggleAnswerMode() {
    if (linkMode_ != kModemMode || !linkOpen_ || directCable_) return false;
    answerMode_ = !answerMode_;
    SetAnswerMode(answerMode_);
    return true;
}

void CQuillonDoc::SetAnswerMode(bool on) {
    if (!linkOpen_ || !interpreter_) return;
    if (on) {
        if (online_) {
            interpreter_->SetAnswerEcho(true);
        } else {
            ShowText("\n접속을 기다립니다...\n");
            SendLine("ATS0=2");
        }
    } else {
        interpreter_->SetAnswerEcho(false);
        if (!online_) SendLine("ATS0=0");
    }
}

void CQuillonDoc::SwitchToModemMode() {
    if (linkMode_ == kModemMode || online_) return;
    if (OpenModemLink()) InitModem(true);
    linkMode_ = kModemMode;
    ctx_.frame.SetLinkMode(linkMode_, cp949ToUtf8Lossy(modemDevice_));
}

void CQuillonDoc::SwitchToTelnetMode() {
    if (linkMode_ == kTelnetMode || online_) return;
    ctx_.frame.ClearScreen();
    CloseLink();
    linkMode_ = kTelnetMode;
    modemDevice_.clear();
    ctx_.frame.SetLinkMode(linkMode_, "");
}
