#include "tools/demohost/DemoPages.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "tools/demohost/DemoSession.h"
#include "tools/demohost/PlainColours.h"

namespace {

// A picture as rows of cells, each cell two columns: the letter picks colours and a glyph.
const std::map<char, std::string> kArtCells = {
    {'.', "\x1b[0;44m  "},   {'S', "\x1b[1;33;44m●"}, {'c', "\x1b[1;37;44m■"},
    {'M', "\x1b[0;32;44m▲"}, {'m', "\x1b[1;32;42m▒"}, {'w', "\x1b[1;36;46m▒"},
    {'b', "\x1b[1;31;46m◆"}, {'g', "\x1b[0;32;40m♣"}, {'f', "\x1b[1;35;40m♥"},
    {'r', "\x1b[1;31;40m★"}, {'y', "\x1b[0;33;40m■"}, {'k', "\x1b[1;30;47m□"},
    {'B', "\x1b[1;34;40m◆"}, {'W', "\x1b[0;37;41m▣"}, {'C', "\x1b[0;36;40m●"},
    {'P', "\x1b[0;35;43m♠"}, {' ', "\x1b[0m  "},
};

const char* const kLandscape[] = {
    "......................................", "...S.........ccc..............cccc....",
    "..SSS......ccccccc..........cccccc....", "...S..................................",
    ".............M..................M.....", "...........MMmMM..............MMmMM...",
    "........MMMmmmmmMM.........MMMmmmmmMM.", ".....MMMmmmmmmmmmmmMM...MMMmmmmmmmmmmm",
    "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwbwwwwwwwwwwwwwwwwwwwwwwwwww",
    "wwwwwwwwwwwwwwwwwwwwwwwwwbwwwwwwwwwwww", "gggfggggggrggggggfgggggggggrggggggfggg",
    "ggggggfggggggggrggggfggggggggggggggggr",
};

const char* const kBanner[] = {
    "  rrffyyggCCBBrrffyyggCCBBrrffyyggCC  ",
    "  kWPkWPkWPkWPkWPkWPkWPkWPkWPkWPkWPk  ",
};

// Columns a UTF-8 text takes on a CP949 terminal: two for every non-ASCII character, none for
// colour sequences.
int displayWidth(std::string_view text) {
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = text[i];
        if (c == 0x1b) {
            while (i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i])))
                ++i;
        } else if (c >= 0xC0) {
            width += 2;
        } else if (c < 0x80) {
            width += 1;
        }
    }
    return width;
}

}  // namespace

std::string BoxRow(const std::string& text, int columns, const std::string& frame) {
    const int pad = std::max(0, columns - displayWidth(text));
    return " " + frame + "│" DEMO_PLAIN + text + std::string(pad, ' ') + frame +
           "│" DEMO_PLAIN "\n";
}

std::string BoxEdge(const char* left, const char* right, int columns, const std::string& frame) {
    std::string edge = " " + frame + left;
    for (int i = 0; i < columns / 2; ++i)
        edge += "─";
    return edge + right + DEMO_PLAIN "\n";
}

namespace {

template <size_t N>
void showArt(DemoSession& s, const char* const (&rows)[N]) {
    for (const char* row : rows) {
        std::string line = " ";
        for (const char* c = row; *c; ++c)
            line += kArtCells.at(*c);
        s.Show(line + DEMO_PLAIN "\n");
    }
}

const std::vector<DemoPage> kPages = {
    {"TOP", "초기 화면", 0, ShowTop, nullptr},
    {"ART", "그림", 1, ShowArt, nullptr},
    {"FREE", "자유게시판", 2, ShowBoard, BoardCommand},
    {"FILES", "자료실", 3, ShowFiles, FilesCommand},
    {"CHAT", "대화실", 4, ShowChat, ChatCommand},
    {"VTX", "비디오텍스", 0, ShowVideotex, nullptr},
    {"IMAGE", "그림 전송", 0, ShowImage, nullptr},
    {"BADUK", "바둑", 0, ShowGo, GoCommand, true, true},
};

}  // namespace

const std::vector<DemoPage>& DemoPages() {
    return kPages;
}

const DemoPage* FindPage(std::string_view code) {
    for (const DemoPage& page : kPages) {
        if (code.size() == std::char_traits<char>::length(page.code) &&
            strncasecmp(page.code, code.data(), code.size()) == 0)
            return &page;
    }
    return nullptr;
}

const DemoPage* MenuPage(int number) {
    for (const DemoPage& page : kPages) {
        if (page.number == number && number > 0) return &page;
    }
    return nullptr;
}

void ShowWelcome(DemoSession& s) {
    const std::string frame = "\x1b[1;36m";
    s.Show(DEMO_PLAIN "\x1b[2J\x1b[H\x1b[1;37;44m퀼라이트 데모 (DEMO)" DEMO_PLAIN "\n\n");
    showArt(s, kBanner);
    s.Show("\n" + BoxEdge("┌", "┐", 72, frame) +
           BoxRow("\x1b[1;33m    퀼라이트 데모 통신망에 오신 것을 환영합니다!", 72, frame) +
           BoxRow("    그림, 게시판, 자료실, 대화실을 둘러보십시오.", 72, frame) +
           BoxEdge("└", "┘", 72, frame) + "\n");
    showArt(s, kBanner);
    s.Show("\n 아이디와 비밀번호는 아무것이나 됩니다. (예: \x1b[1mguest" DEMO_PLAIN
           " / \x1b[1mdemo" DEMO_PLAIN ")\n\n");
}

void ShowTop(DemoSession& s) {
    const std::string frame = "\x1b[0;32m";
    s.Show("\n \x1b[1;32m" + s.Id() + DEMO_PLAIN " 님, 어서 오십시오.\n\n");
    s.Show(BoxEdge("┌", "┐", 68, frame));
    for (const DemoPage& page : DemoPages()) {
        if (page.number == 0) continue;
        s.Show(BoxRow("  \x1b[1;37m" + std::to_string(page.number) + ". " + page.title + " (" +
                          page.code + ")" DEMO_PLAIN,
                      68, frame));
    }
    s.Show(BoxEdge("└", "┘", 68, frame) +
           "\n 번호를 고르거나 \"go 코드\"로 이동합니다. x는 접속 끝.\n\n");
    s.MenuPrompt();
}

void ShowArt(DemoSession& s) {
    s.Show("\n");
    showArt(s, kLandscape);
    s.Show("\n \x1b[1;33m★" DEMO_PLAIN " 산과 바다 \x1b[1;33m★" DEMO_PLAIN "   (16색 그림)\n\n");
    s.MenuPrompt();
}
