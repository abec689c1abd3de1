// The board "자유게시판 (FREE)": a numbered list of posts; a number reads one through the pager,
// "n" and "b" read the next and the previous, "ls" shows the list again.
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/demohost/DemoPages.h"
#include "tools/demohost/DemoSession.h"
#include "tools/demohost/PlainColours.h"

namespace {

struct Post {
    const char* author;
    const char* date;
    const char* title;
    std::vector<std::string> body;
};

std::vector<std::string> longStory() {
    std::vector<std::string> lines = {
        "옛날 옛적, 모뎀 소리가 밤마다 울리던 시절이 있었습니다.",
        "전화선 하나로 온 나라의 사람들이 글을 나누고 자료를 주고받았지요.",
        "",
    };
    const char* const seasons[] = {"봄", "여름", "가을", "겨울"};
    for (int day = 1; day <= 24; ++day) {
        lines.push_back(std::to_string(day) + "일째: " + seasons[day % 4] +
                        " 밤, 오늘도 접속하여 게시판을 읽었습니다.");
    }
    lines.push_back("");
    lines.push_back("끝까지 읽어 주셔서 고맙습니다.");
    return lines;
}

const std::vector<Post>& posts() {
    static const std::vector<Post> kPosts = {
        {"sysop",
         "12/01",
         "데모 통신망이 문을 열었습니다",
         {"안녕하십니까, 운영자입니다.", "", "이 통신망은 퀼라이트를 시험해 보는 작은 데모입니다.",
          "게시판, 자료실, 대화실을 마음껏 써 보십시오.", "", "즐거운 시간 되십시오."}},
        {"haneul",
         "12/02",
         "한글 글꼴이 참 예쁘네요",
         {"가나다라마바사 아자차카타파하", "", "글자가 또렷하게 보여서 좋습니다.",
          "상자 그림도 ┌─┐ └─┘ 잘 나옵니다."}},
        {"nuri99", "12/03", "긴 이야기 (여러 쪽)", longStory()},
        {"byeol",
         "12/05",
         "자료실에서 받기 시험",
         {"자료실에서 번호를 고르면 바로 받기가 시작됩니다.",
          "따로 명령을 입력할 필요가 없어서 편합니다."}},
    };
    return kPosts;
}

void readPost(DemoSession& s, int index) {
    const Post& post = posts()[index];
    s.Mark("FREE") = index;
    std::vector<std::string> lines = {
        "\x1b[1;33m[" + std::to_string(index + 1) + "] " + post.title + DEMO_PLAIN,
        "글쓴이: " + std::string(post.author) + "   날짜: " + post.date,
        "────────────────────────────────────────",
    };
    lines.insert(lines.end(), post.body.begin(), post.body.end());
    s.Page(std::move(lines), *FindPage("FREE"));
}

}  // namespace

void ShowBoard(DemoSession& s) {
    s.Show(
        "\n 번호  글쓴이    날짜   제목\n"
        " ───────────────────────────────────────\n");
    for (size_t i = 0; i < posts().size(); ++i) {
        const Post& post = posts()[i];
        std::string author = post.author;
        author.resize(8, ' ');
        s.Show("  " + std::to_string(i + 1) + "    " + author + "  " + post.date + "  " +
               post.title + "\n");
    }
    s.Show("\n 번호: 읽기   n/b: 다음/이전 글   ls: 목록   p: 위로\n\n");
    s.MenuPrompt();
}

bool BoardCommand(DemoSession& s, const std::string& line) {
    const int count = static_cast<int>(posts().size());
    const auto [word, argument] = SplitCommand(line);
    const int number = std::atoi(word.c_str());
    if (number >= 1 && number <= count && word == std::to_string(number)) {
        readPost(s, number - 1);
        return true;
    }
    int& last = s.Mark("FREE");
    if (word == s.Word("다음 메시지") && last + 1 < count) return readPost(s, last + 1), true;
    if (word == s.Word("이전 메시지") && last > 0) return readPost(s, last - 1), true;
    if (word == s.Word("목록 보기")) return s.ShowPage(*FindPage("FREE")), true;
    return false;
}
