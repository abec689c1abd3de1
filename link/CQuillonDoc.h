#pragma once
// The session: which kind of link is in use, the link itself, the terminal interpreter that
// consumes its bytes, the running transfer and paste, and the moves between offline and
// online. It opens and initialises the modem, connects telnet hosts and stored entries, pumps
// received bytes into the terminal during idle passes, sends the user's keys and text, and asks
// before hanging up or closing. One per program; the GUI and the tty front end both host it.
// User-interface thread only.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auto/AutoLogin.h"
#include "auto/AutoMacroList.h"
#include "auto/CRecordStore.h"
#include "auto/ChatAssistant.h"
#include "auto/LocationRecognition.h"
#include "auto/MacroTable.h"
#include "auto/RecentPlaces.h"
#include "auto/Registry.h"
#include "link/CommandLine.h"
#include "link/PasteJob.h"
#include "link/SessionChat.h"
#include "link/SessionFrame.h"
#include "link/SessionHooks.h"
#include "link/SessionLinks.h"
#include "link/TransferJob.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"
#include "platform/SoundPlayer.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

class CVtx;
class SessionVideotex;

struct SessionContext {
    EventLoop& loop;
    Prompt& prompt;
    Registry& registry;
    SoundPlayer& sound;
    TWView& view;
    SessionLinks& links;
    SessionFrame& frame;
    SessionHooks* hooks = nullptr;  // null: nothing plugged in
    Clock& clock = Clock::steady();
};

class CQuillonDoc {
public:
    static constexpr int kModemMode = 1;
    static constexpr int kTelnetMode = 2;
    // One pump pass interprets for this long at most.
    static constexpr int kPumpLimitMs = 90;
    // After a transfer was asked to stop at closing, the link is shut down after this long so
    // that the engine fails at once.
    static constexpr int kCancelGraceMs = 10000;
    // A dial from the command line waits this long at most for the modem to answer its
    // initialisation.
    static constexpr int kInitAnswerMs = 3000;

    explicit CQuillonDoc(const SessionContext& context);
    ~CQuillonDoc();
    CQuillonDoc(const CQuillonDoc&) = delete;
    CQuillonDoc& operator=(const CQuillonDoc&) = delete;

    // Start of the program: the mode of the `Comm` setting "InitMode" or of the command line
    // (opening and initialising the modem in modem mode), then the connection the command line
    // asks for.
    void Start(const std::vector<std::string>& commandLine);
    // Start of the program on an entry kept in memory (the demo host's): telnet mode whatever
    // "InitMode" says, the entry connected, and the log-in left alone (state -1).
    void StartOnEntry(const Record& entry);
    // A connection asked for by command-line words while the program runs: handed to a new
    // copy when busy. False when refused (the user was told) or when it failed to start.
    bool OpenCommandLine(const std::vector<std::string>& words);

    // --- links ------------------------------------------------------------------------------
    bool OpenModemLink();
    void InitModem(bool wait);
    // The answer-mode menu command: only in modem mode on an open real modem; false otherwise.
    bool ToggleAnswerMode();
    void SetAnswerMode(bool on);
    void SwitchToModemMode();
    void SwitchToTelnetMode();
    // entry: a stored connection entry (CP949 fields). Busy sessions hand it on.
    bool ConnectEntry(const Record& entry);
    // host: CP949, "host", "host:port", a trailing "/" allowed.
    bool Connect(const std::string& host, int port = 23);
    // Gives up a telnet connect that has had no answer yet; false when none is pending.
    bool CancelConnect();
    void HangUp(bool final);
    void CloseLink();

    // --- receiving --------------------------------------------------------------------------
    // One idle pass of the view: the online check, a pending dial, one pump pass unless a
    // transfer owns the link or the view is scrolled back, the event reaction and the paste
    // job. True while data keeps flowing (run again soon).
    bool OnIdle();
    // Interprets received bytes for at most limitMs: the last value GetChar gave (>= 0 while
    // data flows), -802 at once when suspended, busy or without a link.
    int Pump(int limitMs);
    bool CheckOnline();
    // The reaction to a status code of the interpreter.
    void OnLinkEvent(int code);
    // The line pipeline: a line the view offers (complete, or partial when input paused).
    // True only when an auto macro fired (the view then redraws and empties the line).
    bool ProcessLine(std::string_view line, bool partial);
    // What the view's OnLineReady calls: ProcessLine on its pending line, which is emptied and
    // redrawn when a macro fired.
    void LineReady(bool partial);
    // What the view calls when a string of the highlight list has been marked on screen.
    void OnHighlight();

    // --- service and auto macros ------------------------------------------------------------
    // The service (CP949) whose navigation values and auto macros are in use: the entry's
    // "Host" while connected through an entry, "기본" otherwise.
    void SetCurrentService(const std::string& name);
    const std::string& CurrentService() const { return currentService_; }
    // Every value of the service's record ("시작 프롬프트", "시작 명령", ...).
    const Record& ServiceMap() const { return serviceMap_; }
    const AutoMacroList& AutoMacros() const { return macros_; }
    // Flips `Off` of a rule; saved only while connected to a named service. False for an index
    // outside the list.
    bool ToggleAutoMacro(size_t index);
    bool UseAutoMacro() const { return useAutoMacro_; }
    // Flips and stores the `Settings` value "UseAutoMacro"; returns the new state.
    bool ToggleUseAutoMacro();
    // The auto log-in of the current service; the toggles flip and store "UseLogin" and
    // "UseAutoLogin" and return the new state.
    const AutoLogin& Login() const { return login_; }
    bool ToggleUseLogin() { return login_.ToggleUseLogin(); }
    bool ToggleUseAutoLogin() { return login_.ToggleUseAutoLogin(); }
    // Set while the screen shows a chat room (the chat assistant decides); service commands
    // then go as "/" commands (RoomCommand).
    void SetInChatRoom(bool inRoom) { inChatRoom_ = inRoom; }
    bool InChatRoom() const { return inChatRoom_; }
    // The chat-room assistant: the room's participants, presence marks and memos.
    ChatAssistant& Chat() { return chat_; }
    ChatSession& ChatSide() { return chatSide_; }

    // --- service commands and bookmarks (CQuillonDocNavigation.cpp) ------------------------
    // The article number or word the user picked on the screen (CP949), trimmed.
    void SetSelectedItem(const std::string& item);
    const std::string& SelectedItem() const { return selectedItem_; }
    // `command` indexes ServiceCommands(): available while online, its value not empty (an
    // article command also needs the selected item). Running an unavailable one does nothing.
    bool ServiceCommandEnabled(size_t command) const;
    void RunServiceCommand(size_t command);
    // The current service's bookmarks, reloaded with the service and when a list is saved.
    const std::vector<Record>& Bookmarks() const { return bookmarks_; }
    // Sends the go command with the bookmark's location and stores its visit time; nothing
    // for an index outside the list, offline or while a transfer owns the link.
    void GoBookmark(size_t index);
    // A new bookmark of the place the screen shows, through the frame's record dialog.
    void AddCurrentLocation();
    void GoRecentLocation(size_t index);
    void GoRecentMenu(size_t index);
    const RecentPlaces& RecentLocations() const { return recentLocations_; }
    const RecentPlaces& RecentMenus() const { return recentMenus_; }
    // The place the screen shows on a recognised service; read once per screen unless forced.
    bool RecogniseLocation(std::string& title, std::string& location, bool force = false);

    // --- keyboard macros --------------------------------------------------------------------
    // The current service's macros, reloaded with the service and when the page saves them.
    const MacroTable& Macros() const { return keyMacros_; }
    // What a front end calls with each key press before its own handling: a macro's hot key
    // posts RunMacro of its row and is consumed (true).
    bool TranslateMacroKey(const HotKey& key);
    // Sends row `index` through the key notation, paced; an index outside the table does
    // nothing. A macro started while another is paced waits its turn.
    void RunMacro(size_t index);

    // --- sending ----------------------------------------------------------------------------
    // Through the interpreter's send conversions; does nothing (and reports success) while a
    // transfer owns the link or no link is open.
    bool SendByte(uint8_t c);
    bool SendRawByte(uint8_t c);
    // Every byte but LF, as one held group; SendLine adds a CR.
    void SendText(std::string_view text);
    void SendLine(std::string_view text);
    // A function, cursor or keypad key; false when it sends nothing (or cannot now).
    bool SendKey(TWKey key, unsigned modifiers);
    // A local message (UTF-8, "\n" for a line end) written into the terminal, not sent.
    void ShowText(const std::string& text);
    // Local CP949 text (the command shell's) through the interpreter as if received: escape
    // sequences act on the screen, but every reply the interpreter would send (reports,
    // answerback, answer echo) is dropped, nothing enters the line pipeline, and a status code
    // it raises (a transfer's start) is not acted on. The host's pending line stays as it was.
    void ShowLocalText(std::string_view cp949);
    void FlushOutput();
    void PurgeInput();

    // Starts sending pasted text (CP949); replaces a paste still running. Nothing for empty
    // text, or on a telnet link that is not online.
    void Paste(std::string text);
    bool PasteRunning() const { return pasteJob_ != nullptr; }
    // Esc while a paste runs asks whether to cancel it; true when the key was claimed.
    bool OnEscape();

    // --- transfers (the transfer bridge) ----------------------------------------------------
    // A transfer engine now owns the link: the pump and the keys keep off it.
    void BeginTransfer(std::unique_ptr<TransferJob> job);
    // The transfer ended (its thread has finished); result as the engine returned it.
    void EndTransfer(int result);
    bool TransferActive() const { return transferActive_; }
    int TransferResult() const { return transferResult_; }

    // --- pictures sent inline ---------------------------------------------------------------
    // While a picture document owns the link, each idle pass runs this instead of the
    // terminal's pump; it returns true while bytes keep waiting. Null: no picture owns it.
    void SetPicturePump(std::function<bool()> pump) { picturePump_ = std::move(pump); }
    // The link-busy value: 0 free, 1 a transfer or picture owns the link, 2 stop asked for.
    int LinkBusy() const { return linkBusy_; }
    void SetLinkBusy(int value) { linkBusy_ = value; }
    // Asks a picture that owns the link to stop (hang-up, closing, the picture's end).
    void StopPicture() {
        if (picturePump_ && linkBusy_) linkBusy_ = 2;
    }

    // The closing query, with every question; true when the program may close. Then the
    // closing flag is set and the link destroyed.
    bool QueryClose();
    // Closing that cannot ask (a signal, the terminal gone): a running transfer is stopped and
    // its thread waited for, then the link goes.
    void CloseWithoutQuestions();

    // --- state ------------------------------------------------------------------------------
    bool Online() const { return online_; }
    bool LinkOpen() const { return linkOpen_; }
    bool AnswerMode() const { return answerMode_; }
    bool DirectCable() const { return directCable_; }
    bool MoreData() const { return moreData_; }
    bool Closing() const { return closing_; }
    bool UseJohab() const { return useJohab_; }
    // Johab Hangul mode: received pairs shown from Johab and typed pairs sent as Johab; the
    // choice is stored as the setting "UseJohab".
    void SetUseJohab(bool on);
    bool Silent() const { return silent_; }
    int LinkMode() const { return linkMode_; }
    int StartMode() const { return startMode_; }
    bool PendingDial() const { return pendingDial_; }
    void SetPumpSuspended(bool on) { pumpSuspended_ = on; }
    // CP949 texts.
    const std::string& Title() const { return title_; }
    const std::string& CurrentEntry() const { return currentEntry_; }
    // The document title (CP949), shown by the window: the entry being dialled, the host.
    void setTitle(const std::string& cp949);
    GFComLink* Link() { return link_.get(); }
    TWEmulator* Interpreter() { return interpreter_.get(); }
    // The videotex page while videotex mode is on (it then owns the pump), else null.
    CVtx* VideotexPage();
    bool VideotexShown() const;
    // Typing while videotex mode is on goes to the page, before anything else sees it: text
    // (CP949; CR is Enter, BS Backspace) and keys (F1-F10 and the arrows without modifiers;
    // other keys do nothing). False when the mode is off and the input goes on as usual.
    bool VideotexText(std::string_view cp949);
    bool VideotexKey(TWKey key, unsigned modifiers);
    // Sees every byte received, through this interpreter and every later one (code capture).
    void SetRawTap(TWEmulator::RawTap tap);

private:
    // What a pump pass feeds the received bytes to; a transfer's thread reads the link itself.
    enum class PumpOwner { Interpreter, Videotex, Picture, Transfer };
    PumpOwner pumpOwner() const;
    int pumpVideotex();
    void startVideotex();
    void endVideotex();

    void enterStartMode();
    void awaitInitAnswer();
    void noteInitAnswer(std::string_view line);
    void initAnswered();
    bool connectRequest(const ConnectRequest& request);
    std::optional<Record> findEntry(const std::string& name, bool modem);
    bool connectModemEntry(const Record& entry);
    void makeInterpreter();
    TWEmulator& localInterpreter();
    // A pause that keeps the user interface running; false when the program is closing.
    bool pause(int ms);
    void OnConnected();
    void recogniseStartPrompt(std::string_view line);
    std::string serviceValue(const char* utf8Name) const;
    bool canSendToHost() const;
    std::string goCommand() const;
    std::string bookmarkTarget(const Record& bookmark) const;
    void goPlace(const Location* place);
    void loadBookmarks();
    void loadServiceMap();
    std::optional<Location> readLocation();
    void noteSettledLocation();
    void fireAutoMacro(const AutoMacroList::Match& match);
    void reloadMacros();
    void stepLogin(std::string_view line);
    void stepLoginWhenSettled();
    bool pumpDelay(int ms);
    void dropRetiredLink();
    void useDefaultService();
    void OnDisconnected();
    void offerPartialLine(int lastValue);
    void sendHeld(std::string_view text, bool endWithCR);
    bool stepPaste();
    void cancelTransferForClose();
    void closeSession();
    bool askModemHangUp();
    void tell(const std::string& text, PromptIcon icon);

    SessionContext ctx_;
    SessionHooks& hooks_;

    bool pendingDial_ = false;
    bool online_ = false;
    bool answerMode_ = false;
    bool pumpSuspended_ = false;
    bool linkOpen_ = false;
    bool moreData_ = false;
    bool transferActive_ = false;
    bool directCable_ = false;
    bool hangingUp_ = false;
    bool closing_ = false;
    bool useJohab_ = false;
    bool silent_ = false;
    bool lineDataSeen_ = false;        // bytes were displayed since the last partial line
    bool initialising_ = false;        // InitModem runs: a pending dial waits for the modem
    bool awaitingInitAnswer_ = false;  // and then for the modem's answer to it
    int initAnswerTimer_ = -1;
    int linkMode_ = kTelnetMode;
    int startMode_ = kTelnetMode;
    int transferResult_ = 0;
    int linkBusy_ = 0;
    int pasteTimer_ = -1;
    int listSubscription_ = 0;
    int pacing_ = 0;           // nested paced replies running
    unsigned linkSerial_ = 0;  // counts CloseLink calls: a paced reply stops when its link goes
    bool useAutoMacro_ = true;
    bool startPromptSeen_ = false;
    bool autoLoginArmed_ = false;  // a log-in step waits for the link to drain

    std::unique_ptr<GFComLink> link_;
    std::unique_ptr<TWEmulator> interpreter_;
    std::unique_ptr<TWEmulator> offlineInterpreter_;  // local text while no link is open
    std::unique_ptr<SessionVideotex> videotex_;
    TWEmulator::RawTap rawTap_;
    std::unique_ptr<TransferJob> transfer_;
    std::unique_ptr<PasteJob> pasteJob_;
    std::function<bool()> picturePump_;
    std::string title_;
    std::string currentEntry_;
    Record pendingEntry_;
    std::string modemDevice_;
    std::string currentService_;
    Record serviceMap_;
    int serviceType_ = 0;  // ServiceType of the current service
    bool inChatRoom_ = false;
    std::string selectedItem_;
    std::vector<Record> bookmarks_;
    RecentPlaces recentLocations_{10};
    RecentPlaces recentMenus_{20};
    bool locationRead_ = false;  // location_ is what the screen shows now
    std::optional<Location> location_;
    std::optional<Location> shownLocation_;
    std::string startPrompt_, startCommand_;
    AutoMacroList macros_;
    MacroTable keyMacros_;
    std::deque<std::string> queuedMacros_;  // contents waiting while a macro is paced
    bool sendingMacro_ = false;
    AutoLogin login_;
    SessionChat chatSide_{*this, ctx_.view};
    ChatAssistant chat_{chatSide_, ctx_.registry, ctx_.sound};
    // A link closed while a reply is paced from inside the interpreter's pump: kept until the
    // pump has returned.
    std::unique_ptr<TWEmulator> retiredInterpreter_;
    std::unique_ptr<GFComLink> retiredLink_;

    class Replies;
    class LoginSide;
};
