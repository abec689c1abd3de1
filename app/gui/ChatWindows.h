#pragma once
// The windows of the chat-room assistant: one memo window per ID (at most 32, each new one in
// the next of five colours), the received-memo dialog while it is open, the participant list
// and the chat input bar; the assistant's news reach them through ChatViews.
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/gui/ChatInputBar.h"
#include "app/gui/MemoWindow.h"
#include "app/gui/ParticipantList.h"
#include "app/gui/ReceivedMemoDialog.h"
#include "auto/ChatAssistant.h"

class ChatWindows : public ChatViews {
public:
    ChatWindows(ChatAssistant& chat, ChatSession& session, Registry& registry,
                Clock& clock = Clock::steady());
    ~ChatWindows() override;

    ChatInputBar& InputBar() { return *bar_; }
    ParticipantList& Participants() { return *list_; }
    // Opens (or raises) "받은 온라인 쪽지".
    ReceivedMemoDialog& ShowReceivedMemos();
    MemoWindow* Memo(const std::string& id) const;
    // The window for writing to `id` ("To: %s"), made when there is none.
    MemoWindow& WriteTo(const std::string& id);
    // The sender of the last memo that arrived, "" before the first.
    const std::string& LastSender() const { return lastSender_; }
    // The frame's status line and icon panel.
    std::function<void(const std::string&)> showStatus;
    std::function<void()> redrawIconPanel;
    // The room was entered or left.
    std::function<void()> roomChanged;

    void ParticipantsChanged() override { list_->Refresh(); }
    void PresenceChanged() override;
    void RoomChanged() override;
    void PutIntoInputLine(const std::string& text) override { bar_->PutText(text); }
    void MemoLogged(const std::string& entry) override;
    void MemoNotice(const std::string& sender, const std::string& text) override;
    size_t MemoWindowCount() const override;
    bool HasMemoWindow(const std::string& id) const override { return Memo(id) != nullptr; }
    void OpenMemoWindow(const std::string& id, bool received) override;
    void AddMemoText(const std::string& id, const std::string& text) override;

private:
    ChatAssistant& chat_;
    Registry& registry_;
    Clock& clock_;
    std::unique_ptr<ChatInputBar> bar_;
    std::unique_ptr<ParticipantList> list_;
    std::map<std::string, QPointer<MemoWindow>> memos_;
    QPointer<ReceivedMemoDialog> received_;
    int nextColour_ = 0;
    std::string lastSender_;
};
