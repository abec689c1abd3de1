#pragma once
// Host bytes that draw a Go board the way the online Go services do (CP949): column letters
// on the first row, row numbers at the left, a two-byte symbol per point from screen column 3,
// stones in colour and the last move in the default colours with the other colour's symbol.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace GoScreen {

constexpr int kSize = 19;
constexpr uint8_t kEmpty = 0, kBlack = 1, kWhite = 2;

// [column][row], column 0 at the left and row 0 at the top.
using Position = std::array<std::array<uint8_t, kSize>, kSize>;

struct Point {
    int column = -1, row = -1;
};

// The whole board from the top-left corner (no screen clear), the side lines from column 45
// of rows 0..20 and the bottom lines on rows 21..23.
std::string Board(const Position& position, Point last, const std::vector<std::string>& side,
                  const std::vector<std::string>& bottom);
// One point drawn again, as a single-stone update.
std::string PointUpdate(const Position& position, Point point, Point last);
// A line of text at a screen row and column, the rest of the row erased.
std::string TextLine(int row, int column, const std::string& text);

// A game drawn a move at a time: the stone goes down as the new last move, the previous last
// move is drawn again in colour and the captured stones are taken off.
class Game {
public:
    std::string Play(Point point, uint8_t stone, const std::vector<Point>& captures = {});
    const Position& Stones() const { return position_; }
    Point Last() const { return last_; }

private:
    Position position_{};
    Point last_;
};

}  // namespace GoScreen
