// Scrolling, erasing, line and character editing, and line-plane drawing of the screen buffer.
// Every operation is clipped to the screen; none of them wraps, scrolls by accident or moves
// the cursor unless it says so.
#include <algorithm>
#include <cstring>

#include "term/TWView.h"

// ---------------------------------------------------------------------------------------------
// Row helpers (logical rows of the ring)

void TWView::blankCells(int y, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, kColumns - 1);
    if (last < first) return;
    std::memset(charsAt(y) + first, ' ', last - first + 1);
    std::memset(attrsAt(y) + first, attr_, last - first + 1);
    std::memset(linesAt(y) + first, ' ', last - first + 1);
    invalidate(y, first, last);
}

void TWView::blankRow(int logicalRow) {
    chars_.FillRow(logicalRow, ' ');
    attrs_.FillRow(logicalRow, attr_);
    lines_.FillRow(logicalRow, ' ');
    flags_.FillRow(logicalRow, 0);
}

void TWView::moveRow(int toLogical, int fromLogical) {
    chars_.CopyRow(toLogical, fromLogical);
    attrs_.CopyRow(toLogical, fromLogical);
    lines_.CopyRow(toLogical, fromLogical);
    flags_.CopyRow(toLogical, fromLogical);
}

void TWView::advanceRing(int n) {
    const int turn = (n % kRingRows + kRingRows) % kRingRows;
    chars_.Advance(turn);
    attrs_.Advance(turn);
    lines_.Advance(turn);
    flags_.Advance(turn);
    pendingFirstRow_ -= n;
    pendingLastRow_ -= n;
    OnTextShifted(n);
}

// ---------------------------------------------------------------------------------------------
// Scrolling

void TWView::ScrollUp(int n) {
    if (n <= 0) return;
    n = std::min(n, kRingRows);  // past that the whole ring is blank anyway
    if (regionTop_ == 0 && regionBottom_ == rows_ - 1) {
        // The whole screen: the ring turns, the top rows become the newest history.
        advanceRing(n);
        for (int r = kRingRows - n; r < kRingRows; ++r)
            blankRow(r);
        scrolledSinceClear_ = std::min(scrolledSinceClear_ + n, 1 << 30);
    } else {
        for (int i = 0; i < n; ++i)
            scrollRegionUpOnce();
    }
    historyRows_ = std::min(historyRows_ + n, ScreenTop());
    invalidateAll();
}

// The line leaving the region's top becomes the newest history row; the rows outside the region
// stay. The ring turns by one (which moves the history for free) and the screen rows that must
// not move are put back.
void TWView::scrollRegionUpOnce() {
    const int top = ScreenTop();
    advanceRing(1);
    // Screen row k now sits at logical row top - 1 + k.
    uint8_t saved[4][kColumns];
    std::memcpy(saved[0], chars_.Row(top - 1 + regionTop_), kColumns);
    std::memcpy(saved[1], attrs_.Row(top - 1 + regionTop_), kColumns);
    std::memcpy(saved[2], lines_.Row(top - 1 + regionTop_), kColumns);
    saved[3][0] = flags_.Row(top - 1 + regionTop_)[0];
    for (int k = regionTop_ - 1; k >= 0; --k)
        moveRow(top + k, top - 1 + k);
    for (int k = rows_ - 1; k > regionBottom_; --k)
        moveRow(top + k, top - 1 + k);
    std::memcpy(chars_.Row(top - 1), saved[0], kColumns);
    std::memcpy(attrs_.Row(top - 1), saved[1], kColumns);
    std::memcpy(lines_.Row(top - 1), saved[2], kColumns);
    flags_.Row(top - 1)[0] = saved[3][0];
    blankRow(top + regionBottom_);
}

void TWView::ScrollDown(int n) {
    if (n <= 0) return;
    const int top = ScreenTop();
    n = std::min(n, regionBottom_ - regionTop_ + 1);
    for (int y = regionBottom_; y >= regionTop_ + n; --y)
        moveRow(top + y, top + y - n);
    for (int y = regionTop_; y < regionTop_ + n; ++y)
        blankRow(top + y);
    scrolledSinceClear_ = std::max(0, scrolledSinceClear_ - n);
    invalidateAll();
}

void TWView::SetRegion(int top, int bottom) {
    if (top < 1) top = 1;
    if (bottom < 1 || bottom > rows_) bottom = rows_;
    if (top > bottom) top = bottom;
    regionTop_ = top - 1;
    regionBottom_ = bottom - 1;
}

// ---------------------------------------------------------------------------------------------
// Erasing

void TWView::EraseToEndOfScreen() {
    // From home this is a clear, so the old page goes to the history.
    if (cursorX_ == 0 && cursorY_ == 0) {
        ClearScreen();
        return;
    }
    blankCells(cursorY_, cursorX_, kColumns - 1);
    for (int y = cursorY_ + 1; y < rows_; ++y)
        blankRow(ScreenTop() + y);
    invalidateAll();
}

void TWView::EraseToStartOfScreen() {
    for (int y = 0; y < cursorY_; ++y)
        blankRow(ScreenTop() + y);
    blankCells(cursorY_, 0, cursorX_);
    invalidateAll();
}

void TWView::ClearScreen() {
    if (storedSinceClear_) {
        int top = regionTop_, bottom = regionBottom_;
        regionTop_ = 0;
        regionBottom_ = rows_ - 1;
        ScrollUp(rows_);
        regionTop_ = top;
        regionBottom_ = bottom;
    } else {
        for (int y = 0; y < rows_; ++y)
            blankRow(ScreenTop() + y);
    }
    cursorX_ = cursorY_ = 0;
    justWrapped_ = false;
    scrolledSinceClear_ = 0;
    storedSinceClear_ = false;
    leadPending_ = false;  // a lone lead byte has no place on the new page
    invalidateAll();
    OnScreenCleared();
}

void TWView::EraseToEndOfLine() {
    blankCells(cursorY_, cursorX_, kColumns - 1);
    if (boardInProgress_) OnBoardEraseToEndOfLine({cursorX_, cursorY_});
}

void TWView::EraseToStartOfLine() {
    blankCells(cursorY_, 0, cursorX_);
}

void TWView::EraseRect(int left, int top, int right, int bottom) {
    int y0 = std::max(top - originY_, 0), y1 = std::min(bottom - originY_, rows_ - 1);
    for (int y = y0; y <= y1; ++y)
        blankCells(y, left - originX_, right - originX_);
}

// ---------------------------------------------------------------------------------------------
// Line and character editing (the scrolling region is not consulted)

void TWView::InsertLines(int n) {
    if (n <= 0) return;
    const int top = ScreenTop();
    n = std::min(n, rows_ - cursorY_);
    for (int y = rows_ - 1; y >= cursorY_ + n; --y)
        moveRow(top + y, top + y - n);
    for (int y = cursorY_; y < cursorY_ + n; ++y)
        blankRow(top + y);
    invalidateAll();
}

void TWView::DeleteLines(int n) {
    if (n <= 0) return;
    const int top = ScreenTop();
    n = std::min(n, rows_ - cursorY_);
    for (int y = cursorY_; y + n < rows_; ++y)
        moveRow(top + y, top + y + n);
    for (int y = rows_ - n; y < rows_; ++y)
        blankRow(top + y);
    invalidateAll();
}

void TWView::InsertBlanks(int n) {
    if (n <= 0) return;
    n = std::min(n, kColumns - cursorX_);
    int keep = kColumns - cursorX_ - n;
    for (uint8_t* plane : {charsAt(cursorY_), attrsAt(cursorY_), linesAt(cursorY_)}) {
        std::memmove(plane + cursorX_ + n, plane + cursorX_, keep);
    }
    blankCells(cursorY_, cursorX_, cursorX_ + n - 1);
    invalidate(cursorY_, cursorX_, kColumns - 1);
}

void TWView::DeleteChars(int n) {
    if (n <= 0) return;
    n = std::min(n, kColumns - cursorX_);
    int keep = kColumns - cursorX_ - n;
    for (uint8_t* plane : {charsAt(cursorY_), attrsAt(cursorY_), linesAt(cursorY_)}) {
        std::memmove(plane + cursorX_, plane + cursorX_ + n, keep);
    }
    blankCells(cursorY_, kColumns - n, kColumns - 1);
    invalidate(cursorY_, cursorX_, kColumns - 1);
}

void TWView::EraseChars(int n) {
    if (n <= 0) return;
    blankCells(cursorY_, cursorX_, cursorX_ + std::min(n, kColumns) - 1);
}

// ---------------------------------------------------------------------------------------------
// Line-plane drawing

// Draws a box-line code over a cell. Half characters around it are blanked; with keepCorners a
// straight line does not overwrite a code already there, so corners survive lines crossing them.
void TWView::drawLineCode(int x, int y, char code, bool keepCorners) {
    uint8_t* chars = charsAt(y);
    uint8_t* lines = linesAt(y);
    bool leftHalfBroken = isTrailHalf(y, x);
    bool rightHalfBroken = x + 1 < kColumns && isTrailHalf(y, x + 1);
    if (leftHalfBroken) chars[x - 1] = ' ';
    if (rightHalfBroken) chars[x + 1] = ' ';
    chars[x] = ' ';
    bool straight = code == '-' || code == '|';
    if (!(keepCorners && straight && lines[x] != ' ')) lines[x] = static_cast<uint8_t>(code);
    uint8_t& attr = attrsAt(y)[x];
    attr = static_cast<uint8_t>((attr & 0xF0) | (attr_ & 0x0F));
    storedSinceClear_ = true;
    invalidate(y, std::max(x - 1, 0), std::min(x + 1, kColumns - 1));
}

void TWView::DrawBox(int width, int height) {
    if (width < 1 || height < 1) return;
    const int x0 = cursorX_, y0 = cursorY_;
    const int x1 = x0 + width - 1, y1 = y0 + height - 1;
    auto draw = [&](int x, int y, char code) {
        if (x < kColumns && y < rows_) drawLineCode(x, y, code, true);
    };
    for (int x = x0; x <= std::min(x1, kColumns - 1); ++x) {
        draw(x, y0, '-');
        draw(x, y1, '-');
    }
    for (int y = y0; y <= std::min(y1, rows_ - 1); ++y) {
        draw(x0, y, '|');
        draw(x1, y, '|');
    }
    if (width > 1 && height >= 2) {
        draw(x0, y0, 'S');
        draw(x0, y1, 's');
        draw(x1, y0, 'r');
        draw(x1, y1, 'R');
    }
}
