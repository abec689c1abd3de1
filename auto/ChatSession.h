#pragma once
// What the chat-room assistant needs of the session it serves: sending, the connection and
// chat-room flags, the own ID, and the values of the current service. Texts are CP949.
#include <cstdint>
#include <string>
#include <string_view>

class ChatSession {
public:
    virtual ~ChatSession() = default;

    virtual void SendByte(uint8_t c) = 0;
    virtual void SendText(std::string_view text) = 0;
    virtual void SendLine(std::string_view text) = 0;
    virtual bool Connected() const = 0;
    virtual bool InChatRoom() const = 0;
    virtual void SetInChatRoom(bool inRoom) = 0;
    // The ID the session logged in with, "" when unknown.
    virtual std::string OwnId() const = 0;
    virtual const std::string& CurrentService() const = 0;
    // A value of the current service's record by its UTF-8 name ("쪽지 보내기"); "" when unset.
    virtual std::string ServiceValue(const char* utf8Name) const = 0;
    // The terminal is redrawn before a memo is shown.
    virtual void RedrawView() {}
};
