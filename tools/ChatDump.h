#pragma once
// The chat-room assistant over quilite-vtdump's screen: each line the screen offers goes
// through the chat core as in a connected session of the named service (the line's colour,
// then the service's notices), and what the assistant sends becomes the dump's replies. Its
// state is rendered as the "chat" JSON object.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "auto/ChatAssistant.h"
#include "platform/SoundPlayer.h"
#include "tools/VtDump.h"

struct ChatDumpOptions {
    std::string service;  // UTF-8
    std::string dbPath;   // the profile the service's values come from; "": the shipped one
    std::string ownId;
    std::map<std::string, int> colours;  // participant id -> colour, given as they appear
};

class ChatDump : public ChatSession {
public:
    // Nothing, with `error` set, when the profile cannot be read.
    static std::unique_ptr<ChatDump> Open(VtDump& dump, const ChatDumpOptions& options,
                                          std::string& error);
    ~ChatDump() override;
    std::string Json() const;

    void SendByte(uint8_t c) override;
    void SendText(std::string_view text) override;
    void SendLine(std::string_view text) override;
    bool Connected() const override { return true; }
    bool InChatRoom() const override { return inRoom_; }
    void SetInChatRoom(bool inRoom) override { inRoom_ = inRoom; }
    std::string OwnId() const override { return ownId_; }
    const std::string& CurrentService() const override { return service_; }
    std::string ServiceValue(const char* utf8Name) const override;

private:
    ChatDump(VtDump& dump, const ChatDumpOptions& options, std::unique_ptr<Registry> registry,
             Record values);
    void lineReady(bool partial);
    void applyColours();

    VtDump& dump_;
    std::unique_ptr<Registry> registry_;
    Record values_;
    std::string service_, ownId_;
    std::map<std::string, int> colours_;
    SilentSoundPlayer sound_;
    ChatAssistant chat_;
    bool inRoom_ = false;
    std::string scratch_;  // the folder of a store made for the run, removed at the end
    std::vector<std::pair<std::string, int>> lines_;  // each complete line and its colour
};
