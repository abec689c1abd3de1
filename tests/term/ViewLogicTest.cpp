// The window's logic that needs no drawing: row layout, line-plane stroke pixels, selection,
// copy text, screen settings and their limits, scroll-back, and the services other programs
// call.
#include <gtest/gtest.h>

#include "link/MemoryLink.h"
#include "term/CopyText.h"
#include "term/LineStrokes.h"
#include "term/RowLayout.h"
#include "term/ScreenSettings.h"
#include "term/TWScrollBack.h"
#include "term/TWSelection.h"
#include "term/TWServices.h"
#include "tests/term/RecordingView.h"

namespace {

std::vector<RowItem> layout(const std::string& text) {
    std::string row = text + std::string(80 - text.size(), ' ');
    RowItem items[80];
    int n = LayoutRow(reinterpret_cast<const uint8_t*>(row.data()), items);
    return {items, items + n};
}

TEST(RowLayout, PairsLoneHighBytesAndTheLastColumn) {
    auto items = layout(
        "\xB0\xA1"
        "a\xB0 \x81\x41");
    ASSERT_GE(items.size(), 5u);
    EXPECT_EQ(items[0].width, 2);
    EXPECT_EQ(items[1].column, 2);
    EXPECT_EQ(items[2].width, 1);  // high byte before a space: one cell
    EXPECT_EQ(items[2].lead, 0xB0);
    EXPECT_EQ(items[4].column, 5);  // an extended syllable with an ASCII trail is one character
    EXPECT_EQ(items[4].trail, 0x41);
    EXPECT_EQ(layout(std::string(79, 'x') + "\xB0").size(), 79u);  // cut at the margin: undrawn
}

// The cell as text: '#' where a stroke code paints.
std::vector<std::string> paint(char code, CellGeometry g) {
    std::vector<std::string> cell(g.lineHeight, std::string(g.cellWidth, '.'));
    for (const PixelRect& r : StrokeRects(code, g)) {
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x)
                cell.at(y).at(x) = '#';
        }
    }
    return cell;
}

std::string column(const std::vector<std::string>& cell, int x) {
    std::string s;
    for (const std::string& row : cell)
        s += row[x];
    return s;
}

TEST(LineStrokes, EveryCodeAtFontSize16WithLeading2) {
    const CellGeometry g{8, 18, 16};  // cx = 4, cy = 8
    const std::string all(18, '#'), none(18, '.');
    const std::string upper = std::string(9, '#') + std::string(9, '.');   // rows 0..8
    const std::string lower = std::string(8, '.') + std::string(10, '#');  // rows 8..17
    auto dash = paint('-', g);
    EXPECT_EQ(dash[8], "########");
    EXPECT_EQ(column(dash, 0), std::string(8, '.') + "#" + std::string(9, '.'));
    auto bar = paint('|', g);
    EXPECT_EQ(column(bar, 3), all);
    EXPECT_EQ(column(bar, 4), all);
    EXPECT_EQ(column(bar, 2), none);
    EXPECT_EQ(column(bar, 5), none);
    struct Corner {
        char code;
        std::string row8;
        const std::string& vertical;
    } corners[] = {{'S', "...#####", lower},
                   {'s', "...#####", upper},
                   {'r', "#####...", lower},
                   {'R', "#####...", upper}};
    for (const Corner& c : corners) {
        SCOPED_TRACE(c.code);
        auto cell = paint(c.code, g);
        EXPECT_EQ(cell[8], c.row8);
        EXPECT_EQ(column(cell, 3), c.vertical);
        EXPECT_EQ(column(cell, 4), c.vertical);
        EXPECT_EQ(column(cell, 2),
                  c.row8[2] == '#' ? std::string(8, '.') + "#" + std::string(9, '.') : none);
    }
    auto full = paint('a', g);
    for (const std::string& row : full)
        EXPECT_EQ(row, "########");
    auto top = paint('b', g), bottom = paint('c', g);
    EXPECT_EQ(column(top, 0), std::string(8, '#') + std::string(10, '.'));
    EXPECT_EQ(column(bottom, 0), std::string(8, '.') + std::string(10, '#'));
    // The diagonal: one pixel per row from the top left towards (7, 15), the end point left out.
    auto diagonal = paint('\\', g);
    int pixels = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 8; ++x)
            pixels += diagonal[y][x] == '#';
    }
    EXPECT_EQ(pixels, 15);
    EXPECT_EQ(diagonal[0], "#.......");
    EXPECT_EQ(diagonal[7], "...#....");
    EXPECT_EQ(diagonal[14], ".......#");
    EXPECT_EQ(diagonal[15], "........");
    EXPECT_TRUE(StrokeRects('x', g).empty());
}

TEST(LineStrokes, OddCellsAndSmallFontsStayInsideTheCell) {
    const CellGeometry g{5, 10, 10};  // cx = 2, cy = 5
    for (char code : std::string("-|SsrR\\abc")) {
        for (const PixelRect& r : StrokeRects(code, g)) {
            EXPECT_GE(r.x, 0);
            EXPECT_GE(r.y, 0);
            EXPECT_LE(r.x + r.w, 5);
            EXPECT_LE(r.y + r.h, 10);
        }
    }
    EXPECT_EQ(column(paint('|', g), 1), std::string(10, '#'));
}

TEST(Selection, DragsFinishesAndFollowsTheText) {
    TWSelection s;
    s.Start({800, 5});
    EXPECT_FALSE(s.Finish());  // zero width: dropped
    s.Start({800, 10});
    s.Extend({799, 4});  // dragged up and left
    EXPECT_TRUE(s.Finish());
    EXPECT_EQ(s.First(), (TWCell{799, 4}));
    EXPECT_EQ(s.Last(), (TWCell{800, 10}));
    EXPECT_FALSE(s.Contains(799, 3));
    EXPECT_TRUE(s.Contains(799, 79));
    EXPECT_TRUE(s.Contains(800, 9));
    EXPECT_FALSE(s.Contains(800, 10));
    s.Extend({0, 0});  // not dragging any more
    EXPECT_EQ(s.First(), (TWCell{799, 4}));
    s.Shift(3);
    EXPECT_EQ(s.First(), (TWCell{796, 4}));
    s.Shift(797);  // partly off the ring: what is left stays
    EXPECT_EQ(s.First(), (TWCell{0, 0}));
    EXPECT_TRUE(s.Active());
    s.Shift(1);
    EXPECT_FALSE(s.Active());
}

TEST(Selection, FollowsTheTextWhenTheScreenScrolls) {
    struct SelectingView : RecordingView {
        TWSelection selection;
        void OnTextShifted(int rows) override { selection.Shift(rows); }
    } view;
    view.Write("first");
    const int row = view.ScreenTop();
    view.selection.Start({row, 0});
    view.selection.Extend({row, 5});
    view.selection.Finish();
    view.Write("\r\n\r\n" + std::string(25, '\n'));
    const TWCell first = view.selection.First();
    EXPECT_EQ(CopySelection(view, first.column, first.row, view.selection.Last().column,
                            view.selection.Last().row),
              "first");
}

TEST(CopyText, SingleRowsStopAtTheTextAndBlanksGiveNothing) {
    RecordingView view;
    view.Write("ab  cd");
    const int row = view.ScreenTop();
    EXPECT_EQ(CopySelection(view, 0, row, 80, row), "ab  cd");
    EXPECT_EQ(CopySelection(view, 1, row, 40, row), "b  cd");  // ends among trailing blanks
    EXPECT_EQ(CopySelection(view, 2, row, 3, row), "");        // one blank cell
    EXPECT_EQ(CopySelection(view, 2, row, 4, row), "  ");
    EXPECT_EQ(CopySelection(view, 10, row, 20, row), "");
}

TEST(CopyText, SeveralRowsEndInCrLfAndBlankRowsGiveOneSpace) {
    RecordingView view;
    view.Write("first line\r\n\r\nthird line  ");
    const int row = view.ScreenTop();
    EXPECT_EQ(CopySelection(view, 6, row, 5, row + 2), "line\r\n \r\nthird\r\n");
    EXPECT_EQ(CopySelection(view, 30, row, 60, row + 2), " \r\n \r\nthird line\r\n");
}

TEST(CopyText, EndsOnTheSecondHalfOfAPairMoveToItsStart) {
    RecordingView view;
    view.Write("a\xB0\xA1\xB0\xA2z");  // a 가 각 z: pairs at columns 1-2 and 3-4
    const int row = view.ScreenTop();
    EXPECT_EQ(CopySelection(view, 2, row, 4, row), "\xB0\xA1");  // start moves left, end too
    EXPECT_EQ(CopySelection(view, 0, row, 5, row), "a\xB0\xA1\xB0\xA2");
    EXPECT_EQ(CopySelection(view, 4, row, 6, row), "\xB0\xA2z");
}

TEST(CopyText, ScreenAndScrollbackTakeTheRowsKept) {
    RecordingView view;
    view.SetRows(3);
    view.Write("one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(CopyScreen(view), "two\r\nthree\r\nfour\r\n");
    EXPECT_EQ(CopyScrollback(view), "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST(CopyText, ClipboardGetsUtf8WithBoxCharacters) {
    EXPECT_EQ(ClipboardText("\x01\x06\x02 \xB0\xA1\r\n\x19\x10\x17"), "┌─┐ 가\r\n├┼┤");
    EXPECT_EQ(ClipboardText("a\xFF"
                            "b"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(ScreenSettings, ValuesAreClampedAndDefaultsApply) {
    ScreenSettings current;
    current.winFont = "Fixedsys";
    current.variableRows = true;
    current.textColor = 7;
    ScreenSettings s = ReadScreenSettings({{"FontSize", "30"},
                                           {"Rows", "0"},
                                           {"FontLeading", "abc"},
                                           {"WinFont", ""},
                                           {"BkColor", "99"},
                                           {"HanFont16", "fonts\\my.hft"},
                                           {"WallPaper", "/tmp/w.bmp"}},
                                          current);
    EXPECT_EQ(s.fontSize, 26);
    EXPECT_EQ(s.rows, 1);
    EXPECT_EQ(s.fontLeading, 0);
    EXPECT_EQ(s.winFont, "Fixedsys");  // empty keeps the face
    EXPECT_TRUE(s.variableRows);       // absent keeps the current value
    EXPECT_EQ(s.textColor, 7);
    EXPECT_EQ(s.bkColor, 15);
    EXPECT_EQ(s.hanFont16, "");  // not an absolute path
    EXPECT_EQ(s.wallPaper, "/tmp/w.bmp");
    ScreenSettings d = ReadScreenSettings({{"WinFont", "\xB1\xBC\xB8\xB2\xC3\xBC"}}, current);
    EXPECT_EQ(d.winFont, "굴림체");
    EXPECT_EQ(d.fontSize, 12);
    EXPECT_EQ(d.fontLeading, 2);
    EXPECT_EQ(d.rows, 24);
    EXPECT_EQ(ReadScreenSettings({{"FontSize", "5"}}, current).fontSize, 10);
}

TEST(ScreenSettings, RowCommands) {
    EXPECT_TRUE(CanAddRow(98, false));
    EXPECT_FALSE(CanAddRow(99, false));
    EXPECT_FALSE(CanAddRow(30, true));
    EXPECT_TRUE(CanRemoveRow(25, false));
    EXPECT_FALSE(CanRemoveRow(24, false));
    SettingsMap map;
    ChangeRows(map, 25, -1);
    EXPECT_EQ(map["Rows"], "24");
    ChangeRows(map, 99, +1);
    EXPECT_EQ(map["Rows"], "99");
}

TEST(ScrollBack, StaysInsideTheKeptRowsAndFollowsTheText) {
    RecordingView view;
    TWScrollBack sb;
    sb.SetVisibleRows(25);
    EXPECT_EQ(sb.TopRow(), view.ScreenTop());
    sb.ScrollBy(-5, view);  // nothing in the history yet
    EXPECT_TRUE(sb.AtBottom());
    view.Write(std::string(40, '\n'));  // 16 rows into the history
    sb.ScrollBy(-5, view);
    EXPECT_EQ(sb.TopRow(), view.ScreenTop() - 5);
    sb.ScrollBy(-100, view);
    EXPECT_EQ(sb.TopRow(), view.ScreenTop() - 16);
    sb.ScrollBy(3, view);
    sb.Shift(2, view);  // two more rows scrolled in: the window stays on its text
    EXPECT_EQ(sb.TopRow(), view.ScreenTop() - 15);
    sb.SetVisibleRows(30);
    EXPECT_TRUE(sb.AtBottom());
}

TEST(VTServices, LineNumbersCountFromTheLastClear) {
    RecordingView view;
    view.Write("\x1b");  // not interpreted: the buffer alone
    view.ClearScreen();
    view.Write("top");
    const uint8_t* row = nullptr;
    EXPECT_EQ(TWGetVTLine(view, 0, &row), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(row), 3), "top");
    view.ScrollUp(3);
    EXPECT_EQ(TWGetVTLine(view, 3, &row), 0);
    EXPECT_EQ(row, view.CharRow(view.ScreenTop()));
    EXPECT_EQ(TWGetVTAttr(view, 3, &row), 0);
    EXPECT_EQ(row, view.AttrRow(view.ScreenTop()));
    EXPECT_EQ(TWGetVTLine(view, 3 + 25, &row), -1);  // past the ring's last row
    EXPECT_EQ(row, nullptr);
    EXPECT_EQ(TWGetVTAttr(view, -900, &row), -1);
    EXPECT_EQ(row, nullptr);
}

TEST(VTServices, PutsSendsTextThenCrAndRestoreColorsResets) {
    std::string sent;
    VTPuts("move d4", [&](std::string_view s) { sent += s; });
    EXPECT_EQ(sent, "move d4\r");

    RecordingView view;
    MemoryLink link;
    TWEmulator emulator(&view, &link);
    view.SetDefaultColors(7, 0);
    link.Feed("\x1b[5;10r\x1b[1;7;31;42m");
    while (link.InputCount() > 0)
        emulator.GetChar();
    RestoreColors(view, &emulator);
    EXPECT_EQ(view.Attribute(), 0x07);
    EXPECT_EQ(view.RegionTop(), 0);
    EXPECT_EQ(view.RegionBottom(), 24);
}

}  // namespace
