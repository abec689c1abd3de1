#include "app/tty/TtyChat.h"

#include "app/tty/TtyFrontEnd.h"
#include "platform/TextCodec.h"

namespace {

std::string utf8(const std::string& cp949) {
    return cp949ToUtf8Lossy(cp949);
}

bool blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

TtyChat::TtyChat(TtyFrontEnd& frontEnd, TtyPrompt& prompt, ChatAssistant& chat, TtyChatLine& line)
    : frontEnd_(frontEnd),
      prompt_(prompt),
      chat_(chat),
      line_(line),
      participants_("대화실 참가자", {{"이름(아이디)", 30}, {"접속", 0}}) {
    participants_.SetHint("Enter 쪽지  w 귓속말  s 현황  Esc 닫기");
    participants_.picked = [this](TtyPickRow row) {
        const std::string id = idOfRow(row.row);
        if (!id.empty()) writeMemo(id);
    };
    participants_.otherKey = [this](const TtyKey& key, std::optional<TtyPickRow> current) {
        return participantKey(key, current);
    };
    chat_.SetViews(this);
}

TtyChat::~TtyChat() {
    chat_.SetViews(nullptr);
}

void TtyChat::MemoNotice(const std::string& sender, const std::string& text) {
    lastSender_ = sender;
    frontEnd_.ShowStatus("쪽지 From " + utf8(sender) + ": " + utf8(text));
}

void TtyChat::AnswerMemo() {
    std::string id = lastSender_;
    if (id.empty()) {
        const std::optional<std::string> asked = prompt_.AskLine("쪽지 받을 아이디: ");
        if (!asked || blank(*asked)) return;
        id = utf8ToCp949Lossy(*asked);
    }
    writeMemo(id);
}

// The memo goes through the service's memo command; without one it is kept on the status line.
void TtyChat::writeMemo(const std::string& id) {
    const std::string label = "쪽지 To " + utf8(id) + ": ";
    const std::optional<std::string> text = prompt_.AskLine(label);
    if (!text || blank(*text)) return;
    if (chat_.SendMemo(id, utf8ToCp949Lossy(*text)))
        frontEnd_.ShowStatus(label + *text);
    else
        frontEnd_.ShowStatus("이 통신망에는 쪽지 보내기 명령이 없습니다: " + *text);
}

void TtyChat::ShowParticipants() {
    fillParticipants();
    frontEnd_.ShowPickList(&participants_);
}

void TtyChat::ParticipantsChanged() {
    if (participants_.Shown()) fillParticipants();
}

void TtyChat::fillParticipants() {
    const ChatRoomState& room = chat_.Room();
    const std::string title = room.RoomTitle().empty() ? "" : " " + utf8(room.RoomTitle());
    participants_.SetTitle("대화실 참가자" + title);
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < room.Count(); ++i) {
        auto mark = chat_.Presence().find(room.Participants()[i].id);
        rows.push_back(
            {utf8(room.DisplayText(i)), mark == chat_.Presence().end() ? "" : mark->second});
    }
    participants_.SetRows(std::move(rows));
}

std::string TtyChat::idOfRow(size_t row) const {
    const ChatRoster& list = chat_.Room().Participants();
    return row < list.size() ? list[row].id : "";
}

bool TtyChat::participantKey(const TtyKey& key, std::optional<TtyPickRow> current) {
    if (key.kind != TtyKey::Kind::Text) return false;
    if (key.text == "s") {
        chat_.Room().RefreshParticipants();
    } else if (key.text == "w" && current) {
        participants_.Close();  // the whisper goes into the chat input line
        chat_.Room().RunUserCommand(UserCommand::Whisper, idOfRow(current->row));
    } else {
        return false;
    }
    return true;
}
