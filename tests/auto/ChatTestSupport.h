#pragma once
// A chat session that records what the assistant sends and a command shell that records its
// lines, for the tests of the chat core, of its windows and of the tty's input line.
#include <map>
#include <string>
#include <vector>

#include "auto/ChatInputLine.h"
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

// A command shell that records its lines; "exit" switches it off.
class FakeShell : public ChatShellHook {
public:
    bool on = false;
    std::vector<std::string> ran;
    bool ShellOn() const override { return on; }
    void RunShellCommand(std::string_view line) override {
        ran.emplace_back(line);
        if (line == "exit") on = false;
    }
    void ToggleShell() override { on = !on; }
    std::string ShellPrompt() const override { return "C:\\> "; }
};
