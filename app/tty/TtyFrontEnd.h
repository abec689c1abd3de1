#pragma once
// The whole session inside the user's own terminal: the screen with a status line below it,
// the keys translated as the terminal window translates them, a command key (Ctrl-]) for what
// menus do in the GUI, questions on the status line, scroll-back, resizing, and the signals
// that end or stop the program. It is the session's window (SessionFrame).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/tty/HostTerminal.h"
#include "app/tty/TtyKeys.h"
#include "app/tty/TtyPanel.h"
#include "app/tty/TtyPrompt.h"
#include "app/tty/TtyScreen.h"
#include "app/tty/TtyView.h"
#include "link/CQuillonDoc.h"
#include "link/InternetDialer.h"
#include "link/SessionFrame.h"
#include "link/TransferBridge.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/ProcessLauncher.h"
#include "term/ScreenSettings.h"
#include "term/TWScrollBack.h"

class TtyCapture;
class TtyChat;
class TtyChatLine;
class TtyMacroList;
class TtyNavigation;
class TtyPickList;
class TtyShell;

class TtyFrontEnd : public SessionFrame, private TtyQuestionHost {
public:
    // Draws at most this often while data flows.
    static constexpr int kDrawIntervalMs = 50;

    // The terminal has been taken over (HostTerminal::Enter).
    TtyFrontEnd(EventLoop& loop, HostTerminal& terminal, Clock& clock = Clock::steady());
    ~TtyFrontEnd() override;
    TtyFrontEnd(const TtyFrontEnd&) = delete;
    TtyFrontEnd& operator=(const TtyFrontEnd&) = delete;

    TtyView& View() { return view_; }
    TtyPrompt& Questions() { return prompt_; }
    // "Rows" and "VariableRows": the screen's rows, or rows that follow the terminal's height.
    void ApplyScreenSettings(const ScreenSettings& settings);
    // From now on keys go to the session and idle passes pump it.
    void Attach(CQuillonDoc& doc);
    // Capture on the command key's "l", once attached.
    void EnableCapture(Registry& registry);
    // The macro list on the command key's "k", once attached.
    void EnableMacroList(Registry& registry);
    // The bookmark, place and service-command lists on "g", "j" and "n", once attached.
    void EnableNavigation(Registry& registry);
    // The chat input line on "i", memos on the status line and their answer on "y", the
    // participants on "u", once attached.
    void EnableChat();
    // Null until EnableChat.
    TtyChatLine* ChatLine() { return chatLine_.get(); }
    // DOS mode in the chat input line on "x", once the chat input line is there.
    void EnableDosMode();
    // The session is about to go: its capture ends first and keys no longer reach it.
    void Detach();
    // Runs until the user quits (after the closing questions), a signal ends the program or the
    // terminal goes away.
    void Run();
    // Puts a panel on the status line, or draws the one there again; null takes it off.
    void ShowPanel(TtyPanel* panel);
    // Draws the list over the screen and gives it the keys (after a question's) until it closes;
    // null takes it off. The caller keeps the list.
    void ShowPickList(TtyPickList* list);
    // Where the send and receive letters start transfers; null: they do nothing.
    void SetTransfers(TransferBridge* transfers) { transfers_ = transfers; }

    void SetTitle(const std::string& title) override;
    void ShowStatus(const std::string& text) override;
    void SetOnline(bool online) override;
    void SetLinkMode(int mode, const std::string& device) override;
    void ClearScreen() override;
    bool ScrolledBack() override { return !scroll_.AtBottom(); }
    void HandOff(const std::vector<std::string>& args) override;
    void OpenCommSettings() override;
    void PostCommand(int id) override;
    // While dial-up networking dials, keys other than the wait notice's cancel are ignored.
    void EnableFrame(bool enabled) override { frameEnabled_ = enabled; }
    // The internet connection the "w" command dials with; null: the command is not offered.
    void SetInternet(InternetDialer* dialer) { internet_ = dialer; }
    bool ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) override;
    void AttractUser() override { Beep(); }
    void RedrawNow() override { draw(); }
    void VideotexMode(bool on) override;
    void ShowLocation(const std::string& title, const std::string& code) override;
    bool EditBookmark(Record& bookmark) override;
    void PlacesChanged() override;

private:
    void ShowQuestion(const std::string& text, int caret) override;
    void WaitForInput(int ms) override;
    void Beep() override;

    // Input (TtyFrontEndKeys.cpp).
    void readInput();
    void readInputFor(int ms);
    void dispatch(const std::vector<TtyKey>& keys);
    void onKey(const TtyKey& key);
    bool cancelConnecting(const TtyKey& key);
    bool pickListKey(const TtyKey& key);
    bool scrollBackKey(const TtyKey& key);
    void sendToSession(const TtyKey& key);
    bool videotexKey(const TtyKey& key);
    void runCommand(const TtyKey& key);
    // False for an id the tty has no letter for.
    bool runCommandId(int id);
    void askAndOpen(const std::string& label, const std::vector<std::string>& prefix);
    bool showNavigationList(int id);
    void onSignals();
    void quit();
    void endNow();

    // Output (TtyFrontEnd.cpp).
    bool onIdle();
    void markDirty();
    void scheduleDraw();
    void draw();
    void resize();
    std::vector<std::string> statusLines() const;
    std::string connectTime() const;
    bool chatLineShown() const;

    EventLoop& loop_;
    HostTerminal& terminal_;
    Clock& clock_;
    TtyView view_;
    TtyScreen screen_;
    TtyKeys keys_;
    TtyPrompt prompt_;
    TWScrollBack scroll_;
    ProcessLauncher launcher_;
    CQuillonDoc* doc_ = nullptr;
    std::unique_ptr<TtyCapture> capture_;
    std::unique_ptr<TtyMacroList> macroList_;
    std::unique_ptr<TtyNavigation> navigation_;
    std::unique_ptr<TtyChatLine> chatLine_;
    std::unique_ptr<TtyChat> chat_;
    std::unique_ptr<TtyShell> shell_;  // plugged into chatLine_
    TtyPanel* panel_ = nullptr;
    TtyPickList* pickList_ = nullptr;
    TransferBridge* transfers_ = nullptr;

    int inputWatch_ = -1;
    int signalWatch_ = -1;
    int escapeTimer_ = -1;
    int drawTimer_ = -1;
    int clockTimer_ = -1;
    int messageTimer_ = -1;
    int handOffTimer_ = -1;  // checks that a copy started for a hand-off keeps running
    int64_t lastDraw_ = 0;
    bool dirty_ = true;
    bool running_ = false;
    bool ending_ = false;

    int columns_ = 80;
    int lines_ = 25;
    bool variableRows_ = false;
    bool tooSmall_ = false;

    std::string title_;
    std::string location_;  // "자유게시판 (FREE)": the place the screen shows
    std::string message_;
    std::string question_;
    int questionCaret_ = -1;
    std::string mode_ = "텔넷";
    bool online_ = false;
    bool videotex_ = false;  // a videotex page is open (and not shown here)
    int64_t connectedAt_ = 0;
    bool commandPending_ = false;
    bool frameEnabled_ = true;
    InternetDialer* internet_ = nullptr;
    bool captureKeyPending_ = false;  // the command key and "l": the capture's key comes next
};
