#include "tools/demohost/ChatRoom.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <random>

#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "tools/demohost/ChatLines.h"

namespace {

constexpr size_t kMailboxBytes = 65536;
constexpr size_t kLinesPerSecond = 5;

std::string korean(const char* utf8) {
    return utf8ToCp949Lossy(utf8);
}

// "12/08 09:30", local time.
std::string nowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%m/%d %H:%M", &local);
    return text;
}

}  // namespace

void ChatMailbox::Put(std::string line) {
    std::lock_guard<std::mutex> hold(lock_);
    if (bytes_ + line.size() > kMailboxBytes) return;
    bytes_ += line.size();
    lines_.push_back(std::move(line));
}

std::vector<std::string> ChatMailbox::TakeAll() {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::string> lines(lines_.begin(), lines_.end());
    lines_.clear();
    bytes_ = 0;
    return lines;
}

ChatRoom::~ChatRoom() {
    Stop();
}

void ChatRoom::Stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (script_.joinable()) script_.join();
}

ChatRoom::Member* ChatRoom::find(const std::string& id) {
    for (Member& m : members_) {
        if (m.id == id) return &m;
    }
    return nullptr;
}

ChatRoom::Member* ChatRoom::find(ChatMailbox* mailbox) {
    for (Member& m : members_) {
        if (m.mailbox == mailbox) return &m;
    }
    return nullptr;
}

void ChatRoom::send(const std::string& line) {
    for (Member& m : members_) {
        if (m.mailbox) m.mailbox->Put(line);
    }
}

void ChatRoom::Join(const std::string& name, const std::string& id, ChatMailbox* mailbox) {
    std::lock_guard<std::mutex> hold(lock_);
    members_.push_back({name, id, nowText(), mailbox, {}, {}});
    send(chat::EnterLine(name, id));
    if (scriptRunning_ || stopping_) return;
    if (script_.joinable()) script_.join();
    scriptRunning_ = true;
    script_ = std::thread(&ChatRoom::runScript, this);
}

void ChatRoom::Leave(ChatMailbox* mailbox) {
    std::lock_guard<std::mutex> hold(lock_);
    Member* m = find(mailbox);
    if (!m) return;
    const std::string line = chat::LeaveLine(m->name, m->id);
    members_.erase(members_.begin() + (m - members_.data()));
    send(line);
    wake_.notify_all();
}

bool ChatRoom::Say(ChatMailbox* mailbox, std::string_view typed) {
    const std::string text = chat::Relayable(typed);
    std::lock_guard<std::mutex> hold(lock_);
    Member* m = find(mailbox);
    if (!m || text.empty()) return false;
    const int64_t now = Clock::steady().nowMs();
    while (!m->recent.empty() && now - m->recent.front() >= 1000)
        m->recent.pop_front();
    if (m->recent.size() >= kLinesPerSecond) return false;
    m->recent.push_back(now);
    const std::string line = chat::SpeakerLine(m->name, m->id, text);
    Member* partner = m->whisper.empty() ? nullptr : find(m->whisper);
    if (!partner) return send(line), true;
    if (partner->mailbox) partner->mailbox->Put(line);
    mailbox->Put(line);
    return true;
}

std::string ChatRoom::Whisper(ChatMailbox* mailbox, const std::string& typed) {
    const std::string id = chat::TypedId(typed);
    std::lock_guard<std::mutex> hold(lock_);
    Member* m = find(mailbox);
    if (!m) return {};
    if (id.empty()) {
        if (m->whisper.empty()) return {};
        const std::string line = chat::WhisperClearedLine(m->whisper);
        m->whisper.clear();
        return line;
    }
    if (!find(id) || id == m->id) return {};
    m->whisper = id;
    return chat::WhisperSetLine(id);
}

bool ChatRoom::Memo(ChatMailbox* from, const std::string& typedTo, std::string_view text) {
    const std::string id = chat::TypedId(typedTo);
    std::lock_guard<std::mutex> hold(lock_);
    Member* sender = find(from);
    Member* to = find(id);
    if (!sender || !to) return false;
    if (to->mailbox) to->mailbox->Put(chat::MemoLine(sender->id, chat::Relayable(text)));
    return true;
}

std::string ChatRoom::Presence(const std::string& typed) {
    const std::string id = chat::TypedId(typed);
    std::lock_guard<std::mutex> hold(lock_);
    const Member* m = find(id);
    return m ? chat::OnlineLine(m->id, m->name, m->since) : chat::OfflineLine(id);
}

std::vector<std::string> ChatRoom::Status() {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::string> lines = {korean("   대화실 (CHAT) 현황: ") +
                                      std::to_string(members_.size()) + korean("명")};
    for (const Member& m : members_)
        lines.push_back("    - " + m.name + " (" + m.id + ")");
    return lines;
}

// --- the scripted participants --------------------------------------------------------------

// Waits, unless the host stops or every user has left; false then.
bool ChatRoom::pause(int ms) {
    std::unique_lock<std::mutex> hold(lock_);
    wake_.wait_for(hold, std::chrono::milliseconds(ms), [this] {
        return stopping_ || std::none_of(members_.begin(), members_.end(),
                                         [](const Member& m) { return m.mailbox != nullptr; });
    });
    return !stopping_ && std::any_of(members_.begin(), members_.end(),
                                     [](const Member& m) { return m.mailbox != nullptr; });
}

void ChatRoom::play(const ScriptStep& step) {
    std::lock_guard<std::mutex> hold(lock_);
    const std::string text = korean(step.text);
    Member* m = find(step.id);
    switch (step.kind) {
        case ScriptStep::Enter:
            members_.push_back({text, step.id, nowText(), nullptr, {}, {}});
            return send(chat::EnterLine(text, step.id));
        case ScriptStep::Say:
            if (m) send(chat::SpeakerLine(m->name, m->id, text));
            return;
        case ScriptStep::Memo:
            for (Member& to : members_) {
                if (to.mailbox) to.mailbox->Put(chat::MemoLine(step.id, text));
            }
            return;
        case ScriptStep::Leave:
            removeScripted(step.id);
            return;
    }
}

// Takes scripted participants out of the room (all of them for an empty id).
void ChatRoom::removeScripted(const std::string& id) {
    for (size_t i = members_.size(); i-- > 0;) {
        const Member& m = members_[i];
        if (m.mailbox || !(id.empty() || m.id == id)) continue;
        const std::string line = chat::LeaveLine(m.name, m.id);
        members_.erase(members_.begin() + static_cast<long>(i));
        send(line);
    }
}

void ChatRoom::runScript() {
    static const ScriptStep kScript[] = {
        {ScriptStep::Enter, "haneul", "하늘이"},
        {ScriptStep::Say, "haneul", "안녕하세요! 데모 대화실에 오신 것을 환영합니다."},
        {ScriptStep::Enter, "byeol", "별빛"},
        {ScriptStep::Say, "byeol", "반갑습니다. 오늘 날씨가 좋네요."},
        {ScriptStep::Say, "haneul", "자료실에서 파일도 받아 보세요. 번호만 고르면 됩니다."},
        {ScriptStep::Memo, "haneul", "쪽지 시험입니다. 즐거운 시간 되세요!"},
        {ScriptStep::Say, "byeol", "저는 먼저 나가 볼게요. 안녕히 계세요."},
        {ScriptStep::Leave, "byeol", ""},
        {ScriptStep::Say, "haneul", "저도 이만 가 보겠습니다."},
        {ScriptStep::Leave, "haneul", ""},
    };
    std::mt19937 random(4021);  // the same pauses every time
    for (const ScriptStep& step : kScript) {
        if (!pause(300 + static_cast<int>(random() % 400))) break;
        play(step);
    }
    std::lock_guard<std::mutex> hold(lock_);
    removeScripted("");
    scriptRunning_ = false;
}
