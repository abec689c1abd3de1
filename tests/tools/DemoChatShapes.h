#pragma once
// The shapes in which the played service prints chat lines and a page's location, as regular
// expressions over UTF-8 text: what the program's chat and bookmark recognition will read.
#include <regex>
#include <string>
#include <vector>

struct ChatShape {
    const char* kind;
    std::regex pattern;
};

// Enter and leave notices, speakers, whisper set and cleared, memos, presence answers and the
// prompt shown on leaving the room.
inline const std::vector<ChatShape>& chatShapes() {
    static const std::vector<ChatShape> shapes = {
        {"enter", std::regex("^## ([^ ()]+)\\(([A-Za-z0-9]+)\\) 님이 입장하였습니다\\. ##$")},
        {"leave", std::regex("^## ([^ ()]+)\\(([A-Za-z0-9]+)\\) 님이 퇴장하였습니다\\. ##$")},
        {"speaker", std::regex("^([^ ()]+)\\((?=[A-Za-z0-9 ]{8}\\))([A-Za-z0-9]+) *\\)  (.*)$")},
        {"whisper set", std::regex("^## ([A-Za-z0-9]+) 님과 귀엣말이 설정되었습니다\\. ##$")},
        {"whisper cleared",
         std::regex("^## ([A-Za-z0-9]+) 님과의 귀엣말이 해제 되었습니다\\. ##$")},
        {"memo", std::regex("^## \\(From:([A-Za-z0-9]+)\\) '(.*)'##$")},
        {"online",
         std::regex("^ ## +([A-Za-z0-9]+)\\(([^ ()]+)\\)님은 [^ ]+ .+에 접속하였습니다\\(.*\\)$")},
        {"offline",
         std::regex(
             "^ ## +([A-Za-z0-9]+)\\(([^ ()]+)\\)님은 현재 서비스를 사용하고 있지 않습니다\\.$")},
        {"leave prompt", std::regex("^ 선택\\(H:도움말\\) >>$")},
    };
    return shapes;
}

// The kinds of shape a line has (one, for a line of the room).
inline std::vector<std::string> chatKinds(const std::string& line) {
    std::vector<std::string> kinds;
    for (const ChatShape& shape : chatShapes()) {
        if (std::regex_search(line, shape.pattern)) kinds.push_back(shape.kind);
    }
    return kinds;
}

// A page's first row: only "title (CODE)", the code a letter then letters and digits.
inline const std::regex& locationRow() {
    static const std::regex row("^([^()]*[^() ]) \\(([A-Za-z][A-Za-z0-9]*)\\)$");
    return row;
}
