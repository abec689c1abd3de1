#include "app/gui/ChatWindows.h"

#include "platform/TextCodec.h"

ChatWindows::ChatWindows(ChatAssistant& chat, ChatSession& session, Registry& registry,
                         Clock& clock)
    : chat_(chat),
      registry_(registry),
      clock_(clock),
      bar_(std::make_unique<ChatInputBar>(session, registry)),
      list_(std::make_unique<ParticipantList>(chat, session)) {
    list_->setWindowTitle("대화실");
}

ChatWindows::~ChatWindows() {
    for (auto& [id, window] : memos_)
        delete window.data();
    delete received_.data();
}

ReceivedMemoDialog& ChatWindows::ShowReceivedMemos() {
    if (!received_) {
        received_ = new ReceivedMemoDialog(chat_.MemoLog());
        received_->setAttribute(Qt::WA_DeleteOnClose);
    }
    received_->show();
    received_->raise();
    return *received_;
}

MemoWindow* ChatWindows::Memo(const std::string& id) const {
    auto found = memos_.find(id);
    return found == memos_.end() ? nullptr : found->second.data();
}

size_t ChatWindows::MemoWindowCount() const {
    size_t open = 0;
    for (const auto& [id, window] : memos_)
        open += window ? 1 : 0;
    return open;
}

void ChatWindows::OpenMemoWindow(const std::string& id, bool received) {
    if (Memo(id)) return;
    auto* window = new MemoWindow(id, received, chat_, registry_, clock_, nextColour_);
    nextColour_ = (nextColour_ + 1) % MemoWindow::kColours;
    memos_[id] = window;
    window->show();
}

MemoWindow& ChatWindows::WriteTo(const std::string& id) {
    OpenMemoWindow(id, false);
    return *Memo(id);
}

void ChatWindows::AddMemoText(const std::string& id, const std::string& text) {
    if (MemoWindow* window = Memo(id)) window->AddReceived(text);
}

void ChatWindows::MemoLogged(const std::string& entry) {
    if (received_) received_->Append(entry);
}

void ChatWindows::MemoNotice(const std::string& sender, const std::string& text) {
    lastSender_ = sender;
    if (showStatus)
        showStatus("쪽지 From " + cp949ToUtf8Lossy(sender) + ": " + cp949ToUtf8Lossy(text));
}

// The participant list shows the ID notebook's icons.
void ChatWindows::PresenceChanged() {
    list_->Refresh();
    if (redrawIconPanel) redrawIconPanel();
}

void ChatWindows::RoomChanged() {
    list_->Refresh();
    if (roomChanged) roomChanged();
    if (redrawIconPanel) redrawIconPanel();
}
