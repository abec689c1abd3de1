#pragma once
// What a service's chat room prints, told apart line by line (CP949): ordinary chat lines and
// their speaker, room events, lines to leave alone, and the lines that show the user leaving
// or entering a room. One recogniser per service type 1-3.
#include <memory>
#include <string>
#include <string_view>

#include "auto/ChatLineFilter.h"

// The UTF-8 source text of a pattern or message as host text (CP949).
std::string HostText(const char* utf8);

// Event codes of ClassifyEvent.
namespace ChatEvent {
constexpr int None = 0;
constexpr int NothingMatched = 1;
constexpr int Entered = 2;        // id and name
constexpr int Left = 3;           // id and name
constexpr int IgnoreSet = 5;      // id: the user
constexpr int IgnoreCleared = 6;  // id: the user
constexpr int WhisperSet = 7;     // id: the user, or empty
constexpr int WhisperCleared = 8;
constexpr int NoEvent = 9;
constexpr int NameChanged = 10;  // id, name (the old one) and newName
constexpr int Reset = 11;        // name: the new room title
}  // namespace ChatEvent

// The fields of a room event, as views into its line.
struct ChatEventFields {
    std::string_view id = {}, name = {}, newName = {};
};

// The speaker of a chat line, as views into the line; either may be empty.
struct ChatSpeaker {
    std::string_view id, name;
};

class ChatRecogniser {
public:
    virtual ~ChatRecogniser() = default;

    // An ordinary chat line and who said it.
    virtual bool ParseSpeaker(std::string_view line, ChatSpeaker& speaker) const = 0;
    virtual int ClassifyEvent(std::string_view line, ChatEventFields& out) const = 0;
    virtual bool IsPassLine(std::string_view line) const = 0;
    virtual bool IsLeaveLine(std::string_view line) const = 0;
    virtual bool IsEnterLine(std::string_view line) const = 0;
    virtual bool IsValidId(std::string_view text) const = 0;

    // Lets through every line that ClassifyEvent, IsPassLine, IsLeaveLine or IsEnterLine could
    // take; the speaker's lines are not its business.
    const ChatLineFilter& NoticeFilter() const { return filter_; }

protected:
    // The patterns and texts of those four, made through the filter.
    ChatPattern notice(const char* utf8) { return filter_.Pattern(HostText(utf8)); }
    std::string startText(const char* utf8) { return filter_.Start(HostText(utf8)); }

    ChatLineFilter filter_;
};

// The recogniser of service type 1 (하이텔), 2 (천리안) or 3 (나우누리); null for any other.
std::unique_ptr<ChatRecogniser> MakeChatRecogniser(int serviceType);
