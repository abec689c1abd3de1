#pragma once
// One logged-in user of the demo host: the log-in dialogue, then pages and commands until the
// user logs out, hangs up, stays idle for 15 minutes or the host stops. Runs on the
// connection's own thread; text is written in UTF-8 and sent in CP949.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/demohost/DemoHostState.h"
#include "tools/demohost/DemoPages.h"
#include "tools/demohost/LineInput.h"
#include "tools/demohost/TelnetServerLink.h"

class DemoSession {
public:
    // number: the connection's number, which names a guest.
    DemoSession(TelnetServerLink& link, DemoHostState& host, int number);
    ~DemoSession();
    void Run();

    // What pages use.
    // UTF-8 text; each LF goes out as CR LF.
    void Show(std::string_view text);
    // A line already in CP949, and its line end.
    void SendLine(std::string_view line);
    // Clears the screen and draws a page under its title row.
    void ShowPage(const DemoPage& page);
    // The prompt under a menu or list: a partial line the answer follows.
    void MenuPrompt();
    // Shows lines a screenful at a time, each but the last followed by the pager prompt, then
    // the page `after`.
    void Page(std::vector<std::string> lines, const DemoPage& after);
    // Sends a file by ZMODEM (the client's auto-ZMODEM takes it up), or receives the files the
    // user sends into the upload folder; then the page prompt again.
    void SendFile(const std::string& path);
    void ReceiveFiles();
    // A number kept for a page between its commands (the board's last post read).
    int& Mark(std::string_view code) { return marks_[std::string(code)]; }
    // Text kept for a page between its commands (the Go page's moves).
    std::string& Note(std::string_view code) { return notes_[std::string(code)]; }
    const std::string& Id() const { return id_; }
    DemoHostState& Host() { return host_; }
    // Where the chat room's lines for this user wait until the session's thread shows them.
    ChatMailbox& Mailbox() { return mailbox_; }
    TelnetServerLink& Link() { return link_; }
    // The service's command word of a Korean command name ("목록 보기" -> "ls").
    std::string Word(const std::string& name) const { return host_.words.Command(name); }

private:
    enum class Step { Id, Password, Pages, Pager };
    void takeLine(std::string& line);
    void askId();
    void command(const std::string& line);
    bool generalCommand(const std::string& word, const std::string& argument);
    void showTitle(const DemoPage& page);
    void showNextScreen();
    void sayGoodbye(std::string_view text);
    void afterTransfer(int result, std::string_view done);

    TelnetServerLink& link_;
    DemoHostState& host_;
    int number_;
    LineInput input_;
    Step step_ = Step::Id;
    std::string id_;
    const DemoPage* page_ = nullptr;
    std::vector<std::string> pager_;
    size_t pagerAt_ = 0;
    const DemoPage* afterPager_ = nullptr;
    std::map<std::string, int> marks_;
    std::map<std::string, std::string> notes_;
    ChatMailbox mailbox_;
    bool loggedOut_ = false;
};

// A typed command's first word in lower case (a leading "/" dropped) and the rest of the line.
std::pair<std::string, std::string> SplitCommand(std::string_view line);

// The ID the host shows for what was typed at the ID prompt: its ASCII letters and digits in
// lower case, at most 8, or "guest" and the connection number when fewer than 4 remain.
std::string ShownId(std::string_view typed, int number);
