#pragma once
// A chat session that records what the assistant sends, for the tests of the chat core and of
// its windows.
#include <map>
#include <string>

#include "auto/ChatSession.h"

// Sent bytes as text: bytes as they are, "[text]" for SendText and "[line\r]" for SendLine.
class RecordingSession : public ChatSession {
public:
    std::string sent;
    bool connected = true, inRoom = false;
    std::string ownId, service;
    std::map<std::string, std::string> values;  // UTF-8 name -> CP949 value
    int redraws = 0;

    void SendByte(uint8_t c) override { sent += static_cast<char>(c); }
    void SendText(std::string_view text) override { sent += "[" + std::string(text) + "]"; }
    void SendLine(std::string_view text) override { sent += "[" + std::string(text) + "\r]"; }
    bool Connected() const override { return connected; }
    bool InChatRoom() const override { return inRoom; }
    void SetInChatRoom(bool on) override { inRoom = on; }
    std::string OwnId() const override { return ownId; }
    const std::string& CurrentService() const override { return service; }
    std::string ServiceValue(const char* name) const override {
        auto found = values.find(name);
        return found == values.end() ? "" : found->second;
    }
    void RedrawView() override { ++redraws; }
};
