// The tty front end's input side: keys read from the terminal and routed to a question, the
// command key, the macros, the scroll-back or the session; the commands; the signals.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include "app/CommandTable.h"
#include "app/tty/TtyCapture.h"
#include "app/tty/TtyChat.h"
#include "app/tty/TtyChatLine.h"
#include "app/tty/TtyFrontEnd.h"
#include "app/tty/TtyHotKey.h"
#include "app/tty/TtyLoginChooser.h"
#include "app/tty/TtyMacroList.h"
#include "app/tty/TtyNavigation.h"
#include "app/tty/TtyPickList.h"
#include "app/tty/TtyShell.h"
#include "app/tty/TtyTransferLine.h"
#include "link/CommandLine.h"
#include "platform/TextCodec.h"

namespace {

constexpr uint8_t BS = 0x08, ESC = 0x1B, DEL = 0x7F;

// A typed address without the spaces around it.
std::string trimmedAddress(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void TtyFrontEnd::readInput() {
    std::vector<TtyKey> keys;
    char buffer[4096];
    int n;
    while ((n = terminal_.ReadInput(buffer, sizeof buffer)) > 0)
        keys_.Feed(std::string_view(buffer, static_cast<size_t>(n)), keys);
    if (n < 0) {
        endNow();
        return;
    }
    if (keys_.Pending() && escapeTimer_ < 0) {
        escapeTimer_ = loop_.addTimer(TtyKeys::kEscapeTimeoutMs, false, [this] {
            escapeTimer_ = -1;
            std::vector<TtyKey> held;
            keys_.Flush(held);
            dispatch(held);
        });
    }
    dispatch(keys);
}

// Reading without the loop, for a question asked inside a wait that is already running.
void TtyFrontEnd::readInputFor(int ms) {
    pollfd p{terminal_.InputFd(), POLLIN, 0};
    if (poll(&p, 1, ms) > 0) readInput();
    if (keys_.Pending()) {
        if (poll(&p, 1, TtyKeys::kEscapeTimeoutMs) > 0) readInput();
        std::vector<TtyKey> held;
        keys_.Flush(held);
        dispatch(held);
    }
}

void TtyFrontEnd::dispatch(const std::vector<TtyKey>& keys) {
    if (keys.empty()) return;
    loop_.interruptWait();  // a modem pause ends early when the user types
    for (const TtyKey& key : keys)
        onKey(key);
}

void TtyFrontEnd::onKey(const TtyKey& key) {
    if (cancelConnecting(key) || prompt_.OnKey(key) || !frameEnabled_ || pickListKey(key)) return;
    if (commandPending_) {
        commandPending_ = false;
        markDirty();
        runCommand(key);
        return;
    }
    if (captureKeyPending_) {
        captureKeyPending_ = false;
        markDirty();
        if (key.kind == TtyKey::Kind::Text && key.text.size() == 1) capture_->OnKey(key.text[0]);
        return;
    }
    if (key.kind == TtyKey::Kind::Command) {
        commandPending_ = true;
        markDirty();
        return;
    }
    if (panel_ && panel_->OnKey(key)) return;
    if (chatLine_ && chatLine_->OnKey(key)) return;
    if (doc_ && !doc_->VideotexPage() && doc_->TranslateMacroKey(TtyHotKey(key))) return;
    if (navigation_ && navigation_->MessageKey(key)) return;
    if (scrollBackKey(key) || !doc_) return;
    sendToSession(key);
}

// Esc or the command key while a name lookup or a connect is pending gives it up.
bool TtyFrontEnd::cancelConnecting(const TtyKey& key) {
    if (key.kind != TtyKey::Kind::Escape && key.kind != TtyKey::Kind::Command) return false;
    const bool cancelled = prompt_.Active() ? prompt_.CancelWait() : doc_ && doc_->CancelConnect();
    if (cancelled) ShowStatus("연결을 취소했습니다.");
    return cancelled;
}

// While a list shows over the screen it takes every key; a list its own pick showed again (or
// replaced) stays.
bool TtyFrontEnd::pickListKey(const TtyKey& key) {
    if (!pickList_) return false;
    TtyPickList* list = pickList_;
    list->OnKey(key);
    if (pickList_ == list && !list->Shown()) pickList_ = nullptr;
    markDirty();
    return true;
}

// PageUp and PageDown move through the history; while it shows, Up and Down move by a line and
// Esc returns; any other key returns first and then goes on.
bool TtyFrontEnd::scrollBackKey(const TtyKey& key) {
    const int page = view_.Rows();
    int lines = 0;
    if (key.kind == TtyKey::Kind::PageUp) lines = -page;
    if (key.kind == TtyKey::Kind::PageDown) lines = page;
    if (!scroll_.AtBottom() && key.kind == TtyKey::Kind::Key && key.key == TWKey::Up) lines = -1;
    if (!scroll_.AtBottom() && key.kind == TtyKey::Kind::Key && key.key == TWKey::Down) lines = 1;
    if (lines != 0) {
        scroll_.ScrollBy(lines, view_);
        markDirty();
        return true;
    }
    if (scroll_.AtBottom()) return false;
    scroll_.ToBottom();
    markDirty();
    loop_.kickIdle();  // the pump takes up what waited meanwhile
    return key.kind == TtyKey::Kind::Escape;
}

// While a videotex page is open it takes the keys first.
bool TtyFrontEnd::videotexKey(const TtyKey& key) {
    switch (key.kind) {
        case TtyKey::Kind::Text:
            return doc_->VideotexText(utf8ToCp949Lossy(key.text));
        case TtyKey::Kind::Key:
            return doc_->VideotexKey(key.key, key.modifiers);
        case TtyKey::Kind::Backspace:
            return doc_->VideotexText("\b");
        default:
            return doc_->VideotexPage() != nullptr;
    }
}

void TtyFrontEnd::sendToSession(const TtyKey& key) {
    if (videotexKey(key)) return;
    switch (key.kind) {
        case TtyKey::Kind::Text:
            for (char c : utf8ToCp949Lossy(key.text))
                doc_->SendByte(static_cast<uint8_t>(c));
            break;
        case TtyKey::Kind::Key: {
            const TtyKey folded = TtyKeys::FoldShiftedFunctionKey(key);
            doc_->SendKey(folded.key, folded.modifiers);
            break;
        }
        case TtyKey::Kind::Alt:
            doc_->SendByte(ESC);
            doc_->SendByte(static_cast<uint8_t>(key.text[0]));
            break;
        case TtyKey::Kind::Keypad:
            // Outside keypad application mode the key types its character.
            if (!doc_->SendKey(key.key, 0))
                for (char c : key.text)
                    doc_->SendByte(static_cast<uint8_t>(c));
            break;
        case TtyKey::Kind::Backspace:
            doc_->SendByte(BS);
            break;
        case TtyKey::Kind::Delete:
            doc_->SendByte(DEL);
            break;
        case TtyKey::Kind::Escape:
            if (!doc_->OnEscape()) doc_->SendByte(ESC);
            break;
        case TtyKey::Kind::Paste:
            doc_->Paste(utf8ToCp949Lossy(pastedLineEnds(key.text)));
            break;
        default:
            break;
    }
}

void TtyFrontEnd::runCommand(const TtyKey& key) {
    if (key.kind == TtyKey::Kind::Command) {
        if (doc_) doc_->SendByte(TtyKeys::kCommandByte);
        return;
    }
    if (key.kind != TtyKey::Kind::Text || key.text.size() != 1 || !doc_) return;
    const Command* command = commandForLetter(key.text[0]);
    if (command && command->id == Cmd::CaptureStart && capture_) {
        captureKeyPending_ = true;
        markDirty();
        return;
    }
    if (!runCommandId(command ? command->id : 0)) {
        commandPending_ = true;  // '?' and unknown letters keep the command list up
        markDirty();
    }
}

// An auto macro's command: the tty runs those it has a letter for.
void TtyFrontEnd::PostCommand(int id) {
    const Command* command = findCommand(id);
    if (command && command->ttyLetter && doc_) runCommandId(id);
}

bool TtyFrontEnd::ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) {
    return ChooseLoginOnStatusLine(prompt_, ids, choice);
}

bool TtyFrontEnd::runCommandId(int id) {
    switch (id) {
        case Cmd::Exit:
            quit();
            break;
        case Cmd::HangUp:
            if (!internet_ || !internet_->OfferHangUp()) doc_->HangUp(false);
            break;
        case Cmd::ConnectInternet:
            if (!internet_) return false;
            if (std::optional<std::string> address = prompt_.AskLine("인터넷 주소: "))
                internet_->ConnectInternet(trimmedAddress(*address), "");
            break;
        case Cmd::ChatBar:
            if (!chatLine_) return false;
            chatLine_->Open();
            break;
        case Cmd::WriteMemo:
            if (!chat_) return false;
            chat_->AnswerMemo();
            break;
        case Cmd::Participants:
            if (!chat_) return false;
            chat_->ShowParticipants();
            break;
        case Cmd::DosMode:
            if (!shell_) return false;
            shell_->ToggleDosMode();
            break;
        case Cmd::ScrollBack:
            scroll_.ScrollBy(-view_.Rows(), view_);
            markDirty();
            break;
        case Cmd::ModemMode:
            doc_->SwitchToModemMode();
            break;
        case Cmd::TelnetMode:
            doc_->SwitchToTelnetMode();
            break;
        case Cmd::AnswerMode:
            if (!doc_->ToggleAnswerMode())
                ShowStatus("자동 응답은 모뎀 모드에서만 쓸 수 있습니다.");
            break;
        case Cmd::ConnectHost:
            askAndOpen("접속할 호스트 [포트]: ", {});
            break;
        case Cmd::TelnetEntry:
            askAndOpen("텔넷 연결 이름: ", {"/t"});
            break;
        case Cmd::ModemEntry:
            askAndOpen("모뎀 연결 이름: ", {"/m"});
            break;
        case Cmd::CaptureStart:
            if (!capture_) return false;
            capture_->capture().StartOrFinish();
            break;
        case Cmd::SendFile:
            if (transfers_) transfers_->StartTransfer("ZMODEM", true, false);
            break;
        case Cmd::ReceiveFile:
            if (!transfers_) break;
            if (const std::optional<std::string> protocol = askReceiveProtocol(prompt_))
                transfers_->StartTransfer(*protocol, false, false);
            break;
        case Cmd::MacroSettings:
            if (!macroList_) return false;
            ShowPickList(&macroList_->Refreshed());
            break;
        case Cmd::AutoMacro:
            ShowStatus(doc_->ToggleUseAutoMacro() ? "자동 매크로를 켭니다."
                                                  : "자동 매크로를 끕니다.");
            break;
        case Cmd::UseLogin:
            ShowStatus(doc_->ToggleUseLogin() ? "사용자 로그인을 켭니다."
                                              : "사용자 로그인을 끕니다.");
            break;
        case Cmd::EditBookmarks:
        case Cmd::RecentPlaces:
        case Cmd::ServiceCommandList:
            return showNavigationList(id);
        case Cmd::UseAutoLogin:
            ShowStatus(doc_->ToggleUseAutoLogin() ? "로그인 자동 선택을 켭니다."
                                                  : "로그인 자동 선택을 끕니다.");
            break;
        default:
            return false;
    }
    return true;
}

bool TtyFrontEnd::showNavigationList(int id) {
    if (!navigation_) return false;
    if (id == Cmd::EditBookmarks) navigation_->ShowBookmarks();
    if (id == Cmd::RecentPlaces) navigation_->ShowRecentPlaces();
    if (id == Cmd::ServiceCommandList) navigation_->ShowServiceCommands();
    return true;
}

// A host or an entry name typed on the status line, opened as the command line would be.
void TtyFrontEnd::askAndOpen(const std::string& label, const std::vector<std::string>& prefix) {
    const std::optional<std::string> line = prompt_.AskLine(label);
    if (!line) return;
    std::vector<std::string> args = prefix;
    for (std::string& word : CommandLineWords(*line))
        args.push_back(std::move(word));
    if (args.size() > prefix.size()) doc_->OpenCommandLine(args);
}

void TtyFrontEnd::onSignals() {
    char signals[64];
    const ssize_t n = read(terminal_.SignalFd(), signals, sizeof signals);
    for (ssize_t i = 0; i < n; ++i) {
        switch (signals[i]) {
            case SIGWINCH:
                resize();
                break;
            case SIGCONT:
                terminal_.Resume();
                resize();
                break;
            default:  // SIGTERM, SIGHUP, SIGINT, SIGQUIT
                endNow();
                return;
        }
    }
}

void TtyFrontEnd::quit() {
    if (doc_ && !doc_->QueryClose()) return;
    loop_.quit();
}

// The end without questions: a transfer is stopped and waited for, nothing received is lost.
void TtyFrontEnd::endNow() {
    if (ending_) return;
    ending_ = true;
    loop_.setWatchEnabled(inputWatch_, false);
    prompt_.Abandon();
    if (doc_) doc_->CloseWithoutQuestions();
    loop_.quit();
}
