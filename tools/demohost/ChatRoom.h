#pragma once
// The demo host's one chat room: who is in it, and the lines that reach them. Users join from
// their connection threads; each gets lines through its own mailbox, so a user who does not
// read holds up no one. Two scripted participants come in when a user enters an empty room,
// talk, send the user a memo and leave. Names and IDs are CP949.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Lines waiting for one user; what does not fit (64 KiB) is dropped.
class ChatMailbox {
public:
    void Put(std::string line);
    std::vector<std::string> TakeAll();

private:
    std::mutex lock_;
    std::deque<std::string> lines_;
    size_t bytes_ = 0;
};

class ChatRoom {
public:
    ChatRoom() = default;
    ~ChatRoom();

    // Enters a user: everyone (the user too) sees the entering line.
    void Join(const std::string& name, const std::string& id, ChatMailbox* mailbox);
    void Leave(ChatMailbox* mailbox);
    // A line the user typed, cleaned and relayed as a speaker line: to everyone, or with a
    // whisper only to its partner and the speaker. False when it was dropped (more than 5
    // lines a second, or nothing left of it).
    bool Say(ChatMailbox* mailbox, std::string_view typed);
    // Whisper to id ("" clears); the line that tells the user so, or empty when no one has
    // that ID.
    std::string Whisper(ChatMailbox* mailbox, const std::string& id);
    // A memo to the user id (sent with the sender's id); false when no one has that ID.
    bool Memo(ChatMailbox* from, const std::string& id, std::string_view text);
    // The answer to "/f id".
    std::string Presence(const std::string& id);
    // The room's status lines ("/st").
    std::vector<std::string> Status();
    // Ends the scripted participants.
    void Stop();

private:
    struct Member {
        std::string name, id, since;
        ChatMailbox* mailbox = nullptr;  // nullptr: a scripted participant
        std::string whisper;
        std::deque<int64_t> recent;  // when its last lines were said, for the rate limit
    };
    Member* find(const std::string& id);
    Member* find(ChatMailbox* mailbox);
    void send(const std::string& line);
    // A step of the scripted participants: an ID enters (text: the name), says something,
    // sends every user a memo, or leaves.
    struct ScriptStep {
        enum Kind { Enter, Say, Memo, Leave } kind;
        const char* id;
        const char* text;  // UTF-8
    };
    void runScript();
    void play(const ScriptStep& step);
    void removeScripted(const std::string& id);
    bool pause(int ms);

    std::mutex lock_;
    std::vector<Member> members_;
    std::thread script_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool scriptRunning_ = false;
};
