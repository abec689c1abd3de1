#pragma once
// The terminal window's memory: an 818-row ring holding the screen (its bottom rows) and the
// scroll-back above it, in a character plane, an attribute plane, a line-drawing plane and a
// flag per row, with the cursor and every editing operation the interpreter uses. A window that
// shows the buffer derives from this class and acts on the notifications; here they do nothing.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "term/HighlightList.h"
#include "term/TWRowRing.h"

struct TWPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TWPoint&) const = default;
};

class TWView {
public:
    static constexpr int kColumns = 80;
    static constexpr int kRingRows = 818;
    static constexpr int kMaxRows = 99;
    static constexpr size_t kMaxLineText = 512;

    // Called for each character written: the cell, whether the attribute differs from the
    // default one, and the one or two bytes; the point (-1, -1) with no bytes ends a board.
    using CharObserver =
        std::function<void(TWPoint cell, bool attrDiffers, const uint8_t* bytes, int count)>;
    // Sees every byte handed to the screen before it is processed, a run at a time.
    using DisplayTap = std::function<void(const uint8_t* bytes, int n)>;

    explicit TWView(Clock& clock = Clock::steady());
    virtual ~TWView() = default;
    TWView(const TWView&) = delete;
    TWView& operator=(const TWView&) = delete;

    // Displayed text, one byte at a time; double-byte pairs are assembled here.
    void PutByte(uint8_t b);
    // Displayed text without control codes (every byte 0x20 or above), as PutByte one at a time
    // would show it; single-byte runs are stored a row piece at a time.
    void PutText(const uint8_t* bytes, int n);
    // True while a lead byte waits for its second byte at the cursor.
    bool LeadPendingAtCursor() const;

    // Cursor. MoveTo and GetPosition use the interpreter's 1-based coordinates.
    void MoveTo(int x, int y);
    void CursorUp(int n);
    void CursorDown(int n);
    void CursorRight(int n);
    void CursorLeft(int n);
    TWPoint GetPosition() const;
    // Column 0 of the next row, scrolling at the region's bottom.
    void NewLine();

    void ScrollUp(int n);
    void ScrollDown(int n);
    void SetRegion(int top, int bottom);
    void SetOrigin(int x, int y);

    void SetTabStop();
    void ClearTabStop();
    void ClearAllTabStops();
    void ResetTabStops();
    void Tab();

    void EraseToEndOfScreen();
    void EraseToStartOfScreen();
    void ClearScreen();
    void EraseToEndOfLine();
    void EraseToStartOfLine();
    void EraseRect(int left, int top, int right, int bottom);
    void InsertLines(int n);
    void DeleteLines(int n);
    void InsertBlanks(int n);
    void DeleteChars(int n);
    void EraseChars(int n);

    void SetColors(int fg, int bg);
    void GetColors(int& fg, int& bg) const;
    // The reset colours (white on blue when the view is created): the highlight colours and
    // what a colour restore returns to.
    void SetDefaultColors(int fg, int bg);
    void SetBold(bool on);
    void SetReverse(bool on);
    void SetConceal(bool on);

    void SetRowFlag(int value);
    void DrawBox(int width, int height);
    void ShowCaret();
    void HideCaret();
    // Rings unless a Go board is on screen or the previous bell was under 10 ms ago.
    void Bell();

    // Where a picture sent by the host is placed (0-based column and row).
    void SetImageAnchor(int column, int row) { imageAnchor_ = {column, row}; }
    TWPoint ImageAnchor() const { return imageAnchor_; }

    void SetJohabDisplay(bool on) { johabDisplay_ = on; }
    bool JohabDisplay() const { return johabDisplay_; }
    void SetCharObserver(CharObserver observer) { charObserver_ = std::move(observer); }
    void SetDisplayTap(DisplayTap tap) { displayTap_ = std::move(tap); }
    void SetHighlightText(std::string_view text) { highlights_.SetText(text); }
    std::string HighlightText() const { return highlights_.Text(); }

    bool BoardInProgress() const { return boardInProgress_; }
    // Tells the observer the board is gone, drops it and clears the in-progress mark.
    void EndBoard();

    // Text of the current line as it arrives (at most 512 bytes), offered at line ends.
    std::string_view PendingLine() const { return {pendingLine_, pendingLength_}; }
    // While on, what is written is the program's own text, kept out of the line pipeline: it
    // joins no pending line and offers none, so the host's pending line waits as it was.
    void SetLocalOutput(bool on) { localOutput_ = on; }
    void ClearPendingLine() {
        pendingLength_ = 0;
        pendingCut_ = false;
    }
    // Recolours every row that holds the pending line's text (an 80-column line may already
    // have moved the cursor to the next row): colour 0-15 sets the foreground of each cell,
    // -2 swaps foreground and background.
    void RecolourPendingLine(int colour);
    // Has the window repaint the whole screen.
    void RedrawAll() { invalidateAll(); }

    int Rows() const { return rows_; }
    void SetRows(int rows);
    // A window resize to `rows` (clamped to 1..99) that keeps the text with the cursor: rows
    // under the cursor go first and rows come back from the history first; the cursor row stays
    // on the screen and the region's bottom follows the last row.
    void ResizeRows(int rows);
    // Logical row of screen row 0; the rows above it are the history.
    int ScreenTop() const { return kRingRows - rows_; }
    // Rows pushed into the history so far (at most ScreenTop()).
    int HistoryRows() const { return historyRows_; }
    int ScrolledSinceClear() const { return scrolledSinceClear_; }
    TWPoint Cursor() const { return {cursorX_, cursorY_}; }
    int RegionTop() const { return regionTop_; }
    int RegionBottom() const { return regionBottom_; }
    uint8_t Attribute() const { return attr_; }
    uint8_t DefaultAttribute() const { return defaultAttr_; }
    bool CaretVisible() const { return caretVisible_; }

    // The 80 bytes of a logical row (0 = oldest history row) in each plane, and its flag.
    const uint8_t* CharRow(int row) const { return chars_.Row(row); }
    const uint8_t* AttrRow(int row) const { return attrs_.Row(row); }
    const uint8_t* LineRow(int row) const { return lines_.Row(row); }
    uint8_t RowFlag(int row) const { return flags_.Row(row)[0]; }

    // Screen cells changed since ClearDamage, for the window to repaint: everything, or per row
    // the first and last column (RowDamage is false for a clean row).
    bool DamagedAll() const { return damageAll_; }
    bool RowDamage(int y, int& first, int& last) const;
    void ClearDamage();

    // Line pipeline: called with false when a line ends (CR, LF, cursor positioning); the
    // session calls it with true when input pauses inside a line.
    virtual void OnLineReady(bool /*partial*/) {}
    // The host asks the input method for Hangul (true) or alphanumeric input.
    virtual void SetHangulInputMode(bool /*on*/) {}

protected:
    virtual void OnBell() {}
    virtual void OnScreenCleared() {}
    virtual void OnHighlight() {}
    virtual void OnCaretChanged() {}
    // The first change after ClearDamage: the window schedules a repaint and reads the damage.
    virtual void OnDamaged() {}
    // The text of every logical row moved `rows` rows up the ring (down when negative), so that
    // what the window marks by logical row (a selection) can follow it.
    virtual void OnTextShifted(int /*rows*/) {}
    // A Go board frame appeared at the top of the screen.
    virtual void OnBoardRecognised() {}
    // The line was erased to its end while a Go board is on screen.
    virtual void OnBoardEraseToEndOfLine(TWPoint /*cursor*/) {}

private:
    uint8_t* charsAt(int y) { return chars_.Row(ScreenTop() + y); }
    uint8_t* attrsAt(int y) { return attrs_.Row(ScreenTop() + y); }
    uint8_t* linesAt(int y) { return lines_.Row(ScreenTop() + y); }
    bool isTrailHalf(int y, int x) const;

    void putByteAssembled(uint8_t b);
    void putSingle(uint8_t b);
    int putSingleRun(const uint8_t* bytes, int n);
    void notifyRun(const uint8_t* bytes, int run);
    void holdLead(uint8_t b);
    void writeLoneLead();
    void writePair(uint8_t lead, uint8_t trail);
    void writeCell(uint8_t b);
    bool actOnControl(uint8_t b);
    void storeCells(int x, int y, const uint8_t* bytes, int n);
    void blankOrphanLead(int y, int x);
    void advance();
    void lineAdvance();
    void drawLineCode(int x, int y, char code, bool keepCorners);
    void checkBoardFrame();
    void checkHighlights();
    void offerLine();
    void appendPending(char c, int y) {
        if (localOutput_ || pendingCut_ || pendingLength_ >= kMaxLineText) return;
        const int row = ScreenTop() + y;
        if (pendingLength_ == 0) pendingFirstRow_ = pendingLastRow_ = row;
        pendingFirstRow_ = std::min(pendingFirstRow_, row);
        pendingLastRow_ = std::max(pendingLastRow_, row);
        pendingLine_[pendingLength_++] = c;
    }

    void invalidate(int y, int first, int last) {
        if (first < damageFirst_[y]) damageFirst_[y] = static_cast<int8_t>(first);
        if (last > damageLast_[y]) damageLast_[y] = static_cast<int8_t>(last);
        if (!damaged_) noteDamage();
    }
    void invalidateAll() {
        damageAll_ = true;
        if (!damaged_) noteDamage();
    }
    void noteDamage();

    void blankCells(int y, int first, int last);
    void blankRow(int logicalRow);
    void moveRow(int toLogical, int fromLogical);
    void advanceRing(int n);
    void scrollRegionUpOnce();
    void composeAttribute();

    Clock& clock_;
    TWRowRing chars_{kRingRows, kColumns, ' '};
    TWRowRing attrs_{kRingRows, kColumns, 0x1F};
    TWRowRing lines_{kRingRows, kColumns, ' '};
    TWRowRing flags_{kRingRows, 1, 0};

    int rows_ = 25;
    int historyRows_ = 0;
    int scrolledSinceClear_ = 0;
    int cursorX_ = 0, cursorY_ = 0;
    int originX_ = 1, originY_ = 1;
    int regionTop_ = 0, regionBottom_ = 24;
    bool justWrapped_ = false;
    bool storedSinceClear_ = false;

    uint8_t attr_ = 0x1F;
    uint8_t defaultAttr_ = 0x1F;
    int fg_ = 15, bg_ = 1;
    bool reverse_ = false, bold_ = false, conceal_ = false;

    bool leadPending_ = false;
    bool leadMoved_ = false;
    uint8_t lead_ = 0;
    TWPoint leadPos_;
    bool lastPairLineSymbol_ = false;

    uint8_t tabStops_[kColumns] = {};
    bool johabDisplay_ = false;
    bool boardInProgress_ = false;
    bool caretVisible_ = true;
    bool bellRung_ = false;
    int64_t lastBellMs_ = 0;
    TWPoint imageAnchor_;

    bool damaged_ = false;
    bool damageAll_ = false;
    int8_t damageFirst_[kMaxRows];
    int8_t damageLast_[kMaxRows];

    CharObserver charObserver_;
    DisplayTap displayTap_;
    HighlightList highlights_;
    char pendingLine_[kMaxLineText];
    size_t pendingLength_ = 0;
    int pendingFirstRow_ = 0, pendingLastRow_ = 0;  // logical rows, following scrolls
    bool pendingCut_ = false;  // a character did not fit: the rest of the line is not kept
    bool localOutput_ = false;
};
