// Text output, cursor, attributes and the hooks of the screen buffer. Scrolling, erasing and
// editing live in TWViewEdit.cpp.
#include "term/TWView.h"

#include <algorithm>
#include <cstring>

#include "platform/Cp949Layout.h"
#include "term/CellHalves.h"
#include "term/HangulCodes.h"
#include "term/SymbolRemap.h"

namespace {

constexpr uint8_t BS = 0x08, HT = 0x09, LF = 0x0A, CR = 0x0D;

// Bold shows the dark colours bright and dark grey as light grey.
constexpr uint8_t kBoldColor[16] = {8, 9, 10, 11, 12, 13, 14, 15, 7, 9, 10, 11, 12, 13, 14, 15};

}  // namespace

TWView::TWView(Clock& clock) : clock_(clock) {
    ResetTabStops();
    ClearDamage();
}

// ---------------------------------------------------------------------------------------------
// Text

// The path of every byte shown: its helpers are inlined into it.
void TWView::PutByte(uint8_t b) {
    if (displayTap_) displayTap_(&b, 1);
    putByteAssembled(b);
    if (!highlights_.Empty()) checkHighlights();
}

void TWView::PutText(const uint8_t* bytes, int n) {
    if (!highlights_.Empty()) {
        for (int i = 0; i < n; ++i)
            PutByte(bytes[i]);
        return;
    }
    if (displayTap_) displayTap_(bytes, n);
    for (int i = 0; i < n;) {
        if (!leadPending_ && bytes[i] < 0x80) {
            i += putSingleRun(bytes + i, n - i);
        } else {
            putByteAssembled(bytes[i++]);
        }
    }
}

// Stores the single-byte characters at the start of `bytes` up to the right margin; returns how
// many. Only the first can land on the right half of a pair: the others follow a single byte.
int TWView::putSingleRun(const uint8_t* bytes, int n) {
    int run = 1;
    const int room = kColumns - cursorX_;
    while (run < n && run < room && bytes[run] < 0x80)
        ++run;
    blankOrphanLead(cursorY_, cursorX_);
    if (charObserver_) notifyRun(bytes, run);
    storeCells(cursorX_, cursorY_, bytes, run);
    cursorX_ += run - 1;
    advance();
    return run;
}

// Tells the observer of each character of a run in the row, as putSingle does one at a time.
void TWView::notifyRun(const uint8_t* bytes, int run) {
    const bool attrDiffers = attr_ != defaultAttr_;
    for (int i = 0; i < run && charObserver_; ++i)
        charObserver_({cursorX_ + i, cursorY_}, attrDiffers, bytes + i, 1);
}

[[gnu::flatten]] void TWView::putByteAssembled(uint8_t b) {
    if (!leadPending_) {
        if (b >= 0x80) {
            holdLead(b);
        } else {
            putSingle(b);
        }
    } else {
        leadPending_ = false;
        bool atLead = !leadMoved_ && leadPos_ == TWPoint{cursorX_, cursorY_};
        bool pairs = b >= 0x80 || IsCp949Pair(lead_, b) || (johabDisplay_ && b >= 0x31);
        if (atLead && pairs) {
            writePair(lead_, b);
        } else if (atLead) {
            writeCell(lead_);
            putSingle(b);
        } else {
            // The cursor moved away from a lone lead byte: it stays where it arrived, and a
            // high byte after it starts a new character.
            writeLoneLead();
            if (b >= 0x80) {
                holdLead(b);
            } else {
                putSingle(b);
            }
        }
    }
}

bool TWView::LeadPendingAtCursor() const {
    return leadPending_ && !leadMoved_ && leadPos_ == TWPoint{cursorX_, cursorY_};
}

void TWView::holdLead(uint8_t b) {
    leadPending_ = true;
    leadMoved_ = false;
    lead_ = b;
    leadPos_ = {cursorX_, cursorY_};
}

void TWView::putSingle(uint8_t b) {
    if (charObserver_) charObserver_({cursorX_, cursorY_}, attr_ != defaultAttr_, &b, 1);
    if ((b == CR || b == LF) && pendingLength_ > 0) offerLine();
    writeCell(b);
}

// Stores the lead byte in the cell where it arrived without moving the cursor.
void TWView::writeLoneLead() {
    storeCells(leadPos_.x, leadPos_.y, &lead_, 1);
}

void TWView::writePair(uint8_t lead, uint8_t trail) {
    if (johabDisplay_) JohabToKs(lead, trail);
    LinePair codes;
    bool lineSymbol = RemapSymbol(lead, trail, codes);
    if (!lineSymbol && lead == 0xA6 && trail == 0xA3) checkBoardFrame();
    // A double-byte character never splits across the right margin.
    if (cursorX_ == kColumns - 1) {
        cursorX_ = 0;
        lineAdvance();
    }
    const uint8_t pair[2] = {lead, trail};
    if (charObserver_) charObserver_({cursorX_, cursorY_}, attr_ != defaultAttr_, pair, 2);
    lastPairLineSymbol_ = lineSymbol;
    if (lineSymbol) {
        for (char code : {codes.left, codes.right}) {
            drawLineCode(cursorX_, cursorY_, code, false);
            appendPending(' ', cursorY_);
            advance();
        }
        return;
    }
    // The cursor is left of the last column here, so only the second advance may wrap.
    storeCells(cursorX_, cursorY_, pair, 2);
    advance();
    advance();
}

void TWView::writeCell(uint8_t b) {
    if (b < 0x20) {
        if (actOnControl(b)) return;
    }
    if (b < 0x80) blankOrphanLead(cursorY_, cursorX_);
    storeCells(cursorX_, cursorY_, &b, 1);
    advance();
}

// BS, HT, CR and LF move the cursor instead of being stored; other control codes are stored
// and drawn with the font's glyph for them.
bool TWView::actOnControl(uint8_t b) {
    switch (b) {
        case BS:
            if (cursorX_ > 0) --cursorX_;
            justWrapped_ = false;
            return true;
        case HT:
            Tab();
            return true;
        case CR:
            cursorX_ = 0;
            return true;
        case LF:
            // After a character wrapped the line, the host's own line end must not add a row.
            if (justWrapped_) {
                justWrapped_ = false;
            } else {
                lineAdvance();
            }
            return true;
        default:
            return false;
    }
}

// Stores one or two bytes of a character with the current attribute and no line code, and
// repaints them (the whole row when it is drawn doubled).
void TWView::storeCells(int x, int y, const uint8_t* bytes, int n) {
    // Everything is read before the first store: byte stores may alias any field.
    const int slot = chars_.Slot(ScreenTop() + y);
    uint8_t* chars = chars_.AtSlot(slot) + x;
    uint8_t* attrs = attrs_.AtSlot(slot) + x;
    uint8_t* lines = lines_.AtSlot(slot) + x;
    const uint8_t attr = attr_;
    const int last = *flags_.AtSlot(slot) != 0 ? kColumns - 1 : std::min(x + n, kColumns - 1);
    // The pending line keeps whole characters: a pair that does not fit ends it.
    if (n == 2 && bytes[0] >= 0x80 && pendingLength_ + 2 > kMaxLineText && !localOutput_)
        pendingCut_ = true;
    for (int i = 0; i < n; ++i) {
        chars[i] = bytes[i];
        attrs[i] = attr;
        lines[i] = ' ';
        appendPending(static_cast<char>(bytes[i]), y);
    }
    storedSinceClear_ = true;
    invalidate(y, x, last);
}

// A single byte over the right half of a box-drawing or user-symbol pair would leave half a
// glyph behind; blank the left half. Other orphaned lead bytes stay.
void TWView::blankOrphanLead(int y, int x) {
    if (x < 1) return;
    uint8_t left = charsAt(y)[x - 1];
    if ((left != 0xA6 && left != 0xAD) || !isTrailHalf(y, x)) return;
    charsAt(y)[x - 1] = ' ';
    if (lastPairLineSymbol_) linesAt(y)[x - 1] = ' ';
    invalidate(y, x - 1, x - 1);
}

bool TWView::isTrailHalf(int y, int x) const {
    return IsTrailHalf(chars_.Row(ScreenTop() + y), x);
}

void TWView::advance() {
    justWrapped_ = false;
    if (++cursorX_ == kColumns) {
        cursorX_ = 0;
        justWrapped_ = true;
        lineAdvance();
    }
}

void TWView::lineAdvance() {
    int y = cursorY_ + 1;
    if (y == regionBottom_ + 1 || y > rows_ - 1) {
        cursorY_ = y == regionBottom_ + 1 ? regionBottom_ : rows_ - 1;
        ScrollUp(1);
    } else {
        cursorY_ = y;
    }
}

void TWView::NewLine() {
    offerLine();
    cursorX_ = 0;
    justWrapped_ = false;
    leadMoved_ = true;
    lineAdvance();
}

// A Go board is drawn with its column letters on the first row and its row numbers below.
void TWView::checkBoardFrame() {
    if (boardInProgress_ || rows_ < 2) return;
    if (charsAt(0)[3] != 'A' || charsAt(1)[1] != '1') return;
    boardInProgress_ = true;
    OnBoardRecognised();
}

void TWView::EndBoard() {
    if (charObserver_) charObserver_({-1, -1}, false, nullptr, 0);
    charObserver_ = nullptr;
    boardInProgress_ = false;
    invalidateAll();
}

// Each string of the list is marked, at its first place on the cursor row, in the default
// colours swapped. The notification comes only when something newly turned marked.
void TWView::checkHighlights() {
    const uint8_t* row = charsAt(cursorY_);
    uint8_t* attrs = attrsAt(cursorY_);
    uint8_t mark = static_cast<uint8_t>((defaultAttr_ << 4) | (defaultAttr_ >> 4));
    bool marked = false;
    for (const std::string& s : highlights_.Strings()) {
        const uint8_t* end = row + kColumns;
        const uint8_t* at = std::search(row, end, s.begin(), s.end(),
                                        [](uint8_t a, char b) { return a == uint8_t(b); });
        if (at == end) continue;
        int x = static_cast<int>(at - row);
        for (size_t i = 0; i < s.size(); ++i) {
            if (attrs[x + i] != mark) marked = true;
            attrs[x + i] = mark;
        }
        invalidate(cursorY_, x, x + static_cast<int>(s.size()) - 1);
    }
    if (marked) OnHighlight();
}

void TWView::RecolourPendingLine(int colour) {
    if (pendingLength_ == 0 || (colour < 0 && colour != -2) || colour > 15) return;
    const int first = std::max(pendingFirstRow_, 0);
    const int last = std::min(pendingLastRow_, kRingRows - 1);
    for (int row = first; row <= last; ++row) {
        uint8_t* attrs = attrs_.Row(row);
        for (int x = 0; x < kColumns; ++x)
            attrs[x] = colour == -2 ? static_cast<uint8_t>(attrs[x] << 4 | attrs[x] >> 4)
                                    : static_cast<uint8_t>((attrs[x] & 0xF0) | colour);
        if (row >= ScreenTop()) invalidate(row - ScreenTop(), 0, kColumns - 1);
    }
}

void TWView::offerLine() {
    if (pendingLength_ == 0 || localOutput_) return;
    OnLineReady(false);
    ClearPendingLine();
}

// ---------------------------------------------------------------------------------------------
// Cursor

void TWView::MoveTo(int x, int y) {
    offerLine();
    cursorX_ = std::clamp(x - originX_, 0, kColumns - 1);
    cursorY_ = std::clamp(y - originY_, 0, rows_ - 1);
    justWrapped_ = false;
    leadMoved_ = true;
}

void TWView::CursorUp(int n) {
    cursorY_ = std::max(0, cursorY_ - std::max(n, 0));
    justWrapped_ = false;
}

void TWView::CursorDown(int n) {
    cursorY_ = std::min(rows_ - 1, cursorY_ + std::max(n, 0));
    justWrapped_ = false;
}

void TWView::CursorRight(int n) {
    cursorX_ = std::min(kColumns - 1, cursorX_ + std::max(n, 0));
    justWrapped_ = false;
}

void TWView::CursorLeft(int n) {
    cursorX_ = std::max(0, cursorX_ - std::max(n, 0));
    justWrapped_ = false;
}

TWPoint TWView::GetPosition() const {
    return {cursorX_ + originX_, cursorY_ + originY_};
}

void TWView::SetOrigin(int x, int y) {
    originX_ = x;
    originY_ = y;
}

void TWView::SetRows(int rows) {
    rows_ = std::clamp(rows, 1, kMaxRows);
    regionTop_ = 0;
    regionBottom_ = rows_ - 1;
    cursorY_ = std::min(cursorY_, rows_ - 1);
    historyRows_ = std::min(historyRows_, ScreenTop());
    invalidateAll();
}

// ---------------------------------------------------------------------------------------------
// Tabs

void TWView::SetTabStop() {
    tabStops_[cursorX_] = 1;
}
void TWView::ClearTabStop() {
    tabStops_[cursorX_] = 0;
}
void TWView::ClearAllTabStops() {
    std::memset(tabStops_, 0, sizeof tabStops_);
}

void TWView::ResetTabStops() {
    for (int x = 0; x < kColumns; ++x)
        tabStops_[x] = x % 8 == 0;
}

void TWView::Tab() {
    justWrapped_ = false;
    for (int x = cursorX_ + 1; x < kColumns; ++x) {
        if (tabStops_[x]) {
            cursorX_ = x;
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Attributes

void TWView::SetColors(int fg, int bg) {
    fg_ = fg & 15;
    bg_ = bg & 15;
    composeAttribute();
}

void TWView::GetColors(int& fg, int& bg) const {
    fg = fg_;
    bg = bg_;
}

void TWView::SetDefaultColors(int fg, int bg) {
    defaultAttr_ = static_cast<uint8_t>((bg & 15) << 4 | (fg & 15));
}

void TWView::SetBold(bool on) {
    bold_ = on;
    composeAttribute();
}

void TWView::SetReverse(bool on) {
    reverse_ = on;
    composeAttribute();
}

void TWView::SetConceal(bool on) {
    conceal_ = on;
    composeAttribute();
}

void TWView::composeAttribute() {
    int f = fg_, g = bg_;
    if (reverse_) std::swap(f, g);
    if (conceal_) f = g;
    if (bold_) f = kBoldColor[f];
    attr_ = static_cast<uint8_t>((g << 4) | f);
}

// ---------------------------------------------------------------------------------------------
// Damage

void TWView::noteDamage() {
    damaged_ = true;
    OnDamaged();
}

bool TWView::RowDamage(int y, int& first, int& last) const {
    if (damageAll_) {
        first = 0;
        last = kColumns - 1;
        return true;
    }
    first = damageFirst_[y];
    last = damageLast_[y];
    return first <= last;
}

void TWView::ClearDamage() {
    damaged_ = damageAll_ = false;
    std::memset(damageFirst_, kColumns, sizeof damageFirst_);
    std::memset(damageLast_, -1, sizeof damageLast_);
}

// ---------------------------------------------------------------------------------------------
// Caret, bell, row flags

void TWView::ShowCaret() {
    caretVisible_ = true;
    OnCaretChanged();
}

void TWView::HideCaret() {
    caretVisible_ = false;
    OnCaretChanged();
}

void TWView::Bell() {
    int64_t now = clock_.nowMs();
    bool quiet = boardInProgress_ || (bellRung_ && now - lastBellMs_ < 10);
    bellRung_ = true;
    lastBellMs_ = now;
    if (!quiet) OnBell();
}

void TWView::SetRowFlag(int value) {
    flags_.Row(ScreenTop() + cursorY_)[0] = static_cast<uint8_t>(value);
    invalidate(cursorY_, 0, kColumns - 1);
}
