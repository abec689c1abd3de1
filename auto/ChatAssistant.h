#pragma once
// The chat-room assistant of a session: the room state, the presence marks, the service's
// notice patterns, received memos and the memos the user sends. The session hands it every
// line of a recognised service and, while recognition is active, every complete line for its
// colour. Texts are CP949.
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "auto/ChatLineFilter.h"
#include "auto/ChatPattern.h"
#include "auto/ChatRecogniser.h"
#include "auto/ChatRoomState.h"
#include "auto/ChatSession.h"
#include "auto/ChatViews.h"
#include "auto/Registry.h"
#include "platform/SoundPlayer.h"

class ChatAssistant {
public:
    static constexpr size_t kMaxLogEntries = 1000;
    static constexpr size_t kMaxMemoWindows = 32;

    ChatAssistant(ChatSession& session, Registry& registry, SoundPlayer& sound);
    // The views shown by the front end; none are attached at first.
    void SetViews(ChatViews* views);
    // The clock the memo log's times are read from.
    void SetTimeSource(std::function<std::time_t()> now) { now_ = std::move(now); }

    ChatRoomState& Room() { return room_; }
    const ChatRoomState& Room() const { return room_; }
    void SetService(const std::string& name);
    // Connect and disconnect: the presence marks are forgotten.
    void OnConnectionChanged() { presence_.clear(); }

    // Connected, in a room, `ChatRoomMode` on and a service with a recogniser.
    bool RecognitionActive() const;
    // ClassifyChatLine while recognition is active, else -1.
    int LineColour(std::string_view line);
    // Presence notices, memos and room changes of a recognised service's line. True when the
    // line was a memo: it is consumed. A partial line (input paused inside it) is never taken
    // for a memo, which would otherwise arrive twice, cut and whole.
    bool RecogniseServiceLine(std::string_view line, bool partial = false);

    // User ID -> "O" on line, "X" off line, "?" asked.
    const std::map<std::string, std::string>& Presence() const { return presence_; }
    // Asks the host whether each user is on line ("접속 확인").
    void CheckPresence(const std::vector<std::string>& ids);

    void MemoArrived(const std::string& sender, const std::string& text);
    // False when nothing could be sent (no memo command): the reply should be kept.
    bool SendMemo(const std::string& id, const std::string& text);
    // Entries "%s\t%s\t%s": time "%H시%M분", sender, text; the oldest go first.
    const std::deque<std::string>& MemoLog() const { return memoLog_; }

    bool ChatRoomMode() const { return chatRoomMode_; }
    // Flips and stores `ChatRoomMode` while connected; while disconnected it stores 0.
    bool ToggleChatRoomMode();

private:
    struct Notices {
        ChatLineFilter filter;
        ChatPattern memo{""}, online{""}, offline{""}, extraOnline{""};
        ChatPattern Pattern(const char* utf8) { return filter.Pattern(HostText(utf8)); }
    };
    bool markPresence(std::string_view line);
    bool setMark(const std::string& id, const char* mark);
    std::string memoTime() const;

    ChatSession& session_;
    Registry& registry_;
    SoundPlayer& sound_;
    ChatViews noViews_;
    ChatViews* views_ = &noViews_;
    ChatRoomState room_;
    std::map<std::string, Notices> notices_;  // by service name
    const Notices* current_ = nullptr;
    std::map<std::string, std::string> presence_;
    std::deque<std::string> memoLog_;
    std::function<std::time_t()> now_;
    bool chatRoomMode_ = true;
};
