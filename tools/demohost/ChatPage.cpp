// The chat room "대화실 (CHAT)": what the user types is said to the room; "/" commands whisper,
// send memos, ask who is on line and show the room; "/q" leaves, and any other command leaves
// the room before it runs.
#include "platform/TextCodec.h"
#include "tools/demohost/ChatLines.h"
#include "tools/demohost/DemoPages.h"
#include "tools/demohost/DemoSession.h"

namespace {

void showHelp(DemoSession& s) {
    s.Show(
        " 그냥 입력하면 대화, /to 아이디: 귓속말 (/to 만: 해제), /memo 아이디 내용: 쪽지\n"
        " /f 아이디: 접속 확인, /st: 대화실 현황, /q: 나가기\n\n");
}

void leave(DemoSession& s) {
    s.Host().room.Leave(&s.Mailbox());
    s.SendLine(chat::LeavePrompt());
}

bool isWord(DemoSession& s, const std::string& word, const char* name) {
    return "/" + word == s.Word(name);
}

}  // namespace

void ShowChat(DemoSession& s) {
    s.Show("\n");
    showHelp(s);
    s.Host().room.Join(s.Id(), s.Id(), &s.Mailbox());
}

bool ChatCommand(DemoSession& s, const std::string& line) {
    ChatRoom& room = s.Host().room;
    if (line.empty() || line[0] != '/') {
        room.Say(&s.Mailbox(), line);
        return true;
    }
    const auto [word, argument] = SplitCommand(line);
    if (isWord(s, word, "대화방 퇴실")) {
        leave(s);
        s.ShowPage(*FindPage("TOP"));
    } else if (isWord(s, word, "귓속말 설정")) {
        const std::string said = room.Whisper(&s.Mailbox(), argument);
        if (!said.empty()) s.SendLine(said);
    } else if (isWord(s, word, "메모 보내기")) {
        const size_t space = argument.find(' ');
        const std::string to = argument.substr(0, space);
        const std::string text = space == std::string::npos ? "" : argument.substr(space + 1);
        if (!room.Memo(&s.Mailbox(), to, text)) s.SendLine(room.Presence(to));
    } else if (isWord(s, word, "접속 확인")) {
        s.SendLine(room.Presence(argument));
    } else if (word == "st" || isWord(s, word, "대화실 현황")) {
        for (const std::string& status : room.Status())
            s.SendLine(status);
    } else if (word == "h") {
        showHelp(s);
    } else {
        leave(s);
        return false;
    }
    return true;
}
