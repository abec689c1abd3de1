// The tty front end's window side: the session's frame operations, the idle pass, drawing and
// the status line, resizing. Keys, commands and signals are in TtyFrontEndKeys.cpp.
#include "app/tty/TtyFrontEnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/CommandTable.h"
#include "app/ConnectTime.h"
#include "app/tty/TtyCapture.h"
#include "app/tty/TtyChat.h"
#include "app/tty/TtyChatLine.h"
#include "app/tty/TtyMacroList.h"
#include "app/tty/TtyNavigation.h"
#include "app/tty/TtyPickList.h"
#include "app/tty/TtyShell.h"

namespace {

constexpr int kMessageMs = 8000;
constexpr int kClockTickMs = 1000;
constexpr int kHandOffCheckMs = 1500;
// How long start-up waits in all for the host terminal to report the widths it draws.
constexpr int kMeasureWidthsMs = 500;

// Whether the host terminal draws the symbols of the Korean code two cells wide: a box
// character and a sample of the other symbols are measured, and every one must come out wide.
// A terminal that does not answer counts as drawing them narrow.
bool hostDrawsSymbolsWide(HostTerminal& terminal) {
    const std::vector<int> widths =
        terminal.MeasureWidths({"─", "┼", "·", "±", "α", "Ж", "※"}, kMeasureWidthsMs);
    return std::all_of(widths.begin(), widths.end(), [](int cells) { return cells == 2; });
}

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Control bytes would act on the host terminal: the title keeps printable text only.
std::string printable(const std::string& text) {
    std::string out;
    for (char c : text)
        if (static_cast<uint8_t>(c) >= 0x20 && c != 0x7F) out += c;
    return out;
}

}  // namespace

TtyFrontEnd::TtyFrontEnd(EventLoop& loop, HostTerminal& terminal, Clock& clock)
    : loop_(loop), terminal_(terminal), clock_(clock), view_(clock), prompt_(*this, clock) {
    view_.bell = [this] { Beep(); };
    view_.damaged = [this] { dirty_ = true; };
    view_.textShifted = [this](int rows) { scroll_.Shift(rows, view_); };
    view_.lineReady = [this](bool partial) {
        if (doc_) doc_->LineReady(partial);
    };
    view_.highlighted = [this] {
        if (doc_) doc_->OnHighlight();
    };
    inputWatch_ = loop_.addWatch(terminal_.InputFd(), LoopEvent::Readable, [this](unsigned ready) {
        if (ready & LoopEvent::Hangup) {
            endNow();
            return;
        }
        readInput();
    });
    signalWatch_ = loop_.addWatch(terminal_.SignalFd(), LoopEvent::Readable,
                                  [this](unsigned) { onSignals(); });
    loop_.setIdleHook([this] { return onIdle(); });
    screen_.SetWideSymbols(hostDrawsSymbolsWide(terminal_));
    view_.SetRows(ScreenSettings{}.rows);
    resize();
}

TtyFrontEnd::~TtyFrontEnd() {
    loop_.setIdleHook(nullptr);
    for (int watch : {inputWatch_, signalWatch_})
        if (watch >= 0) loop_.removeWatch(watch);
    for (int timer : {escapeTimer_, drawTimer_, clockTimer_, messageTimer_, handOffTimer_})
        if (timer >= 0) loop_.removeTimer(timer);
}

void TtyFrontEnd::ApplyScreenSettings(const ScreenSettings& settings) {
    variableRows_ = settings.variableRows;
    view_.SetRows(settings.rows);
    view_.SetDefaultColors(settings.textColor, settings.bkColor);
    resize();
}

void TtyFrontEnd::Attach(CQuillonDoc& doc) {
    doc_ = &doc;
}

void TtyFrontEnd::Detach() {
    ShowPickList(nullptr);
    macroList_.reset();
    capture_.reset();
    navigation_.reset();
    chat_.reset();
    shell_.reset();
    chatLine_.reset();
    doc_ = nullptr;
}

void TtyFrontEnd::EnableCapture(Registry& registry) {
    capture_ = std::make_unique<TtyCapture>(
        *doc_, *this, registry, prompt_, view_, terminal_, launcher_, [this] { markDirty(); },
        [this] { resize(); });
}

void TtyFrontEnd::EnableMacroList(Registry& registry) {
    macroList_ = std::make_unique<TtyMacroList>(*doc_, registry, prompt_);
}

void TtyFrontEnd::EnableNavigation(Registry& registry) {
    navigation_ = std::make_unique<TtyNavigation>(*this, prompt_, registry, *doc_);
}

void TtyFrontEnd::EnableChat() {
    chatLine_ = std::make_unique<TtyChatLine>(doc_->ChatSide(), [this] { markDirty(); });
    chatLine_->escaped = [this] {
        scroll_.ToBottom();
        markDirty();
    };
    chat_ = std::make_unique<TtyChat>(*this, prompt_, doc_->Chat(), *chatLine_);
}

void TtyFrontEnd::EnableDosMode() {
    shell_ = std::make_unique<TtyShell>(*doc_, view_, terminal_, prompt_, *chatLine_,
                                        [this] { resize(); });
}

void TtyFrontEnd::Run() {
    running_ = true;
    markDirty();
    loop_.run();
    running_ = false;
}

void TtyFrontEnd::ShowPanel(TtyPanel* panel) {
    panel_ = panel;
    markDirty();
}

void TtyFrontEnd::ShowPickList(TtyPickList* list) {
    pickList_ = list;
    if (list) {
        list->Resize(TWView::kColumns, view_.Rows());
        list->Open();
    }
    markDirty();
}

// ---------------------------------------------------------------------------------------------
// The session's window

void TtyFrontEnd::SetTitle(const std::string& title) {
    title_ = title;
    terminal_.Write("\x1b]2;" + printable(title.empty() ? "Quilite" : title + " - Quilite") + "\a");
    markDirty();
}

void TtyFrontEnd::ShowStatus(const std::string& text) {
    message_ = text;
    if (messageTimer_ >= 0) loop_.removeTimer(messageTimer_);
    messageTimer_ = loop_.addTimer(kMessageMs, false, [this] {
        messageTimer_ = -1;
        message_.clear();
        markDirty();
    });
    markDirty();
}

void TtyFrontEnd::SetOnline(bool online) {
    online_ = online;
    connectedAt_ = clock_.nowMs();
    if (online && clockTimer_ < 0) {
        clockTimer_ = loop_.addTimer(kClockTickMs, true, [this] { markDirty(); });
    } else if (!online && clockTimer_ >= 0) {
        loop_.removeTimer(clockTimer_);
        clockTimer_ = -1;
    }
    markDirty();
}

void TtyFrontEnd::SetLinkMode(int mode, const std::string& device) {
    mode_ = mode == CQuillonDoc::kModemMode ? (device.empty() ? "모뎀" : "모뎀 " + device) : "텔넷";
    markDirty();
}

void TtyFrontEnd::ClearScreen() {
    view_.ClearScreen();
    view_.MoveTo(1, 1);
}

// A second connection goes to a new copy of the program in a window of its own; a second
// front end on this terminal would fight this one for it.
void TtyFrontEnd::HandOff(const std::vector<std::string>& args) {
    if (!hasDisplay()) {
        ShowStatus("그래픽 화면이 없어 새 창에서 연결할 수 없습니다.");
        return;
    }
    std::vector<std::string> argv{ProcessLauncher::ownProgram(), "--gui"};
    argv.insert(argv.end(), args.begin(), args.end());
    const int pid = launcher_.start(argv, "", true).pid;
    if (pid <= 0) {
        ShowStatus("새 창을 열지 못했습니다.");
        return;
    }
    ShowStatus("새 창에서 연결합니다.");
    // The new copy says why it stopped on its own standard error, which is /dev/null: a copy
    // that ends with a failure soon after starting is reported here instead.
    if (handOffTimer_ >= 0) loop_.removeTimer(handOffTimer_);
    handOffTimer_ = loop_.addTimer(kHandOffCheckMs, false, [this, pid] {
        handOffTimer_ = -1;
        if (launcher_.wait(pid, 0) > 0) ShowStatus("새 창을 열지 못했습니다.");
    });
}

void TtyFrontEnd::OpenCommSettings() {
    ShowStatus("통신 설정은 그래픽 화면에서 바꿀 수 있습니다.");
}

// ---------------------------------------------------------------------------------------------
// Questions

void TtyFrontEnd::ShowQuestion(const std::string& text, int caret) {
    question_ = text;
    questionCaret_ = caret;
    draw();
    if (text.empty()) loop_.post([this] { dispatch(prompt_.TakeHeldKeys()); });
}

// A wait that runs the loop when it can; inside another wait, or once the program is closing,
// the keyboard is read here.
void TtyFrontEnd::Beep() {
    if (!doc_ || !doc_->Silent()) terminal_.Write("\a");
}

void TtyFrontEnd::WaitForInput(int ms) {
    const WaitEnd end = ms > 0 ? loop_.runFor(ms) : WaitEnd::Nested;
    if (end == WaitEnd::Nested || end == WaitEnd::CloseRequested) readInputFor(ms);
    if (terminal_.Gone()) prompt_.Abandon();
}

// ---------------------------------------------------------------------------------------------
// Drawing

bool TtyFrontEnd::onIdle() {
    const bool more = doc_ && doc_->OnIdle();
    if (dirty_) more ? scheduleDraw() : draw();
    return more;
}

void TtyFrontEnd::markDirty() {
    dirty_ = true;
    if (running_) loop_.kickIdle();
}

void TtyFrontEnd::scheduleDraw() {
    if (drawTimer_ >= 0) return;
    const int64_t since = clock_.nowMs() - lastDraw_;
    if (since >= kDrawIntervalMs) {
        draw();
        return;
    }
    drawTimer_ = loop_.addTimer(static_cast<int>(kDrawIntervalMs - since), false, [this] {
        drawTimer_ = -1;
        draw();
    });
}

void TtyFrontEnd::draw() {
    dirty_ = false;
    lastDraw_ = clock_.nowMs();
    view_.ClearDamage();
    if (tooSmall_) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "터미널 창이 너무 작습니다: %dx%d 이상이 필요합니다 (지금 %dx%d).\n",
                      TWView::kColumns, view_.Rows() + 1, columns_, lines_);
        terminal_.Write(screen_.RenderMessage(std::string(text) + question_, columns_));
        return;
    }
    TtyFrame frame;
    frame.view = &view_;
    frame.rows = view_.Rows();
    frame.topRow = scroll_.AtBottom() ? view_.ScreenTop() : scroll_.TopRow();
    frame.status = statusLines();
    frame.width = columns_;
    const bool listShown = pickList_ && pickList_->Shown();
    if (listShown) frame.overlay = pickList_->Lines();
    if (!question_.empty()) {
        frame.caretShown = questionCaret_ >= 0;
        frame.caret = {std::min(questionCaret_, columns_ - 1), frame.rows};
    } else if (listShown) {
        frame.caretShown = false;
    } else if (chatLineShown()) {
        frame.caretShown = true;
        frame.caret = {std::min(chatLine_->Caret(columns_), columns_ - 1), frame.rows};
    } else {
        frame.caretShown = scroll_.AtBottom() && view_.CaretVisible();
        frame.caret = view_.Cursor();
    }
    terminal_.Write(screen_.Render(frame));
}

void TtyFrontEnd::resize() {
    if (!terminal_.Size(columns_, lines_)) return;
    if (variableRows_) {
        const int rows = std::clamp(lines_ - 1, 1, TWView::kMaxRows);
        if (rows != view_.Rows()) view_.ResizeRows(rows);
    }
    scroll_.SetVisibleRows(view_.Rows());
    if (pickList_) pickList_->Resize(TWView::kColumns, view_.Rows());
    tooSmall_ = columns_ < TWView::kColumns || lines_ < view_.Rows() + 1;
    screen_.Invalidate();
    markDirty();
}

std::vector<std::string> TtyFrontEnd::statusLines() const {
    if (!question_.empty()) return WrapToWidth(question_, columns_);
    if (pickList_ && pickList_->Shown()) return {pickList_->StatusText()};
    if (commandPending_) {
        return WrapToWidth(" 명령: " + ttyCommandList() + "  ^] 보내기", columns_);
    }
    if (captureKeyPending_) return WrapToWidth(TtyCapture::kKeyQuestion, columns_);
    if (panel_) return {panel_->StatusText(columns_)};
    if (chatLineShown()) return {chatLine_->StatusText(columns_)};
    // A message takes the place of the title for as long as it shows.
    std::string left = " " + mode_;
    if (doc_ && doc_->AnswerMode()) left += " 자동응답";
    if (capture_) left += capture_->StatusText();
    if (!scroll_.AtBottom()) left += " | 스크롤 (Esc: 돌아가기)";
    if (videotex_) left += " | 비디오텍스 화면은 창에서만 보입니다";
    if (!message_.empty()) {
        left += " | " + message_;
    } else if (!title_.empty()) {
        left += " | " + title_;
        if (!location_.empty()) left += " | " + location_;
    }
    const std::string right = "  ^]? 명령  " + connectTime() + " ";
    return {FitToWidth(left, columns_ - DisplayWidth(right)) + right};
}

// A panel (the dialler, a transfer) takes the status line from the chat line while it shows.
bool TtyFrontEnd::chatLineShown() const {
    return chatLine_ && chatLine_->IsOpen() && !panel_ && !commandPending_ && !captureKeyPending_;
}

void TtyFrontEnd::ShowLocation(const std::string& title, const std::string& code) {
    location_ = code.empty() ? "" : title + " (" + code + ")";
    markDirty();
}

bool TtyFrontEnd::EditBookmark(Record& bookmark) {
    return navigation_ && navigation_->AskBookmark(bookmark);
}

void TtyFrontEnd::PlacesChanged() {
    if (navigation_) navigation_->Refresh();
    markDirty();
}

void TtyFrontEnd::VideotexMode(bool on) {
    videotex_ = on;
    markDirty();
}

std::string TtyFrontEnd::connectTime() const {
    if (!online_) return "OFFLINE";
    return ConnectClockText((clock_.nowMs() - connectedAt_) / 1000);
}
