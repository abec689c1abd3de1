#pragma once
// What the session tests share: a profile store, the loop, scripted questions, a screen, and
// fakes for the links, the window and the parts plugged into the session.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "auto/CSettingsSection.h"
#include "link/CQuillonDoc.h"
#include "link/MemoryLink.h"
#include "link/ModemTable.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/auto/TempProfile.h"
#include "tests/fixtures/LoopWait.h"
#include "tests/term/RecordingView.h"

// A memory link whose connection state, output backlog and closing the test controls.
class FakeLink : public MemoryLink {
public:
    bool IsOnline() override { return online && !closed; }
    int HangUp(int final) override {
        if (hangUps) hangUps->push_back(final);
        online = false;
        return 1;
    }
    int Close() override {
        closed = true;
        return 0;
    }
    int WaitReady(int event, int block) override {
        if (event == 1) answerOnce();
        return event == 2 ? (backlog == 0 ? 1 : 0) : MemoryLink::WaitReady(event, block);
    }
    int OutputCount() override { return backlog; }
    int IsDrained() override { return drained; }
    int Flush(int direction, int count) override {
        flushes.push_back(direction);
        if (direction == 0) PurgeInput();
        return MemoryLink::Flush(direction, count);
    }
    // The host answers once the other side listens (on the thread that reads).
    int ReadByte() override {
        answerOnce();
        return MemoryLink::ReadByte();
    }
    int Read(void* data, int count) override {
        answerOnce();
        return MemoryLink::Read(data, count);
    }

    std::atomic<bool> online{false};
    std::atomic<bool> closed{false};
    int backlog = 0;                      // output still waiting to go out, as the test says
    bool drained = true;                  // nothing queued on the link's far side
    std::vector<int>* hangUps = nullptr;  // where HangUp calls are logged
    std::vector<int> flushes;
    std::string answer;  // what the host sends when first read (a transfer's peer)

private:
    void answerOnce() {
        if (answer.empty()) return;
        Feed(answer);
        answer.clear();
    }
};

// Hands out FakeLinks and records what was asked for.
class FakeLinks : public SessionLinks {
public:
    std::unique_ptr<GFComLink> OpenModem(const ModemDevice& device) override {
        modemsOpened.push_back(device);
        return failModem ? nullptr : make();
    }
    std::unique_ptr<GFComLink> ConnectTelnet(const std::string& host, int port) override {
        telnetCalls.emplace_back(host, port);
        return failTelnet ? nullptr : make();
    }

    std::vector<ModemDevice> modemsOpened;
    std::vector<std::pair<std::string, int>> telnetCalls;
    bool failModem = false;
    bool failTelnet = false;
    FakeLink* last = nullptr;  // the link handed out last (owned by the session)
    std::vector<int> hangUps;  // HangUp calls of every link, which may be gone by now

private:
    std::unique_ptr<GFComLink> make() {
        auto link = std::make_unique<FakeLink>();
        link->hangUps = &hangUps;
        last = link.get();
        return link;
    }
};

class FakeFrame : public SessionFrame {
public:
    void SetTitle(const std::string& text) override { title = text; }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    void SetOnline(bool on) override { onlineChanges.push_back(on); }
    void SetLinkMode(int mode, const std::string& device) override {
        linkMode = mode;
        modemDevice = device;
    }
    void ClearScreen() override { ++clears; }
    bool ScrolledBack() override { return scrolledBack; }
    void HandOff(const std::vector<std::string>& args) override { handOffs.push_back(args); }
    void OpenCommSettings() override { ++settingsOpened; }
    void ServiceChanged() override { ++serviceChanges; }
    void ShowBookmarksPage() override { ++bookmarksShown; }
    void PostCommand(int id) override { commands.push_back(id); }
    void EnableFrame(bool on) override { enables.push_back(on); }
    bool ChooseLogin(const std::vector<Record>& ids, LoginChoice& choice) override {
        chooserOffers.push_back(ids);
        return chooser ? chooser(choice) : false;
    }
    void AttractUser() override { ++attracted; }
    void RedrawNow() override { ++redraws; }
    void ShowLocation(const std::string& title, const std::string& code) override {
        locations.emplace_back(title, code);
    }
    bool EditBookmark(Record& bookmark) override {
        bookmarkDialogs.push_back(bookmark);
        return bookmarkDialog ? bookmarkDialog(bookmark) : false;
    }

    std::string title;
    std::vector<std::string> statuses;
    std::vector<bool> onlineChanges;
    int linkMode = 0;
    std::string modemDevice;
    int clears = 0;
    bool scrolledBack = false;
    std::vector<std::vector<std::string>> handOffs;
    int settingsOpened = 0;
    int serviceChanges = 0;
    int bookmarksShown = 0;
    std::vector<int> commands;
    std::vector<bool> enables;
    std::function<bool(LoginChoice&)> chooser;  // the user at the log-in chooser: cancels if unset
    std::vector<std::vector<Record>> chooserOffers;
    int attracted = 0;
    int redraws = 0;
    std::vector<std::pair<std::string, std::string>> locations;  // shown: title, code
    std::function<bool(Record&)> bookmarkDialog;  // the user at the record dialog: cancels if unset
    std::vector<Record> bookmarkDialogs;          // what each opening showed
};

class RecordingHooks : public SessionHooks {
public:
    void OnZmodemRequest(int code) override { events.push_back(code); }
    void OnHostImageTransfer() override { events.push_back(-817); }
    void OnVideotexStart() override { events.push_back(-808); }
    void OnImageStart() override { events.push_back(-815); }
    void OnImageEnd() override { events.push_back(-811); }
    void DialEntry(const Record& entry) override { dialled.push_back(entry); }
    void ConnectInternet(const std::string& address, const std::string& dialer) override {
        internet.emplace_back(address, dialer);
    }
    std::string InternetConnection() override { return internetName; }
    void HangUpInternet() override { ++internetHangUps; }
    void OnConnectionChanged(bool online) override { connectionChanges.push_back(online); }
    void OnInputSettled() override { ++settled; }

    std::string internetName;  // the dial-up connection that is up, "" for none
    int internetHangUps = 0;
    int settled = 0;
    std::vector<int> events;
    std::vector<Record> dialled;
    std::vector<std::pair<std::string, std::string>> internet;  // address, dialer
    std::vector<bool> connectionChanges;
};

// The terminal's screen, handing the lines it offers to the session as the window's view does.
class SessionView : public RecordingView {
public:
    void OnLineReady(bool partial) override {
        RecordingView::OnLineReady(partial);
        if (session && *session) (*session)->LineReady(partial);
    }
    const std::unique_ptr<CQuillonDoc>* session = nullptr;
};

// Records the sound files it is asked to play and whether the caller waits.
class RecordingSoundPlayer : public SoundPlayer {
public:
    void playFile(const std::string& path, bool wait) override { played.push_back({path, wait}); }
    std::vector<std::pair<std::string, bool>> played;
};

// A transfer whose thread runs until it is cancelled (unless told to ignore that) or its link
// is closed, writing to a file as it goes.
class ThreadTransfer : public TransferJob {
public:
    ThreadTransfer(FakeLink& link, std::string path, bool ignoreCancel)
        : ignoreCancel_(ignoreCancel), thread_([this, &link, path] { run(link, path); }) {}
    ~ThreadTransfer() override {
        cancelled_ = true;
        thread_.join();
    }
    void Cancel() override { cancelled_ = true; }
    bool Finished() override { return finished_; }

private:
    void run(FakeLink& link, const std::string& path);

    bool ignoreCancel_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

class SessionTest : public TempProfile {
protected:
    SessionTest() {
        view.session = &doc;
        setComm("InitMode", "1");
        setComm("ModemInit", "ATZ");
    }
    ~SessionTest() override { loop.setIdleHook(nullptr); }

    // The session, started with the words of a command line; the loop's idle hook is its pump.
    // Its links and hooks are the fakes unless others are given.
    CQuillonDoc& start(const std::vector<std::string>& words = {}, Clock& clock = Clock::steady(),
                       SessionLinks* with = nullptr, SessionHooks* withHooks = nullptr) {
        doc = std::make_unique<CQuillonDoc>(SessionContext{loop, prompt, *registry, sound, view,
                                                           with ? *with : links, frame,
                                                           withHooks ? withHooks : &hooks, clock});
        loop.setIdleHook([this] { return doc->OnIdle(); });
        doc->Start(words);
        return *doc;
    }

    void setComm(const std::string& name, const std::string& value) {
        CSettingsSection(*registry, "Comm").SetString(name, value);
    }
    void setSetting(const std::string& section, const std::string& name, const std::string& value) {
        CSettingsSection(*registry, section).SetString(name, value);
    }
    // A modem named "Modem" on COM1, or a direct cable on COM2.
    void addModem() {
        ModemTable::store(*registry, {{"Modem", "COM1", std::nullopt}});
        setComm("ModemDevice", "Modem");
    }
    void useDirectCable() { setComm("ModemDevice", "COM2"); }
    // A stored entry in the telnet (Type 1) or modem (Type 0) list; fields CP949.
    void addEntry(int kind, const Record& entry) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(kind));
        std::optional<RegKey> key = store.AddRecord(store.Section());
        ASSERT_TRUE(key);
        ASSERT_TRUE(store.WriteRecord(*key, entry));
    }

    template <class Condition>
    bool runUntil(Condition done, int timeoutMs = 5000) {
        return runLoopUntil(loop, done, timeoutMs);
    }
    // Runs the program's loop (not a nested wait) until the condition holds.
    template <class Condition>
    bool runProgramUntil(Condition done, int timeoutMs) {
        const int64_t end = Clock::steady().nowMs() + timeoutMs;
        const int timer = loop.addTimer(20, true, [&] {
            if (done() || Clock::steady().nowMs() > end) loop.quit();
        });
        loop.kickIdle();
        loop.run();
        loop.removeTimer(timer);
        return done();
    }
    // True when some screen row reads `text` (CP949) from its start.
    bool screenShows(const std::string& text) const {
        for (int y = 0; y < view.Rows(); ++y)
            if (view.Text(y).starts_with(text)) return true;
        return false;
    }
    // Runs idle passes until the pump has nothing more.
    void settle() {
        loop.kickIdle();
        for (int i = 0; i < 100 && loop.runFor(5) == WaitEnd::TimedOut;) {
            if (!doc->MoreData()) ++i;
            if (i > 3) break;
        }
    }
    // The link goes online (or offline) and one idle pass notices.
    void setOnline(bool on) {
        links.last->online = on;
        doc->OnIdle();
    }
    std::string sent() const { return links.last ? links.last->Output() : ""; }

    PollEventLoop loop;
    ScriptedPrompt prompt;
    RecordingSoundPlayer sound;
    SessionView view;
    FakeLinks links;
    FakeFrame frame;
    RecordingHooks hooks;
    std::unique_ptr<CQuillonDoc> doc;
};
