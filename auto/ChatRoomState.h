#pragma once
// The chat room the user is in: the service's recogniser, the room title and the list of
// participants with the colours their lines are shown in, kept up to date from the lines the
// room prints; and the per-user commands of the participant list. Texts are CP949.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/ChatRecogniser.h"
#include "auto/ChatRoster.h"
#include "auto/ChatSession.h"
#include "auto/ChatViews.h"
#include "auto/Registry.h"

enum class UserCommand { Ignore, Whisper, Profile };

class ChatRoomState {
public:
    // A host that floods the room gets no further entries (and no further questions).
    static constexpr size_t kMaxParticipants = 1000;

    ChatRoomState(ChatSession& session, Registry& registry, ChatViews& views)
        : session_(session), registry_(registry), views_(&views) {}
    void SetViews(ChatViews& views) { views_ = &views; }

    void SetService(const std::string& name);
    int ServiceType() const { return serviceType_; }
    const std::string& RoomTitle() const { return title_; }
    // Lets through every line that names a room change or an event of the service's rooms,
    // and the lines of the notices added here: one table serves a line's every check.
    const ChatLineFilter& LineFilter() const { return filter_; }
    void AddToLineFilter(const ChatLineFilter& notices) { filter_.Add(notices); }

    // 6 entered a room, 7 left it, else 0.
    int DetectRoomChange(std::string_view line);
    // The colour the line is shown in (ChatColour); the list follows the line's news.
    int ClassifyChatLine(std::string_view line);

    // The participant list.
    size_t Count() const;
    const ChatRoster& Participants() const { return list_; }
    std::string EntryText(size_t index) const;    // "%s\t%s\t%d"
    std::string DisplayText(size_t index) const;  // "%s(%s)" name, id
    // By id when one is given, else by name.
    std::optional<size_t> IndexOf(const std::string& id, const std::string& name) const;
    void SetColour(size_t index, int colour);
    int ColourOf(size_t index) const;
    // The participant's ID notebook record (its icon fields), when there is one.
    std::optional<Record> IconOf(size_t index) const;
    void Remove(size_t index);

    void RefreshParticipants();
    // Nothing for an empty id or an empty service value.
    void RunUserCommand(UserCommand command, const std::string& id);
    void Invite(const std::vector<std::string>& ids);
    // Adds the participant to the service's ID notebook unless an entry has its id.
    bool AddToIdNotebook(size_t index);

private:
    void leaveRoom();
    bool applyEvent(int code, const ChatEventFields& event);
    // The entry's index; none when the list is full.
    std::optional<size_t> addParticipant(std::string_view id, std::string_view name);
    void renameParticipant(std::string_view id, std::string_view oldName, std::string_view newName);
    void moveToEnd(std::string_view user);
    void moveToFront(std::string_view user);
    std::optional<size_t> findUser(std::string_view user) const;
    std::optional<size_t> findById(std::string_view id) const;
    std::optional<size_t> findByName(std::string_view name) const;
    void changed() { views_->ParticipantsChanged(); }

    ChatSession& session_;
    Registry& registry_;
    ChatViews* views_;
    std::string service_;
    int serviceType_ = 0;
    std::unique_ptr<ChatRecogniser> recogniser_;
    ChatLineFilter filter_;
    std::string title_;
    ChatRoster list_;
};
