#pragma once
// What the chat-room assistant tells the windows (or the terminal front end) that show it:
// the participant list, presence marks, the room, the input line, the received-memo log and
// the memo windows. Every operation does nothing here. Texts are CP949.
#include <cstddef>
#include <string>

class ChatViews {
public:
    virtual ~ChatViews() = default;

    virtual void ParticipantsChanged() {}
    // A presence mark was set: the ID notebook and the icon panel redraw.
    virtual void PresenceChanged() {}
    // The room was entered or left: the icon panel redraws.
    virtual void RoomChanged() {}
    // Puts a text into the chat input line without sending it.
    virtual void PutIntoInputLine(const std::string& /*text*/) {}
    // An entry was added to the received-memo log.
    virtual void MemoLogged(const std::string& /*entry*/) {}
    // Every memo that arrives, for a status line.
    virtual void MemoNotice(const std::string& /*sender*/, const std::string& /*text*/) {}

    // Memo windows, at most one per ID.
    virtual size_t MemoWindowCount() const { return 0; }
    virtual bool HasMemoWindow(const std::string& /*id*/) const { return false; }
    // received: captioned "From: %s", else "To: %s".
    virtual void OpenMemoWindow(const std::string& /*id*/, bool /*received*/) {}
    // Adds a received text to the window's transcript.
    virtual void AddMemoText(const std::string& /*id*/, const std::string& /*text*/) {}
};
