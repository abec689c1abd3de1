#include "auto/ChatAssistant.h"

#include <algorithm>

#include "auto/CSettingsSection.h"
#include "auto/RoomCommand.h"
#include "auto/Services.h"
#include "auto/SoundEvents.h"

ChatAssistant::ChatAssistant(ChatSession& session, Registry& registry, SoundPlayer& sound)
    : session_(session),
      registry_(registry),
      sound_(sound),
      room_(session, registry, noViews_),
      now_([] { return std::time(nullptr); }) {
    Notices& hitel = notices_[HostText("하이텔")];
    hitel.memo = hitel.Pattern("^## (From:%w) '%S'##");
    hitel.online = hitel.Pattern("^ ## %-8w(%w)님은 %s %s에 접속하였습니다(%s)");
    hitel.offline = hitel.Pattern("^ ## %-8w(%w)님은 현재 서비스를 사용하고 있지 않습니다.");
    Notices& chollian = notices_[HostText("천리안")];
    chollian.memo = chollian.Pattern("^[메모:%w] %S");
    chollian.online = chollian.Pattern("^%9w %11c %30c %s");
    chollian.extraOnline =
        chollian.Pattern("^     ☜........떴다 ID~ %w 회원님이 접속 하셨습니다 !!........☞");
    chollian.offline = chollian.Pattern("^# %w 회원은 현재 사용하고 있지 않습니다 !!");
    Notices& nownuri = notices_[HostText("나우누리")];
    nownuri.memo = nownuri.Pattern("%w(%w) => %S");
    nownuri.online = nownuri.Pattern("^ '%w'%_님은 서비스를 [%s]중입니다.");
    nownuri.offline = nownuri.Pattern("^ '%w'%_님은 서비스를 사용하고 있지 않습니다.");
    Notices& unitel = notices_[HostText("유니텔")];
    unitel.memo = unitel.Pattern("%w[%w]님으로 부터의 쪽지[%w] : %S");
    unitel.online = unitel.Pattern(" [%w]님은 접속중이십니다.");
    unitel.offline = unitel.Pattern(" [%w]님은 접속중이 아닙니다.");
    chatRoomMode_ = CSettingsSection(registry, "Settings").GetInt("ChatRoomMode", 1) != 0;
}

void ChatAssistant::SetViews(ChatViews* views) {
    views_ = views ? views : &noViews_;
    room_.SetViews(*views_);
}

void ChatAssistant::SetService(const std::string& name) {
    room_.SetService(name);
    auto found = notices_.find(name);
    current_ = found == notices_.end() ? nullptr : &found->second;
    if (current_) room_.AddToLineFilter(current_->filter);
}

bool ChatAssistant::RecognitionActive() const {
    const int type = room_.ServiceType();
    return session_.Connected() && session_.InChatRoom() && chatRoomMode_ && type >= 1 && type <= 3;
}

int ChatAssistant::LineColour(std::string_view line) {
    return RecognitionActive() ? room_.ClassifyChatLine(line) : -1;
}

bool ChatAssistant::RecogniseServiceLine(std::string_view line, bool partial) {
    if (!current_ || !room_.LineFilter().MayMatch(line)) return false;
    if (markPresence(line)) views_->PresenceChanged();
    CaptureViews c;
    if (!partial && current_->memo.Match(line, c)) {
        session_.RedrawView();
        switch (room_.ServiceType()) {
            case 3:
                MemoArrived(std::string(c[0]), std::string(c[2]));
                break;
            case 4: {
                std::string text(c[3]);
                std::replace(text.begin(), text.end(), '_', ' ');
                MemoArrived(std::string(c[1]), text);
                break;
            }
            default:
                MemoArrived(std::string(c[0]), std::string(c[1]));
        }
        return true;
    }
    if (const int change = room_.DetectRoomChange(line); change > 0) {
        session_.SetInChatRoom(change == 6);
        views_->RoomChanged();
    }
    return false;
}

// True when a mark was set.
bool ChatAssistant::markPresence(std::string_view line) {
    CaptureViews c;
    if (current_->offline.Match(line, c)) return setMark(TrimLeft(c[0]), "X");
    if (room_.ServiceType() != 2)
        return current_->online.Match(line, c) && setMark(TrimLeft(c[0]), "O");
    if (current_->online.Match(line, c) && c.size() >= 4) {
        const std::string answer = TrimRight(c[3]);
        if (answer == HostText("허용") || answer == HostText("불가"))
            return setMark(TrimRight(c[0]), "O");
    }
    return current_->extraOnline.Match(line, c) && setMark(std::string(c[0]), "O");
}

// An empty ID is no user: no mark.
bool ChatAssistant::setMark(const std::string& id, const char* mark) {
    if (id.empty()) return false;
    presence_[id] = mark;
    return true;
}

void ChatAssistant::CheckPresence(const std::vector<std::string>& ids) {
    const std::string value = session_.ServiceValue("접속 확인");
    if (value.empty()) return;
    for (const std::string& id : ids) {
        if (id.empty()) continue;
        presence_.try_emplace(id, "?");
        session_.SendLine(value + ' ' + id);
    }
    views_->PresenceChanged();
}

std::string ChatAssistant::memoTime() const {
    const std::time_t now = now_();
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%H", &local);
    std::string hours = text;
    std::strftime(text, sizeof text, "%M", &local);
    return hours + HostText("시") + text + HostText("분");
}

void ChatAssistant::MemoArrived(const std::string& sender, const std::string& text) {
    const std::string entry = memoTime() + '\t' + sender + '\t' + text;
    memoLog_.push_back(entry);
    if (memoLog_.size() > kMaxLogEntries) memoLog_.pop_front();
    views_->MemoLogged(entry);
    views_->MemoNotice(sender, text);
    if (!CSettingsSection(registry_, "Settings").GetInt("UseMemo", 1)) return;
    if (!views_->HasMemoWindow(sender)) {
        if (views_->MemoWindowCount() >= kMaxMemoWindows) return;
        views_->OpenMemoWindow(sender, true);
        PlayEventSound(registry_, sound_, "쪽지 도착", false);
    }
    views_->AddMemoText(sender, text);
}

bool ChatAssistant::SendMemo(const std::string& id, const std::string& text) {
    if (text.starts_with('/')) {
        session_.SendLine(std::string_view(text).substr(1));
        return true;
    }
    const std::string command = session_.ServiceValue("쪽지 보내기");
    if (command.empty()) return false;
    std::string body = text;
    if (room_.ServiceType() == 4) std::replace(body.begin(), body.end(), ' ', '_');
    session_.SendLine(RoomCommand(command + ' ' + id + ' ' + body, session_.InChatRoom()));
    return true;
}

bool ChatAssistant::ToggleChatRoomMode() {
    chatRoomMode_ = session_.Connected() && !chatRoomMode_;
    CSettingsSection(registry_, "Settings").SetInt("ChatRoomMode", chatRoomMode_ ? 1 : 0);
    return chatRoomMode_;
}
