#pragma once
// The chat-room assistant in the tty: every memo on the status line as "쪽지 From %s: %s" and
// its answer on the command key's "y", the room's participants as "name(id)" in a list over
// the screen on "u" (Enter writes a memo to one, "w" whispers to one, "s" asks the host for the
// room's members), and the chat input line as the place the assistant puts text into.
#include <string>

#include "app/tty/TtyChatLine.h"
#include "app/tty/TtyPickList.h"
#include "app/tty/TtyPrompt.h"
#include "auto/ChatAssistant.h"

class TtyFrontEnd;

class TtyChat : public ChatViews {
public:
    TtyChat(TtyFrontEnd& frontEnd, TtyPrompt& prompt, ChatAssistant& chat, TtyChatLine& line);
    ~TtyChat() override;
    TtyChat(const TtyChat&) = delete;
    TtyChat& operator=(const TtyChat&) = delete;

    // Asks for a memo to the sender of the last one (the ID first when none has come).
    void AnswerMemo();
    void ShowParticipants();

    void ParticipantsChanged() override;
    void RoomChanged() override { ParticipantsChanged(); }
    void PutIntoInputLine(const std::string& text) override { line_.PutText(text); }
    void MemoNotice(const std::string& sender, const std::string& text) override;

private:
    void writeMemo(const std::string& id);
    bool participantKey(const TtyKey& key, std::optional<TtyPickRow> current);
    std::string idOfRow(size_t row) const;
    void fillParticipants();

    TtyFrontEnd& frontEnd_;
    TtyPrompt& prompt_;
    ChatAssistant& chat_;
    TtyChatLine& line_;
    TtyPickList participants_;
    std::string lastSender_;  // CP949
};
