#include "auto/ChatRoomState.h"

#include <algorithm>

#include "auto/ChatColours.h"
#include "auto/ChatPattern.h"
#include "auto/RoomCommand.h"
#include "auto/Services.h"

namespace {

bool equalsIgnoringCase(std::string_view text, char letter) {
    return text.size() == 1 && (text[0] | 0x20) == letter;
}

// The room-number lines of service type 1 name the room without entering or leaving it.
struct HitelRoomTitles {
    ChatLineFilter filter;
    ChatPattern join = filter.Pattern("^ >> %c %w");
    ChatPattern number = filter.Pattern(HostText("^ 방의 번호는 ==> %w"));
    ChatPattern opened = filter.Pattern(HostText("^## %w 번방이 개설되었습니다. ##"));
    ChatPattern openedNamed = filter.Pattern(HostText("^## %s [%d번] 대화방이 개설되었습니다. ##"));

    std::optional<std::string> TitleOf(std::string_view line) const {
        CaptureViews c;
        if (join.Match(line, c) && equalsIgnoringCase(c[0], 'j')) return std::string(c[1]);
        if (number.Match(line, c) || opened.Match(line, c)) return std::string(c[0]);
        if (openedNamed.Match(line, c)) return std::string(c[1]);
        return std::nullopt;
    }
};

// Service type 4 has no recogniser: a room is entered and left on these two lines.
struct UnitelRoomLines {
    ChatLineFilter filter;
    ChatPattern joined = filter.Pattern(HostText("  >> [%w]번 대화방에 참여하셨습니다. <<"));
    std::string leave = filter.Start(HostText(" 선  택 >"));
};

const HitelRoomTitles& hitelRoomTitles() {
    static const HitelRoomTitles titles;
    return titles;
}

const UnitelRoomLines& unitelRoomLines() {
    static const UnitelRoomLines lines;
    return lines;
}

}  // namespace

void ChatRoomState::SetService(const std::string& name) {
    service_ = name;
    title_.clear();
    serviceType_ = ::ServiceType(name);
    recogniser_ = MakeChatRecogniser(serviceType_);
    filter_ = ChatLineFilter();
    if (recogniser_) filter_.Add(recogniser_->NoticeFilter());
    if (serviceType_ == 1) filter_.Add(hitelRoomTitles().filter);
    if (serviceType_ == 4) filter_.Add(unitelRoomLines().filter);
}

int ChatRoomState::DetectRoomChange(std::string_view line) {
    if (serviceType_ == 0 || line.empty()) return 0;
    const std::string_view trimmed = TrimmedRight(line);
    if (!filter_.MayMatch(trimmed)) return 0;
    if (serviceType_ == 4) {
        const UnitelRoomLines& room = unitelRoomLines();
        CaptureViews c;
        if (room.joined.Match(trimmed, c)) {
            title_ = c[0];
            return 6;
        }
        return trimmed == room.leave ? 7 : 0;
    }
    if (recogniser_->IsLeaveLine(trimmed)) {
        leaveRoom();
        return 7;
    }
    if (recogniser_->IsEnterLine(trimmed)) return 6;
    if (serviceType_ == 1) {
        if (std::optional<std::string> title = hitelRoomTitles().TitleOf(trimmed)) title_ = *title;
    }
    return 0;
}

int ChatRoomState::ClassifyChatLine(std::string_view line) {
    if (!recogniser_ || line.empty()) return ChatColour::None;
    if (filter_.MayMatch(line)) {
        if (recogniser_->IsLeaveLine(line)) {
            leaveRoom();
            return ChatColour::None;
        }
        ChatEventFields event;
        if (applyEvent(recogniser_->ClassifyEvent(line, event), event)) return ChatColour::None;
        if (recogniser_->IsPassLine(line))
            return serviceType_ == 1 ? ChatColour::None : ChatColour::Reversed;
    }
    ChatSpeaker speaker;
    if (!recogniser_->ParseSpeaker(line, speaker) || (speaker.id.empty() && speaker.name.empty()))
        return ChatColour::None;
    const std::optional<size_t> index = addParticipant(speaker.id, speaker.name);
    return index ? list_[*index].colour : ChatColour::None;
}

// True when the code was a room event (the line is then left as it is).
bool ChatRoomState::applyEvent(int code, const ChatEventFields& event) {
    switch (code) {
        case ChatEvent::Entered:
            addParticipant(event.id, event.name);
            return true;
        case ChatEvent::Left:
            if (std::optional<size_t> index = findById(event.id); index && !event.id.empty())
                Remove(*index);
            return true;
        case ChatEvent::IgnoreSet:
            moveToEnd(event.id);
            return true;
        case ChatEvent::WhisperSet:
            moveToFront(event.id);
            return true;
        case ChatEvent::IgnoreCleared:
        case ChatEvent::WhisperCleared:
            return true;
        case ChatEvent::NameChanged:
            renameParticipant(event.id, event.name, event.newName);
            return true;
        case ChatEvent::Reset:
            list_.Clear();
            title_ = event.name;
            changed();
            return true;
        default:
            return false;
    }
}

void ChatRoomState::leaveRoom() {
    const bool hadEntries = !list_.empty();
    list_.Clear();
    title_.clear();
    if (hadEntries) changed();
}

std::optional<size_t> ChatRoomState::addParticipant(std::string_view id, std::string_view name) {
    const bool byName = serviceType_ == 2 || serviceType_ == 4;
    if (std::optional<size_t> index = byName ? findByName(name) : findById(id)) {
        const ChatParticipant& entry = list_[*index];
        if (byName && entry.id.empty() && entry.id != id) {
            list_.SetId(*index, std::string(id));
            changed();
        } else if (serviceType_ == 3 && entry.name != name) {
            list_.SetName(*index, std::string(name));
            changed();
        }
        return index;
    }
    if (list_.size() >= kMaxParticipants) return std::nullopt;
    size_t at = list_.size();
    const std::string ownId = session_.OwnId();
    if (!list_.empty() && !ownId.empty() && list_[list_.size() - 1].id == ownId) --at;
    list_.Insert(at, {std::string(id), ChatColour::None, std::string(name)});
    if (id.empty()) session_.SendLine("/u " + std::string(name));
    changed();
    return at;
}

void ChatRoomState::renameParticipant(std::string_view id, std::string_view oldName,
                                      std::string_view newName) {
    std::optional<size_t> index = serviceType_ == 1 ? findById(id) : findByName(oldName);
    if (!index) return;
    list_.SetName(*index, std::string(newName));
    changed();
}

std::optional<size_t> ChatRoomState::findUser(std::string_view user) const {
    if (user.empty()) return std::nullopt;
    if (std::optional<size_t> index = findById(user)) return index;
    return findByName(user);
}

void ChatRoomState::moveToEnd(std::string_view user) {
    std::optional<size_t> index = findUser(user);
    if (!index || *index + 1 == list_.size()) return;
    list_.MoveToEnd(*index);
    changed();
}

void ChatRoomState::moveToFront(std::string_view user) {
    std::optional<size_t> index = findUser(user);
    if (!index || *index == 0) return;
    list_.MoveToFront(*index);
    changed();
}

std::optional<size_t> ChatRoomState::findById(std::string_view id) const {
    return list_.FindById(id);
}

std::optional<size_t> ChatRoomState::findByName(std::string_view name) const {
    return list_.FindByName(name);
}

// The own ID is read from the session whenever a participant is added, so the count has
// nothing to refresh.
size_t ChatRoomState::Count() const {
    return list_.size();
}

std::string ChatRoomState::EntryText(size_t index) const {
    const ChatParticipant& entry = list_.at(index);
    return entry.id + '\t' + entry.name + '\t' + std::to_string(entry.colour);
}

std::string ChatRoomState::DisplayText(size_t index) const {
    const ChatParticipant& entry = list_.at(index);
    return entry.name + '(' + entry.id + ')';
}

std::optional<size_t> ChatRoomState::IndexOf(const std::string& id, const std::string& name) const {
    return id.empty() ? findByName(name) : findById(id);
}

void ChatRoomState::SetColour(size_t index, int colour) {
    if (index >= list_.size()) return;
    list_.SetColour(index, std::clamp(colour, ChatColour::Reversed, 15));
    changed();
}

int ChatRoomState::ColourOf(size_t index) const {
    return index < list_.size() ? list_[index].colour : ChatColour::None;
}

std::optional<Record> ChatRoomState::IconOf(size_t index) const {
    if (index >= list_.size() || list_[index].id.empty()) return std::nullopt;
    std::vector<Record> notebook;
    CRecordStore(registry_).LoadList(service_, RecordKind::IdNotebook, notebook);
    for (const Record& record : notebook) {
        auto title = record.find("Title");
        if (title != record.end() && title->second == list_[index].id) return record;
    }
    return std::nullopt;
}

void ChatRoomState::Remove(size_t index) {
    if (index >= list_.size()) return;
    list_.Erase(index);
    changed();
}

void ChatRoomState::RefreshParticipants() {
    switch (serviceType_) {
        case 1:
            session_.SendLine("/st " + title_);
            break;
        case 2:
            session_.SendLine("/w my");
            break;
        case 3:
            session_.SendLine("/st");
            break;
        default:
            break;
    }
}

void ChatRoomState::RunUserCommand(UserCommand command, const std::string& id) {
    if (id.empty()) return;
    switch (command) {
        case UserCommand::Ignore:
            if (std::string value = session_.ServiceValue("사용자 무시"); !value.empty())
                session_.SendLine(value + ' ' + id);
            break;
        case UserCommand::Whisper:
            if (std::string value = session_.ServiceValue("귓속말 설정"); !value.empty())
                views_->PutIntoInputLine(value + ' ' + id + ' ');
            break;
        case UserCommand::Profile:
            if (std::string value = session_.ServiceValue("프로필 확인"); !value.empty())
                session_.SendLine(RoomCommand(value, true) + ' ' + id);
            break;
    }
}

void ChatRoomState::Invite(const std::vector<std::string>& ids) {
    const std::string value = session_.ServiceValue("사용자 초대");
    if (value.empty()) return;
    for (const std::string& id : ids) {
        if (id.empty()) continue;
        session_.SendText(value + ' ');
        session_.SendLine(id);
    }
}

bool ChatRoomState::AddToIdNotebook(size_t index) {
    if (index >= list_.size() || list_[index].id.empty()) return false;
    if (IconOf(index)) return true;
    CRecordStore store(registry_);
    std::vector<Record> notebook;
    store.LoadList(service_, RecordKind::IdNotebook, notebook);
    notebook.push_back({{"Title", list_[index].id}, {"Name", list_[index].name}});
    if (!store.SaveList(service_, RecordKind::IdNotebook, notebook)) return false;
    store.NotifyChanged(RecordKind::IdNotebook);
    return true;
}
