#include "app/tty/TtyScreen.h"

#include <wchar.h>

#include <algorithm>

#include "term/RowLayout.h"

namespace {

constexpr int kStatusAttr = -2;  // reverse video
// A list over the screen: light grey on black, its cursor's row black on light grey.
constexpr uint8_t kOverlayAttr = 0x07, kOverlayCursorAttr = 0x70;

// ANSI colour number of each of the 16 PC colours' low three bits.
constexpr int kAnsiColour[8] = {0, 4, 2, 6, 1, 5, 3, 7};

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the character at `at`, moving past it; malformed bytes give U+FFFD.
char32_t nextCodePoint(const std::string& s, size_t& at) {
    const uint8_t b = static_cast<uint8_t>(s[at++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b >= 0x80 && extra == 0) return 0xFFFD;
    char32_t c = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
    for (; extra > 0; --extra) {
        if (at >= s.size() || (static_cast<uint8_t>(s[at]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<uint8_t>(s[at++]) & 0x3F);
    }
    return c;
}

int cellsOf(char32_t c) {
    const int w = wcwidth(static_cast<wchar_t>(c));
    return w < 0 ? 1 : w;
}

// The box character a line-plane code is drawn as; 0 for none. Verticals are the heavy ones,
// as the window draws them with the thick pen.
char32_t lineCharacter(uint8_t code) {
    switch (code) {
        case '-':
            return U'\u2500';
        case '|':
            return U'\u2503';
        case 'S':
            return U'\u250E';
        case 's':
            return U'\u2516';
        case 'r':
            return U'\u2512';
        case 'R':
            return U'\u251A';
        case '\\':
            return U'\u2572';
        case 'a':
            return U'\u2588';
        case 'b':
            return U'\u2580';
        case 'c':
            return U'\u2584';
        default:
            return 0;
    }
}

// The horizontal stroke (light or heavy) that carries the right arm of a box character of the
// Korean code's line row, U+2500..U+254B, into the cell to its right; 0 for none.
char32_t rightArmStroke(char32_t box) {
    // 'l' light, 'h' heavy, ' ' no right arm (the dashed lines 2504..250B are not in the code).
    constexpr char kArms[] =
        "lh          lhlh    lhlh    lhlllhhh        llhhllhhllhhllhhllhhllllhlhhhlhh";
    static_assert(sizeof kArms - 1 == 0x254B - 0x2500 + 1);
    if (box < 0x2500 || box > 0x254B) return 0;
    const char arm = kArms[box - 0x2500];
    return arm == 'l' ? U'\u2500' : arm == 'h' ? U'\u2501' : 0;
}

std::string singleGlyph(uint8_t b) {
    std::string glyph;
    if (b >= 0x20 && b < 0x7F) {
        glyph = static_cast<char>(b);
    } else if (char32_t box = b < 0x20 ? DecGraphicsCharacter(b) : 0) {
        appendUtf8(box, glyph);
    } else {
        glyph = " ";
    }
    return glyph;
}

struct PairGlyph {
    std::string utf8;     // empty: the pair does not convert
    bool narrow = false;  // the locale gives the character one cell
    // For a host that draws it one cell wide: the character, then the stroke that continues a
    // box character's right arm, or a blank.
    std::string padded;
};

// CP949 pairs converted once each.
const PairGlyph& pairGlyph(uint8_t lead, uint8_t trail) {
    static std::vector<PairGlyph> cache(0x8000);
    static std::vector<bool> done(0x8000);
    const size_t index = static_cast<size_t>(lead - 0x80) << 8 | trail;
    if (!done[index]) {
        done[index] = true;
        const char32_t c = CellCharacter(static_cast<uint16_t>(lead << 8 | trail));
        if (c != 0) {
            PairGlyph& glyph = cache[index];
            appendUtf8(c, glyph.utf8);
            glyph.narrow = cellsOf(c) < 2;
            glyph.padded = glyph.utf8;
            if (char32_t arm = rightArmStroke(c)) {
                appendUtf8(arm, glyph.padded);
            } else {
                glyph.padded += ' ';
            }
        }
    }
    return cache[index];
}

}  // namespace

int DisplayWidth(const std::string& utf8) {
    int cells = 0;
    for (size_t at = 0; at < utf8.size();)
        cells += cellsOf(nextCodePoint(utf8, at));
    return cells;
}

std::string WithoutMnemonic(std::string text) {
    if (const size_t at = text.find("(&"); at != std::string::npos) text.erase(at, 4);
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

void DropLastCharacter(std::string& utf8) {
    while (!utf8.empty() && (static_cast<uint8_t>(utf8.back()) & 0xC0) == 0x80)
        utf8.pop_back();
    if (!utf8.empty()) utf8.pop_back();
}

std::string FitToWidth(const std::string& utf8, int cells) {
    std::string out;
    int used = 0;
    for (size_t at = 0; at < utf8.size();) {
        const size_t start = at;
        const char32_t c = nextCodePoint(utf8, at);
        const int w = c < 0x20 ? 1 : cellsOf(c);
        if (used + w > cells) break;
        if (c < 0x20) {
            out += ' ';
        } else {
            out.append(utf8, start, at - start);
        }
        used += w;
    }
    out.append(static_cast<size_t>(cells - used), ' ');
    return out;
}

std::vector<std::string> WrapToWidth(const std::string& utf8, int cells) {
    std::vector<std::string> lines(1);
    int used = 0;
    for (size_t at = 0; at < utf8.size();) {
        const size_t start = at;
        const char32_t c = nextCodePoint(utf8, at);
        if (c == '\n') {
            lines.emplace_back();
            used = 0;
            continue;
        }
        const int w = c < 0x20 ? 1 : cellsOf(c);
        if (used + w > cells) {
            lines.emplace_back();
            used = 0;
        }
        lines.back().append(utf8, start, at - start);
        used += w;
    }
    return lines;
}

void TtyScreen::Invalidate() {
    shown_.clear();
    shownStatus_.clear();
    shownWidth_ = -1;
    cursorKnown_ = false;
    attr_ = -1;
    caretShown_ = false;
}

TtyScreen::Row TtyScreen::buildRow(const TWView& view, int logicalRow) const {
    const uint8_t* chars = view.CharRow(logicalRow);
    const uint8_t* attrs = view.AttrRow(logicalRow);
    const uint8_t* lines = view.LineRow(logicalRow);
    Row row(TWView::kColumns);
    for (int x = 0; x < TWView::kColumns; ++x)
        row[x] = Cell{" ", attrs[x], 1};
    RowItem items[TWView::kColumns];
    const int count = LayoutRow(chars, items);
    for (int i = 0; i < count; ++i) {
        const RowItem& item = items[i];
        const int x = item.column;
        const bool lined =
            lineCharacter(lines[x]) || (item.width == 2 && lineCharacter(lines[x + 1]));
        if (item.width == 2 && !lined) {
            const PairGlyph& pair = pairGlyph(item.lead, item.trail);
            if (!pair.utf8.empty()) {
                const bool padded = pair.narrow && !wideSymbols_;
                row[x] = Cell{padded ? pair.padded : pair.utf8, attrs[x], 2};
                row[x + 1] = Cell{"", attrs[x], 0};
                continue;
            }
        }
        for (int c = x; c < x + item.width; ++c) {
            std::string glyph;
            if (char32_t box = lineCharacter(lines[c])) {
                appendUtf8(box, glyph);
            } else if (item.width == 1) {
                glyph = singleGlyph(item.lead);
            } else {
                glyph = "?";  // a pair that does not convert, or half of one under a line
            }
            row[c] = Cell{glyph, attrs[c], 1};
        }
    }
    return row;
}

TtyScreen::Row TtyScreen::textRow(const TtyTextLine& line) {
    const uint8_t attr = line.highlighted ? kOverlayCursorAttr : kOverlayAttr;
    Row row(TWView::kColumns, Cell{" ", attr, 1});
    int x = 0;
    for (size_t at = 0; at < line.text.size();) {
        const size_t start = at;
        const char32_t c = nextCodePoint(line.text, at);
        const int w = c < 0x20 ? 1 : cellsOf(c);
        if (w == 0) continue;  // a combining mark: left out rather than guessed at
        if (x + w > TWView::kColumns) break;
        row[x] = Cell{c < 0x20 ? " " : line.text.substr(start, at - start), attr,
                      static_cast<uint8_t>(w)};
        if (w == 2) row[x + 1] = Cell{"", attr, 0};
        x += w;
    }
    return row;
}

void TtyScreen::moveTo(int line, int x, std::string& out) {
    if (cursorKnown_ && cursorLine_ == line && cursorX_ == x) return;
    out += "\x1b[" + std::to_string(line + 1) + ";" + std::to_string(x + 1) + "H";
    cursorKnown_ = true;
    cursorLine_ = line;
    cursorX_ = x;
}

void TtyScreen::setAttr(uint8_t attr, std::string& out) {
    if (attr_ == attr) return;
    const int fg = attr & 15, bg = attr >> 4;
    out += "\x1b[0;" + std::to_string((fg < 8 ? 30 : 90) + kAnsiColour[fg & 7]) + ";" +
           std::to_string((bg < 8 ? 40 : 100) + kAnsiColour[bg & 7]) + "m";
    attr_ = attr;
}

void TtyScreen::drawCell(int line, int x, const Row& row, std::string& out) {
    const Cell& cell = row[x];
    moveTo(line, x, out);
    setAttr(cell.attr, out);
    out += cell.glyph;
    if (cell.width != 2) {
        ++cursorX_;
        return;
    }
    if (DisplayWidth(cell.glyph) == 2) {
        cursorX_ += 2;
        return;
    }
    // A symbol the host was found to draw wide, though the locale says one cell: the cursor is
    // placed afresh, so the columns after it stay where they belong either way.
    cursorKnown_ = false;
}

void TtyScreen::drawRow(int line, const Row& row, std::string& out) {
    Row& shown = shown_[line];
    const bool fresh = shown.size() != row.size();
    for (int x = 0; x < TWView::kColumns; ++x) {
        if (row[x].width == 0) continue;  // drawn with its first half
        const bool wide = row[x].width == 2;
        if (!fresh && row[x] == shown[x] && (!wide || row[x + 1] == shown[x + 1])) continue;
        drawCell(line, x, row, out);
    }
    // On a wider terminal a line drawn afresh may still hold status text past the 80 columns.
    if (fresh && shownWidth_ > TWView::kColumns) {
        moveTo(line, TWView::kColumns, out);
        out += "\x1b[0m\x1b[K";
        attr_ = -1;
    }
    shown = row;
}

std::string TtyScreen::Render(const TtyFrame& frame) {
    std::string out;
    if (frame.width != shownWidth_) {
        Invalidate();
        shownWidth_ = frame.width;
        out += "\x1b[0m\x1b[H\x1b[2J";
    }
    const int lines = frame.rows + 1;
    const int statusLines = std::clamp(static_cast<int>(frame.status.size()), 1, lines);
    const int viewLines = lines - statusLines;
    shown_.resize(lines);
    shownStatus_.resize(lines);
    for (int line = 0; line < viewLines; ++line) {
        if (frame.overlay.empty()) {
            drawRow(line, buildRow(*frame.view, frame.topRow + line), out);
        } else {
            const size_t index = static_cast<size_t>(line);
            drawRow(line,
                    textRow(index < frame.overlay.size() ? frame.overlay[index] : TtyTextLine{}),
                    out);
        }
        shownStatus_[line].clear();
    }
    for (int line = viewLines; line < lines; ++line) {
        shown_[line].clear();  // drawn afresh when the status gives the line back
        const size_t index = frame.status.size() - static_cast<size_t>(lines - line);
        const std::string text =
            FitToWidth(index < frame.status.size() ? frame.status[index] : "", frame.width);
        if (text == shownStatus_[line]) continue;
        moveTo(line, 0, out);
        out += "\x1b[0;7m" + text;
        attr_ = kStatusAttr;
        cursorKnown_ = false;
        shownStatus_[line] = text;
    }
    const bool caretMoved =
        frame.caretShown != caretShown_ || (frame.caretShown && !(frame.caret == caretAt_));
    if (out.empty() && !caretMoved) return out;
    caretShown_ = frame.caretShown;
    caretAt_ = frame.caret;
    if (frame.caretShown) {
        moveTo(frame.caret.y, frame.caret.x, out);
        out += "\x1b[?25h";
    } else {
        out += "\x1b[?25l";
    }
    return "\x1b[?25l" + out;
}

std::string TtyScreen::RenderMessage(const std::string& utf8, int width) {
    Invalidate();
    std::string out = "\x1b[0m\x1b[H\x1b[2J";
    int line = 0;
    for (const std::string& text : WrapToWidth(utf8, std::max(width, 1)))
        out += "\x1b[" + std::to_string(++line) + ";1H" + text;
    return out;
}
