#include "tools/demohost/GoScreen.h"

#include "tools/demohost/PlainColours.h"

namespace GoScreen {

namespace {

// The board hands a character over as the last move only when its attribute is the default one.
const char kDefault[] = DEMO_PLAIN;
const char kStoneColour[] = "\x1b[7m";   // any attribute but the default one
const char kBlackSymbol[] = "\xA1\xDC";  // "●"
const char kWhiteSymbol[] = "\xA1\xDB";  // "○"

std::string moveTo(int row, int column) {
    return "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(column + 1) + "H";
}

// The box-drawing symbol of an empty point: corners, edges, crossings.
const char* gridSymbol(int column, int row) {
    static const char* const symbols[3][3] = {
        {"\xA6\xA3", "\xA6\xA8", "\xA6\xA4"},  // ┌ ┬ ┐
        {"\xA6\xA7", "\xA6\xAB", "\xA6\xA9"},  // ├ ┼ ┤
        {"\xA6\xA6", "\xA6\xAA", "\xA6\xA5"},  // └ ┴ ┘
    };
    auto band = [](int i) { return i == 0 ? 0 : i == kSize - 1 ? 2 : 1; };
    return symbols[band(row)][band(column)];
}

std::string pointText(const Position& position, int column, int row, bool last) {
    uint8_t stone = position[column][row];
    if (stone == kEmpty) return gridSymbol(column, row);
    bool black = stone == kBlack;
    if (last) return std::string(kDefault) + (black ? kWhiteSymbol : kBlackSymbol);
    return std::string(kStoneColour) + (black ? kBlackSymbol : kWhiteSymbol) + kDefault;
}

bool isLast(Point last, int column, int row) {
    return last.column == column && last.row == row;
}

}  // namespace

std::string Board(const Position& position, Point last, const std::vector<std::string>& side,
                  const std::vector<std::string>& bottom) {
    std::string out = std::string(kDefault) + moveTo(0, 0) + "  ";
    for (int column = 0; column < kSize; ++column)
        out += std::string(" ") + static_cast<char>('A' + column);
    for (int row = 0; row < kSize; ++row) {
        char label[16];
        std::snprintf(label, sizeof label, "%2d ", row + 1);
        out += moveTo(row + 1, 0) + label;
        for (int column = 0; column < kSize; ++column) {
            out += pointText(position, column, row, isLast(last, column, row));
            out += kDefault;
        }
    }
    for (size_t i = 0; i < side.size() && i <= 20; ++i)
        out += TextLine(static_cast<int>(i), 45, side[i]);
    for (size_t i = 0; i < bottom.size() && i < 3; ++i)
        out += TextLine(21 + static_cast<int>(i), 0, bottom[i]);
    return out;
}

std::string PointUpdate(const Position& position, Point point, Point last) {
    return moveTo(point.row + 1, point.column * 2 + 3) +
           pointText(position, point.column, point.row, isLast(last, point.column, point.row)) +
           kDefault;
}

std::string TextLine(int row, int column, const std::string& text) {
    return moveTo(row, column) + text + "\x1b[K";
}

std::string Game::Play(Point point, uint8_t stone, const std::vector<Point>& captures) {
    Point previous = last_;
    position_[point.column][point.row] = stone;
    last_ = point;
    std::string out;
    if (previous.column >= 0) out += PointUpdate(position_, previous, last_);
    out += PointUpdate(position_, point, last_);
    for (Point taken : captures) {
        position_[taken.column][taken.row] = kEmpty;
        out += PointUpdate(position_, taken, last_);
    }
    return out;
}

}  // namespace GoScreen
