#include "baduk/BadukDoc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

CBadukDoc* current = nullptr;

// "●" and "○" in CP949.
constexpr uint8_t kBlackSymbol[] = {0xA1, 0xDC};
constexpr uint8_t kWhiteSymbol[] = {0xA1, 0xDB};

bool isSymbol(const uint8_t* bytes, int count, const uint8_t (&symbol)[2]) {
    return count >= 2 && bytes[0] == symbol[0] && bytes[1] == symbol[1];
}

}  // namespace

CBadukDoc::CBadukDoc(int serviceIndex) : serviceIndex_(serviceIndex) {
    current = this;
    NewDocument();
}

CBadukDoc::~CBadukDoc() {
    if (current == this) current = nullptr;
}

CBadukDoc* CBadukDoc::Current() {
    return current;
}

void CBadukDoc::NewDocument() {
    std::memset(board_, 0, sizeof board_);
    std::memset(numbers_, 0, sizeof numbers_);
    counter_ = 0;
    lastMove_ = {-1, -1};
    moves_.clear();
    modified_ = false;
    for (auto& line : side_)
        line.assign(kSideWidth, ' ');
    for (auto& line : bottom_)
        line.assign(kBottomWidth, ' ');
}

// The erase request of flag 2 holds for this call only: kept, every later character would
// blank its row.
void CBadukDoc::OnChar(TWPoint cell, int flag, const uint8_t* bytes, int count) {
    bool erase = flag == kEraseFlag;
    if (erase) flag = 0;
    int x = cell.x, y = cell.y;
    if (x < 0 || y < 0 || x > 79 || count < 1 || bytes[0] < 0x20) return;
    int column = (x - 3) / 2, row = y - 1;
    bool onBoard = x >= 3 && (x - 3) % 2 == 0 && column < kSize && row >= 0 && row < kSize;
    if (onBoard && !erase) {
        bool swap = flag == 0;
        uint8_t stone = isSymbol(bytes, count, kWhiteSymbol)   ? kWhite
                        : isSymbol(bytes, count, kBlackSymbol) ? kBlack
                                                               : kEmpty;
        if (swap && stone != kEmpty) stone = stone == kWhite ? kBlack : kWhite;
        placeStone(column, row, stone);
        if (swap && stone != kEmpty) setLastMove(column, row);
        return;
    }
    if (erase) {
        for (int i = x; i < 80; ++i)
            writeText(i, y, reinterpret_cast<const uint8_t*>(" "), 1);
    } else {
        writeText(x, y, bytes, count);
    }
}

void CBadukDoc::placeStone(int column, int row, uint8_t stone) {
    if (board_[column][row] == stone) return;
    board_[column][row] = stone;
    if (stone != kEmpty) {
        numbers_[column][row] = ++counter_;
        char entry[8];
        std::snprintf(entry, sizeof entry, "%c[%c%c]", stone == kBlack ? 'B' : 'W', 'a' + column,
                      'a' + row);
        moves_.push_back(entry);
        modified_ = true;
    }
    notePoint(column, row);
}

void CBadukDoc::setLastMove(int column, int row) {
    TWPoint previous = lastMove_;
    lastMove_ = {column, row};
    if (previous.x >= 0) notePoint(previous.x, previous.y);
    notePoint(column, row);
}

// Every byte is checked against its line, so a pair at the last column keeps only its lead.
void CBadukDoc::writeText(int x, int y, const uint8_t* bytes, int count) {
    std::string* line = nullptr;
    int at = 0;
    if (y >= 21 && y <= 23) {
        line = &bottom_[y - 21];
        at = x;
    } else if (y <= 20 && x >= 45) {
        line = &side_[y];
        at = x - 45;
    }
    if (!line) return;
    for (int i = 0; i < count && i < 2 && at + i < static_cast<int>(line->size()); ++i)
        (*line)[at + i] = static_cast<char>(bytes[i]);
    noteText();
}

void CBadukDoc::Baduk2EOL(TWPoint cell) {
    int x = cell.x, y = cell.y;
    if (x < 0 || y < 0) return;
    if (y >= 21 && y <= 23) {
        std::string& line = bottom_[y - 21];
        for (int i = std::min(x, kBottomWidth); i < kBottomWidth; ++i)
            line[i] = ' ';
    } else if (y <= 20 && x > 44) {
        std::string& line = side_[y];
        for (int i = std::min(x - 45, kSideWidth); i < kSideWidth; ++i)
            line[i] = ' ';
    } else {
        return;
    }
    noteText();
}
