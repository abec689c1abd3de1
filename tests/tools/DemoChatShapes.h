#pragma once
// The shapes in which the played service prints chat lines, in the program's own chat pattern
// language (what its chat recognition reads), and a page's location row as a regular
// expression over UTF-8 text.
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "auto/ChatPattern.h"
#include "platform/TextCodec.h"

struct ChatShape {
    const char* kind;
    ChatPattern pattern;
};

// Enter and leave notices, speakers, whisper set and cleared, memos, presence answers and the
// prompt shown on leaving the room.
inline const std::vector<ChatShape>& chatShapes() {
    auto shape = [](const char* kind, const char* utf8) {
        return ChatShape{kind, ChatPattern(utf8ToCp949(utf8).value())};
    };
    static const std::vector<ChatShape> shapes = {
        shape("enter", "^## %n(%w) 님이 입장하였습니다. ##"),
        shape("leave", "^## %n(%w) 님이 퇴장하였습니다. ##"),
        shape("speaker", "^%w(%8w)  %s"),
        shape("whisper set", "^## %w 님과 귀엣말이 설정되었습니다. ##"),
        shape("whisper cleared", "^## %w 님과의 귀엣말이 해제 되었습니다. ##"),
        shape("memo", "^## (From:%w) '%S'##"),
        shape("online", "^ ## %-8w(%w)님은 %s %s에 접속하였습니다(%s)"),
        shape("offline", "^ ## %-8w(%w)님은 현재 서비스를 사용하고 있지 않습니다."),
        shape("leave prompt", "^ 선택(H:도움말) >>"),
    };
    return shapes;
}

// The captures of a UTF-8 line in the shape, in UTF-8 and without the padding of their
// columns; nothing when the line has another shape.
inline std::optional<std::vector<std::string>> chatCaptures(const ChatShape& shape,
                                                            const std::string& line) {
    ChatCaptures captures;
    if (!shape.pattern.Match(utf8ToCp949(line).value_or(""), captures)) return std::nullopt;
    std::vector<std::string> out;
    for (const std::string& capture : captures)
        out.push_back(cp949ToUtf8Lossy(TrimLeft(TrimRight(capture))));
    return out;
}

// The kinds of shape a line has (one, for a line of the room).
inline std::vector<std::string> chatKinds(const std::string& line) {
    std::vector<std::string> kinds;
    for (const ChatShape& shape : chatShapes()) {
        if (chatCaptures(shape, line)) kinds.push_back(shape.kind);
    }
    return kinds;
}

// A page's first row: only "title (CODE)", the code a letter then letters and digits.
inline const std::regex& locationRow() {
    static const std::regex row("^([^()]*[^() ]) \\(([A-Za-z][A-Za-z0-9]*)\\)$");
    return row;
}
