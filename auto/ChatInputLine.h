#pragma once
// The logic of the chat input line, shared by the window's bar and the terminal front end:
// what Enter does with a typed line, the head and tail texts added to chat lines, the history
// of typed lines, and the protected prompt prefix while the command shell runs in the line.
// Texts are CP949.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auto/ChatSession.h"

// Where lines for the command shell go: "/exec" lines and every line while the shell is on.
// Such lines never reach the host.
class ChatShellHook {
public:
    virtual ~ChatShellHook() = default;
    virtual bool ShellOn() const = 0;
    virtual void RunShellCommand(std::string_view line) = 0;
    // Switches the shell on (banner and prompt).
    virtual void ToggleShell() = 0;
    virtual std::string ShellPrompt() const = 0;
};

class ChatInputLine {
public:
    static constexpr size_t kMaxHistory = 100;

    explicit ChatInputLine(ChatSession& session) : session_(session) {}
    // Null: "/exec" lines are dropped.
    void SetShellHook(ChatShellHook* hook) { shell_ = hook; }
    bool ShellOn() const { return shell_ && shell_->ShellOn(); }

    // Runs the line the field holds (its protected prefix included) and returns what the
    // field holds afterwards.
    std::string Enter(const std::string& field);

    // The field's text before which editing keys stop.
    const std::string& ProtectedPrefix() const { return prefix_; }
    // The shell's prompt as it changes outside Enter (the menu command toggles the shell).
    void SetProtectedPrefix(const std::string& prefix) { prefix_ = prefix; }

    // History of entered lines: Up gives older ones, Down newer ones and, past the newest,
    // the text being typed when Up was first pressed. Nothing when there is nowhere to go,
    // and nothing at all while the shell is on.
    std::optional<std::string> HistoryUp(const std::string& field);
    std::optional<std::string> HistoryDown();
    bool InHistory() const { return historyAt_.has_value(); }
    // Esc: true when it only left the history; otherwise the caller cancels the scroll-back.
    bool Escape();

    bool UseCaption() const { return useCaption_; }
    void SetUseCaption(bool on) { useCaption_ = on; }
    const std::string& Head() const { return head_; }
    const std::string& Tail() const { return tail_; }
    void SetCaption(const std::string& head, const std::string& tail);
    // "머릿말: %s" and "꼬릿말: %s" joined by ", ", each only when its text is non-empty; ""
    // when both are (the caption button is then hidden).
    std::string CaptionButtonText() const;

private:
    void remember(const std::string& line);
    void runChatLine(const std::string& line);
    std::string afterShellChange();

    ChatSession& session_;
    ChatShellHook* shell_ = nullptr;
    std::string prefix_;
    std::vector<std::string> history_;
    std::optional<size_t> historyAt_;
    std::string typedBeforeHistory_;
    bool useCaption_ = true;
    std::string head_, tail_;
};
