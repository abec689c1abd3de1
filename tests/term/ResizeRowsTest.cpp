// The hooks the window needs from the screen buffer: a row-count change that keeps the text with
// the cursor, the notification of text moving on the ring, the reset colours, and clearing the
// rendition flags.
#include <gtest/gtest.h>

#include "link/MemoryLink.h"
#include "term/TWEmulator.h"
#include "tests/term/RecordingView.h"

namespace {

class ShiftView : public RecordingView {
public:
    std::vector<int> shifts;

protected:
    void OnTextShifted(int rows) override { shifts.push_back(rows); }
};

TEST(ResizeRows, ShrinkingDropsBlankRowsUnderTheCursorFirst) {
    ShiftView view;
    view.LabelRows(3);  // cursor on row 2, rows 3..24 blank
    view.ResizeRows(20);
    EXPECT_EQ(view.Rows(), 20);
    EXPECT_EQ(view.Text(0), "R00");
    EXPECT_EQ(view.Text(2), "R02");
    EXPECT_EQ(view.Cursor(), (TWPoint{3, 2}));
    EXPECT_EQ(view.HistoryRows(), 0);
    EXPECT_EQ(view.RegionBottom(), 19);
    EXPECT_EQ(view.shifts, std::vector<int>{-5});
}

TEST(ResizeRows, ShrinkingWithTheCursorLowPushesTopRowsIntoTheHistory) {
    ShiftView view;
    view.LabelRows(25);  // cursor on row 24
    view.ResizeRows(10);
    EXPECT_EQ(view.Text(0), "R15");
    EXPECT_EQ(view.Text(9), "R24");
    EXPECT_EQ(view.Cursor().y, 9);
    EXPECT_EQ(view.HistoryRows(), 15);
    EXPECT_EQ(view.RowOf(view.ScreenTop() - 1).substr(0, 3), "R14");
    // Growing again takes the same rows back from the history.
    view.ResizeRows(25);
    EXPECT_EQ(view.Text(0), "R00");
    EXPECT_EQ(view.Cursor().y, 24);
    EXPECT_EQ(view.HistoryRows(), 0);
}

TEST(ResizeRows, GrowingWithoutHistoryAddsBlankRowsUnderTheText) {
    ShiftView view;
    view.LabelRows(2);
    view.ResizeRows(30);
    EXPECT_EQ(view.Text(0), "R00");
    EXPECT_EQ(view.Text(1), "R01");
    EXPECT_EQ(view.Text(29), "");
    EXPECT_EQ(view.Cursor().y, 1);
    EXPECT_EQ(view.RegionBottom(), 29);
    EXPECT_EQ(view.shifts, std::vector<int>{5});
}

TEST(ResizeRows, CountsAreClampedAndTheCursorStaysOnScreen) {
    RecordingView view;
    view.LabelRows(25);
    view.ResizeRows(0);
    EXPECT_EQ(view.Rows(), 1);
    EXPECT_EQ(view.Text(0), "R24");
    EXPECT_EQ(view.Cursor().y, 0);
    view.ResizeRows(500);
    EXPECT_EQ(view.Rows(), 99);
    EXPECT_EQ(view.Text(24), "R24");
    EXPECT_EQ(view.Cursor().y, 24);
}

TEST(ResizeRows, TextKeepsFlowingAfterAResize) {
    RecordingView view;
    view.LabelRows(25);
    view.ResizeRows(12);
    view.Write("\r\nnext");
    EXPECT_EQ(view.Text(11), "next");
    EXPECT_EQ(view.Text(10), "R24");
}

TEST(TextShifted, FullScreenScrollsReportTheRowsTheTextMoved) {
    ShiftView view;
    view.ScrollUp(3);
    view.SetRegion(5, 10);
    view.ScrollUp(1);
    EXPECT_EQ(view.shifts, (std::vector<int>{3, 1}));
}

TEST(DefaultColors, HighlightsUseTheDefaultColoursSwapped) {
    RecordingView view;
    view.SetDefaultColors(14, 4);
    EXPECT_EQ(view.DefaultAttribute(), 0x4E);
    view.SetHighlightText("hi");
    view.Write("say hi");
    EXPECT_EQ(view.Attr(4, 0), 0xE4);
}

TEST(ClearRendition, TurnsOffReverseBoldAndConcealOnTheScreen) {
    RecordingView view;
    MemoryLink link;
    TWEmulator emulator(&view, &link);
    link.Feed("\x1b[32;40;1;7;8m");
    while (link.InputCount() > 0)
        emulator.GetChar();
    EXPECT_EQ(view.Attribute(), 0x2A);  // reversed, concealed, bold
    emulator.ClearRendition();
    EXPECT_EQ(view.Attribute(), 0x02);  // green on black
}

}  // namespace
