// The Go page "BADUK": a game against the host drawn as a Go service draws it. The user's move
// ("D 4") goes down as black and the host answers with white on the next free point of its
// script; the service commands of the usual service ("/Z", "/RE", "/EP", "/CO", "/D", "/BI",
// "/A", "/P") are answered. The board's column letters are the page's first row, so that the
// terminal recognises the board: the page has no title row.
#include <cctype>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "tools/demohost/DemoPages.h"
#include "tools/demohost/DemoSession.h"
#include "tools/demohost/GoScreen.h"
#include "tools/demohost/PlainColours.h"

namespace {

using GoScreen::Point;

// The host's replies, tried in order until a free point comes up.
const Point kReplies[] = {{15, 3}, {3, 15}, {15, 15}, {9, 9}, {2, 13},  {13, 2}, {16, 9},
                          {9, 16}, {2, 2},  {16, 16}, {5, 5}, {13, 13}, {9, 2},  {2, 9}};

const char kPrompt[] = "\xC2\xF8\xBC\xF6 (\xBF\xB9: D 4), /Z /RE /P >> ";  // "착수 (예: D 4), ..."

std::string cp949(const std::string& utf8) {
    return utf8ToCp949Lossy(utf8);
}

// The moves so far, black and white in turn, as column and row letters ("dd", "pd", ...).
std::string& moves(DemoSession& s) {
    return s.Note("BADUK");
}

GoScreen::Game replay(const std::string& played) {
    GoScreen::Game game;
    for (size_t i = 0; i + 1 < played.size(); i += 2)
        game.Play({played[i] - 'a', played[i + 1] - 'a'},
                  i % 4 == 0 ? GoScreen::kBlack : GoScreen::kWhite);
    return game;
}

std::vector<std::string> sideLines(DemoSession& s) {
    return {cp949("바둑 (BADUK)"),
            "",
            cp949("흑: ") + s.Id(),
            cp949("백: 바둑이"),
            "",
            cp949("/Z  화면 재출력"),
            cp949("/RE 한수 물리기"),
            cp949("/P  바둑 종료")};
}

void sendBottom(DemoSession& s, const std::string& message) {
    s.Link().Send(GoScreen::TextLine(21, 1, message) + GoScreen::TextLine(23, 1, kPrompt));
}

// The whole board; only the page's first drawing clears the screen, since a clear ends the
// terminal's board.
void drawBoard(DemoSession& s, const std::string& message, bool clear) {
    GoScreen::Game game = replay(moves(s));
    s.Link().Send(std::string(clear ? DEMO_PLAIN "\x1b[2J" : "") +
                  GoScreen::Board(game.Stones(), game.Last(), sideLines(s), {}));
    sendBottom(s, message);
}

// "D 4", "d4", "D4": column A..S (I included) and row 1..19.
bool parseMove(const std::string& line, Point& point) {
    std::string text;
    for (char c : line)
        if (c != ' ') text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'S') return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    int row = std::stoi(text.substr(1, 3));
    if (row < 1 || row > 19) return false;
    point = {text[0] - 'A', row - 1};
    return true;
}

std::string letters(Point p) {
    return {static_cast<char>('a' + p.column), static_cast<char>('a' + p.row)};
}

// The script's first free point, else the first free point of the board.
Point replyTo(const GoScreen::Game& game) {
    auto free = [&game](Point p) { return game.Stones()[p.column][p.row] == GoScreen::kEmpty; };
    for (Point reply : kReplies)
        if (free(reply)) return reply;
    for (int column = 0; column < GoScreen::kSize; ++column)
        for (int row = 0; row < GoScreen::kSize; ++row)
            if (free({column, row})) return {column, row};
    return {};
}

void play(DemoSession& s, Point point) {
    GoScreen::Game game = replay(moves(s));
    if (game.Stones()[point.column][point.row] != GoScreen::kEmpty)
        return sendBottom(s, cp949("이미 돌이 놓인 자리입니다."));
    std::string out = game.Play(point, GoScreen::kBlack);
    moves(s) += letters(point);
    Point reply = replyTo(game);
    if (reply.column >= 0) {
        out += game.Play(reply, GoScreen::kWhite);
        moves(s) += letters(reply);
    }
    s.Link().Send(out);
    sendBottom(s, cp949("백이 두었습니다."));
}

struct ServiceAnswer {
    const char* command;
    const char* message;
};

const ServiceAnswer kAnswers[] = {
    {"/EP", "착수를 마쳤습니다."},    {"/CO", "계가를 신청했습니다."},
    {"/BI", "빅으로 지정했습니다."},  {"/A", "대국 중지를 신청했습니다."},
    {"/D", "사석으로 지정했습니다."},
};

std::string upper(const std::string& text) {
    std::string out;
    for (char c : text)
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

void ShowGo(DemoSession& s) {
    drawBoard(s, cp949("바둑이와 한 판 두십시오. 흑을 잡으셨습니다."), true);
}

bool GoCommand(DemoSession& s, const std::string& line) {
    std::string command = upper(line.substr(0, line.find(' ')));
    if (command == "/Z") {
        drawBoard(s, "", false);
    } else if (command == "/RE") {
        moves(s).resize(moves(s).size() >= 4 ? moves(s).size() - 4 : 0);
        drawBoard(s, cp949("한 수 물렸습니다."), false);
    } else if (command == "/P") {
        moves(s).clear();
        s.ShowPage(*FindPage("TOP"));
    } else if (Point point; parseMove(line, point)) {
        play(s, point);
    } else {
        for (const ServiceAnswer& answer : kAnswers) {
            if (command != answer.command) continue;
            sendBottom(s, cp949(answer.message));
            return true;
        }
        return false;
    }
    return true;
}
