#include "term/CopyText.h"

#include <algorithm>

#include "platform/TextCodec.h"
#include "term/CellHalves.h"
#include "term/RowLayout.h"

namespace {

// One past the last non-blank column of the row, 0 for a blank row.
int textEnd(const uint8_t* row) {
    int end = TWView::kColumns;
    while (end > 0 && row[end - 1] == ' ')
        --end;
    return end;
}

// Columns from..to-1, stopping at the last non-blank one; a row part with nothing left gives
// one space.
void appendRowPart(std::string& out, const uint8_t* row, int from, int to) {
    to = std::min(to, textEnd(row));
    if (to <= from) {
        out += ' ';
        return;
    }
    out.append(reinterpret_cast<const char*>(row) + from, to - from);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string CopySelection(const TWView& view, int x1, int y1, int x2, int y2) {
    y1 = std::clamp(y1, 0, TWView::kRingRows - 1);
    y2 = std::clamp(y2, 0, TWView::kRingRows - 1);
    x1 = std::clamp(x1, 0, TWView::kColumns);
    x2 = std::clamp(x2, 0, TWView::kColumns);
    if (IsTrailHalf(view.CharRow(y1), x1)) --x1;
    if (IsTrailHalf(view.CharRow(y2), x2)) --x2;
    std::string out;
    if (y1 == y2) {
        const uint8_t* row = view.CharRow(y1);
        const int end = std::min(x2, textEnd(row));
        if (end > x1) out.assign(reinterpret_cast<const char*>(row) + x1, end - x1);
        return out == " " ? std::string() : out;
    }
    for (int y = y1; y <= y2; ++y) {
        appendRowPart(out, view.CharRow(y), y == y1 ? x1 : 0, y == y2 ? x2 : TWView::kColumns);
        out += "\r\n";
    }
    return out;
}

std::string CopyScreen(const TWView& view) {
    const int top = view.ScreenTop();
    return CopySelection(view, 0, top, TWView::kColumns, top + view.Rows() - 1);
}

std::string CopyScrollback(const TWView& view) {
    const int top = view.ScreenTop();
    return CopySelection(view, 0, top - view.HistoryRows(), TWView::kColumns,
                         top + view.Rows() - 1);
}

std::string ClipboardText(std::string_view cp949) {
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i <= cp949.size(); ++i) {
        // Control codes are never part of a CP949 pair, so the text is cut at them.
        char32_t box = i < cp949.size() ? DecGraphicsCharacter(uint8_t(cp949[i])) : 0;
        if (i < cp949.size() && box == 0) continue;
        out += cp949ToUtf8Lossy(cp949.substr(start, i - start));
        if (box) appendUtf8(out, box);
        start = i + 1;
    }
    return out;
}
