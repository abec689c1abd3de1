#include "tools/demohost/DemoSession.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>

#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "tools/demohost/ChatLines.h"
#include "tools/demohost/DemoTransfer.h"
#include "tools/demohost/PlainColours.h"

namespace {

constexpr int64_t kIdleMs = 15 * 60 * 1000;
constexpr size_t kScreenLines = 20;  // lines of text under the title row before the pager
// After a transfer the line must be quiet this long (but no longer than the limit) before the
// page goes on.
constexpr int64_t kSettleMs = 400;
constexpr int64_t kSettleLimitMs = 3000;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Typed text shown back: its printable ASCII only (a page code has nothing else).
std::string printableAscii(const std::string& text) {
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
                 [](char c) { return c >= 0x20 && c < 0x7F; });
    return out;
}

bool isNumber(const std::string& word) {
    return !word.empty() && word.size() < 4 &&
           std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

std::pair<std::string, std::string> SplitCommand(std::string_view line) {
    if (!line.empty() && line[0] == '/') line.remove_prefix(1);
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    const size_t rest = line.find_first_not_of(' ', end);
    return {lower(std::string(line.substr(start, end - start))),
            rest == std::string::npos ? std::string() : std::string(line.substr(rest))};
}

std::string ShownId(std::string_view typed, int number) {
    const std::string id = chat::TypedId(typed);
    return id.size() >= 4 ? id : "guest" + std::to_string(number % 1000);
}

DemoSession::DemoSession(TelnetServerLink& link, DemoHostState& host, int number)
    : link_(link), host_(host), number_(number) {}

DemoSession::~DemoSession() {
    host_.room.Leave(&mailbox_);
}

void DemoSession::Run() {
    ShowWelcome(*this);
    askId();
    Clock& clock = Clock::steady();
    int64_t lastInputMs = clock.nowMs();
    while (!loggedOut_ && link_.IsOnline()) {
        if (host_.stopping) return sayGoodbye("\n\n서버를 종료합니다. 안녕히 가십시오.\n");
        if (clock.nowMs() - lastInputMs > kIdleMs)
            return sayGoodbye("\n\n오랫동안 입력이 없어 접속을 끊습니다.\n");
        for (const std::string& line : mailbox_.TakeAll())
            SendLine(line);
        if (!link_.WaitInput()) continue;
        lastInputMs = clock.nowMs();
        input_.Feed(link_.TakeInput());
        std::string echo;
        while (std::optional<std::string> line = input_.NextLine(echo)) {
            link_.Send(echo);
            echo.clear();
            takeLine(*line);
            if (loggedOut_) return;
        }
        link_.Send(echo);
    }
}

void DemoSession::takeLine(std::string& line) {
    switch (step_) {
        case Step::Id:
            if (line.find_first_not_of(' ') == std::string::npos) return askId();
            id_ = ShownId(line, number_);
            step_ = Step::Password;
            input_.SetEcho(LineInput::Echo::Masked);
            return Show(host_.words.passwordPrompt);
        case Step::Password:
            // Any password is accepted, and it goes no further than this.
            std::fill(line.begin(), line.end(), '\0');
            input_.SetEcho(LineInput::Echo::Plain);
            step_ = Step::Pages;
            return ShowPage(*FindPage("TOP"));
        case Step::Pager:
            return showNextScreen();
        case Step::Pages:
            return command(line);
    }
}

void DemoSession::askId() {
    Show(host_.words.loginPrompt);
}

void DemoSession::command(const std::string& line) {
    if (page_ && page_->command && page_->command(*this, line)) return;
    auto [word, argument] = SplitCommand(line);
    if (word.empty()) return MenuPrompt();
    if (generalCommand(word, argument)) return;
    Show("알 수 없는 명령입니다. 번호나 명령어를 입력하십시오.\n");
    MenuPrompt();
}

bool DemoSession::generalCommand(const std::string& word, const std::string& argument) {
    if (isNumber(word)) {
        const DemoPage* page = MenuPage(std::stoi(word));
        if (!page) return false;
        ShowPage(*page);
        return true;
    }
    if (word == "go" || word == lower(Word("책갈피 이동"))) {
        const DemoPage* page = FindPage(argument);
        if (!page) {
            Show("그런 코드는 없습니다: " + printableAscii(argument) + "\n");
            MenuPrompt();
        } else {
            ShowPage(*page);
        }
        return true;
    }
    if (word == lower(Word("초기 메뉴")) || word == lower(Word("상위 메뉴"))) {
        ShowPage(*FindPage("TOP"));
        return true;
    }
    if (word == "x") {
        sayGoodbye("\n이용해 주셔서 감사합니다. 안녕히 가십시오.\n");
        return true;
    }
    return false;
}

void DemoSession::Show(std::string_view text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    link_.Send(utf8ToCp949Lossy(crlf));
}

void DemoSession::SendLine(std::string_view line) {
    link_.Send(std::string(line) + "\r\n");
}

void DemoSession::ShowPage(const DemoPage& page) {
    page_ = &page;
    input_.SetLineEnd(page.promptOnLastRow ? LineInput::LineEnd::Return
                                           : LineInput::LineEnd::NewLine);
    if (!page.ownFirstRow) showTitle(page);
    page.show(*this);
}

void DemoSession::showTitle(const DemoPage& page) {
    Show(std::string(DEMO_PLAIN "\x1b[2J\x1b[H\x1b[1;37;44m") + page.title + " (" + page.code +
         ")" DEMO_PLAIN "\n");
}

void DemoSession::MenuPrompt() {
    Show("\x1b[1;33m선택" DEMO_PLAIN " (번호, go 코드, top, x) >> ");
}

void DemoSession::Page(std::vector<std::string> lines, const DemoPage& after) {
    pager_ = std::move(lines);
    pagerAt_ = 0;
    afterPager_ = &after;
    step_ = Step::Pager;
    showNextScreen();
}

void DemoSession::showNextScreen() {
    if (pagerAt_ >= pager_.size()) {
        step_ = Step::Pages;
        pager_.clear();
        return ShowPage(*afterPager_);
    }
    showTitle(*afterPager_);
    const size_t end = std::min(pager_.size(), pagerAt_ + kScreenLines);
    for (; pagerAt_ < end; ++pagerAt_)
        Show(pager_[pagerAt_] + "\n");
    Show("\x1b[7m[Enter]를 누르세요" DEMO_PLAIN);
}

void DemoSession::sayGoodbye(std::string_view text) {
    Show(text);
    loggedOut_ = true;
}

void DemoSession::SendFile(const std::string& path) {
    Show("\n" + std::filesystem::path(path).filename().string() + " 파일을 ZMODEM으로 보냅니다.\n");
    afterTransfer(SendDemoFile(link_, host_, path), "보내기");
}

void DemoSession::ReceiveFiles() {
    Show("\n올릴 파일을 ZMODEM으로 보내십시오. (파일당 8 MiB까지)\n");
    afterTransfer(ReceiveDemoFiles(link_, host_), "올리기");
}

// The client's engine may still be reading when ours ends: what follows waits until the line
// has been quiet for a moment, so that it is not taken for the end of the transfer.
void DemoSession::afterTransfer(int result, std::string_view what) {
    Clock& clock = Clock::steady();
    const int64_t end = clock.nowMs() + kSettleLimitMs;
    for (int64_t quietSince = clock.nowMs();
         clock.nowMs() - quietSince < kSettleMs && clock.nowMs() < end && link_.IsOnline();) {
        if (link_.WaitInput()) quietSince = clock.nowMs();
        link_.PurgeInput();
    }
    if (!link_.IsOnline() || host_.stopping) return;
    Show(std::string("\r\n") + std::string(what) +
         (result == 0 ? "가 끝났습니다.\n"
                      : "가 중단되었습니다. (" + std::to_string(result) + ")\n"));
    MenuPrompt();
}
