#pragma once
// The Go board document: the position an online Go service draws in text, rebuilt from the
// characters the terminal puts on its screen, with the move numbers, the last move, the move
// list for the record and the text the service draws beside and below the board.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "term/TWView.h"

class CBadukDoc {
public:
    static constexpr int kSize = 19;
    static constexpr int kSideLines = 21, kSideWidth = 46;
    static constexpr int kBottomLines = 3, kBottomWidth = 81;
    static constexpr uint8_t kEmpty = 0, kBlack = 1, kWhite = 2;
    // The character callback's flag that asks for the rest of the row to be blanked.
    static constexpr int kEraseFlag = 2;

    // Sets the global pointer; the destructor clears it. One document at a time.
    explicit CBadukDoc(int serviceIndex = 0);
    ~CBadukDoc();
    CBadukDoc(const CBadukDoc&) = delete;
    CBadukDoc& operator=(const CBadukDoc&) = delete;
    static CBadukDoc* Current();

    // A character the terminal put at cell: flag 0 or 1 as the terminal gives it, or kEraseFlag.
    // The point (-1, -1) is handled by the caller, which closes the document.
    void OnChar(TWPoint cell, int flag, const uint8_t* bytes, int count);
    // The terminal erased from cell to the end of its row.
    void Baduk2EOL(TWPoint cell);
    // An empty board, no moves, blank text.
    void NewDocument();

    int ServiceIndex() const { return serviceIndex_; }
    void SetServiceIndex(int index) { serviceIndex_ = index; }
    uint8_t StoneAt(int column, int row) const { return board_[column][row]; }
    int MoveNumber(int column, int row) const { return numbers_[column][row]; }
    int MoveCounter() const { return counter_; }
    TWPoint LastMove() const { return lastMove_; }
    const std::vector<std::string>& Moves() const { return moves_; }
    bool Modified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }
    // CP949 text lines of the service's side and bottom areas (spaces when blank).
    const std::string& SideLine(int i) const { return side_[i]; }
    const std::string& BottomLine(int i) const { return bottom_[i]; }

    // Told of every point whose look changed, to repaint its square.
    std::function<void(int column, int row)> pointChanged;
    // Told when a side or bottom line was written, to refill the panes.
    std::function<void()> textChanged;

private:
    void placeStone(int column, int row, uint8_t stone);
    void setLastMove(int column, int row);
    void writeText(int x, int y, const uint8_t* bytes, int count);
    void notePoint(int column, int row) {
        if (pointChanged) pointChanged(column, row);
    }
    void noteText() {
        if (textChanged) textChanged();
    }

    int serviceIndex_;
    uint8_t board_[kSize][kSize] = {};
    int32_t numbers_[kSize][kSize] = {};
    int32_t counter_ = 0;
    TWPoint lastMove_{-1, -1};
    std::vector<std::string> moves_;
    std::array<std::string, kSideLines> side_;
    std::array<std::string, kBottomLines> bottom_;
    bool modified_ = false;
};
