#pragma once
// The session as the chat-room assistant sees it: its sending, its connection and chat-room
// flags, the own ID of its log-in and the values of its current service.
#include "auto/ChatSession.h"

class CQuillonDoc;
class TWView;

class SessionChat : public ChatSession {
public:
    SessionChat(CQuillonDoc& doc, TWView& view) : doc_(doc), view_(view) {}

    void SendByte(uint8_t c) override;
    void SendText(std::string_view text) override;
    void SendLine(std::string_view text) override;
    bool Connected() const override;
    bool InChatRoom() const override;
    void SetInChatRoom(bool inRoom) override;
    std::string OwnId() const override;
    const std::string& CurrentService() const override;
    std::string ServiceValue(const char* utf8Name) const override;
    void RedrawView() override;

private:
    CQuillonDoc& doc_;
    TWView& view_;
};
