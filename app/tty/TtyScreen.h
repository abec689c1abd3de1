#pragma once
// Draws the terminal's screen into a host terminal as escape sequences: CP949 text as UTF-8,
// the line plane and the DEC graphics codes as Unicode box characters, the 16 colours, and a
// status line below. It remembers what the host shows and writes only cells that changed; a
// double-byte character always covers exactly two host cells, whatever width the host gives
// its Unicode form: on a host that draws the symbols one cell wide, a box character's right arm
// is carried on into its second cell so that lines join, and other symbols are followed by a
// blank. Needs a UTF-8 LC_CTYPE for the widths.
#include <cstdint>
#include <string>
#include <vector>

#include "term/TWView.h"

// A line of text drawn over the screen (UTF-8), highlighted in reverse video or not.
struct TtyTextLine {
    std::string text;
    bool highlighted = false;
};

struct TtyFrame {
    const TWView* view = nullptr;
    int topRow = 0;  // logical row shown on host line 0
    int rows = 0;    // view rows: the frame takes rows + 1 host lines
    // UTF-8 lines; the last goes on the line below the rows, earlier ones over the rows above
    // it (a long question).
    std::vector<std::string> status;
    int width = 80;  // host columns
    // When not empty: lines drawn in place of the rows (a list over the screen); the rows come
    // back cell for cell once it is empty again.
    std::vector<TtyTextLine> overlay;
    bool caretShown = false;
    TWPoint caret;  // host cell of the caret
};

// Display cells of UTF-8 text in the host terminal.
int DisplayWidth(const std::string& utf8);
// The longest start of the text that fits `cells`, padded with blanks to exactly that width.
std::string FitToWidth(const std::string& utf8, int cells);
// Removes the last character of UTF-8 text with its continuation bytes (Backspace).
void DropLastCharacter(std::string& utf8);
// A button's text as the status line shows it: "걸기(&D)" as "걸기", a line break as a blank.
std::string WithoutMnemonic(std::string text);
// The text cut into lines of at most `cells` cells, also at each "\n".
std::vector<std::string> WrapToWidth(const std::string& utf8, int cells);

class TtyScreen {
public:
    // The next Render draws everything (after a resize, a stop, or a message over the screen).
    void Invalidate();
    // Whether the host draws the symbols of the Korean code (box drawing, Greek, ...) two cells
    // wide, as measured at start-up; they are then sent alone, one character for two cells.
    void SetWideSymbols(bool wide) {
        wideSymbols_ = wide;
        Invalidate();
    }
    std::string Render(const TtyFrame& frame);
    // A message alone on a cleared host screen (the terminal is too small), wrapped to width.
    std::string RenderMessage(const std::string& utf8, int width);

private:
    struct Cell {
        std::string glyph;  // UTF-8; empty for the second half of a double-width character
        uint8_t attr = 0;
        uint8_t width = 1;  // 1, 2 (first half), 0 (second half)
        bool operator==(const Cell&) const = default;
    };
    using Row = std::vector<Cell>;

    Row buildRow(const TWView& view, int logicalRow) const;
    static Row textRow(const TtyTextLine& line);
    void drawRow(int line, const Row& row, std::string& out);
    void drawCell(int line, int x, const Row& row, std::string& out);
    void moveTo(int line, int x, std::string& out);
    void setAttr(uint8_t attr, std::string& out);

    std::vector<Row> shown_;                // the rows the host shows, by host line
    std::vector<std::string> shownStatus_;  // status text the host shows, by host line
    int shownWidth_ = -1;
    bool wideSymbols_ = false;
    bool cursorKnown_ = false;
    int cursorLine_ = 0, cursorX_ = 0;
    int attr_ = -1;  // -1: not known
    bool caretShown_ = false;
    TWPoint caretAt_;
};
