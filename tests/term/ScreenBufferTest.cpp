// The screen buffer on its own: text placement, double-byte pairs, scrolling into the history,
// erasing and editing, line drawing, highlights and the hooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/fixtures/FakeClock.h"
#include "tests/term/RecordingView.h"

namespace {

TEST(ScreenText, HangulOnTheLastColumnMovesWholeToTheNextRow) {
    RecordingView view;
    view.MoveTo(80, 1);
    view.Write("Z");
    view.MoveTo(80, 1);
    view.Write("\xB0\xA1");
    EXPECT_EQ(view.Row(0)[79], 'Z');
    EXPECT_EQ(view.Text(1), "\xB0\xA1");
    EXPECT_EQ(view.Cursor(), (TWPoint{2, 1}));
}

TEST(ScreenText, SingleByteOverTheRightHalfOfABoxPairBlanksTheLeftHalf) {
    RecordingView view;
    view.Write("\xA6\xA1\xB0\xA1");
    view.MoveTo(2, 1);
    view.Write("A");
    view.MoveTo(4, 1);
    view.Write("B");
    // The box pair loses its orphaned lead; the Hangul lead stays.
    EXPECT_EQ(view.Text(0),
              " A\xB0"
              "B");
}

TEST(ScreenText, LeadByteFollowedByCursorMovementIsWrittenAloneWhereItArrived) {
    RecordingView view;
    view.Write("\xB0");
    view.MoveTo(5, 1);
    view.Write("A");
    EXPECT_EQ(view.Text(0), "\xB0   A");
    EXPECT_EQ(view.Cursor(), (TWPoint{5, 0}));

    // A high byte after the move starts a new character instead of being split off.
    view.MoveTo(1, 2);
    view.Write("\xB1");
    view.MoveTo(5, 2);
    view.Write(
        "\xB0\xA1"
        "C");
    EXPECT_EQ(view.Text(1),
              "\xB1   \xB0\xA1"
              "C");
}

TEST(ScreenText, LeadByteFollowedByAControlIsWrittenAloneAndTheControlActs) {
    RecordingView view;
    view.Write("ab\xB0\r");
    EXPECT_EQ(view.Text(0), "ab\xB0");
    EXPECT_EQ(view.Cursor(), (TWPoint{0, 0}));
}

TEST(ScreenText, Cp949ExtendedSyllableKeepsItsLead) {
    RecordingView view;
    view.MoveTo(79, 1);
    view.Write("\xA6\x41\x8C\x63");  // 쪨 똠: second bytes below 0x80
    EXPECT_EQ(view.Row(0)[78], '\xA6');
    EXPECT_EQ(view.Row(0)[79], '\x41');
    // The second syllable does not split across the margin.
    EXPECT_EQ(view.Text(1), "\x8C\x63");
}

TEST(ScreenText, EightyCharactersThenCrLfLeaveNoEmptyRow) {
    RecordingView view;
    view.Write(std::string(80, 'x') + "\r\nnext");
    EXPECT_EQ(view.Text(0), std::string(80, 'x'));
    EXPECT_EQ(view.Text(1), "next");
}

TEST(ScreenText, ControlBytesActInsteadOfBeingStored) {
    RecordingView view;
    view.Write(
        "abc\x08"
        "X\tY\x0B\x0C");
    EXPECT_EQ(view.Text(0), "abX     Y\x0B\x0C");
}

TEST(Scrolling, HistoryHoldsTheRingMinusTheScreenAndDropsTheOldest) {
    RecordingView view;
    for (int i = 0; i < 1000; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "L%03d\r\n", i);
        view.Write(line);
    }
    EXPECT_EQ(view.ScreenTop(), 793);
    EXPECT_EQ(view.HistoryRows(), 793);
    EXPECT_EQ(view.RowOf(0).substr(0, 4), "L183");
    EXPECT_EQ(view.RowOf(792).substr(0, 4), "L975");
    EXPECT_EQ(view.Text(0), "L976");
    EXPECT_EQ(view.Text(23), "L999");
    EXPECT_EQ(view.ScrolledSinceClear(), 976);
}

TEST(Scrolling, LineFeedAtTheRegionBottomScrollsOnlyTheRegion) {
    RecordingView view;
    view.LabelRows();
    view.MoveTo(1, 6);
    view.SetRowFlag(1);  // row 5 (the region's top) is double width
    view.SetRegion(5, 10);
    view.MoveTo(1, 10);
    view.Write("\n");
    EXPECT_EQ(view.HistoryRows(), 1);
    EXPECT_EQ(view.RowOf(view.ScreenTop() - 1).substr(0, 3), "R04");
    EXPECT_EQ(view.Text(0), "R00");
    EXPECT_EQ(view.Text(3), "R03");
    EXPECT_EQ(view.Text(4), "R05");
    EXPECT_EQ(view.RowFlag(view.ScreenTop() + 4), 1);  // the flag moved with its row
    EXPECT_EQ(view.Text(8), "R09");
    EXPECT_EQ(view.Text(9), "");
    EXPECT_EQ(view.Text(10), "R10");
    EXPECT_EQ(view.Text(24), "R24");
    EXPECT_EQ(view.ScrolledSinceClear(), 0);
    EXPECT_EQ(view.Cursor(), (TWPoint{0, 9}));
}

TEST(Scrolling, ScrollDownMovesTheRegionAndBlanksItsTop) {
    RecordingView view;
    view.LabelRows();
    view.SetRegion(3, 6);
    view.ScrollDown(2);
    EXPECT_EQ(view.Text(1), "R01");
    EXPECT_EQ(view.Text(2), "");
    EXPECT_EQ(view.Text(3), "");
    EXPECT_EQ(view.Text(4), "R02");
    EXPECT_EQ(view.Text(5), "R03");
    EXPECT_EQ(view.Text(6), "R06");
    view.ScrollDown(60000);  // clamped to the region
    EXPECT_EQ(view.Text(5), "");
    EXPECT_EQ(view.Text(6), "R06");
}

TEST(Scrolling, SetRegionClampsAndZeroMeansTheWholeScreen) {
    RecordingView view;
    view.SetRegion(0, 0);
    EXPECT_EQ(view.RegionTop(), 0);
    EXPECT_EQ(view.RegionBottom(), 24);
    view.SetRegion(20, 10);
    EXPECT_EQ(view.RegionTop(), 9);
    EXPECT_EQ(view.RegionBottom(), 9);
    view.SetRegion(3, 500);
    EXPECT_EQ(view.RegionTop(), 2);
    EXPECT_EQ(view.RegionBottom(), 24);
}

TEST(Erasing, ClearingTwicePushesTheScreenIntoTheHistoryOnce) {
    RecordingView view;
    view.Write("hello");
    view.ClearScreen();
    view.ClearScreen();
    EXPECT_EQ(view.HistoryRows(), 25);
    EXPECT_EQ(view.RowOf(view.ScreenTop() - 25).substr(0, 5), "hello");
    EXPECT_EQ(view.clears, 2);
    EXPECT_EQ(view.Cursor(), (TWPoint{0, 0}));
}

TEST(Erasing, EraseToEndOfScreenFromHomeKeepsTheOldPageInTheHistory) {
    RecordingView view;
    view.Write("page one");
    view.MoveTo(1, 1);
    view.EraseToEndOfScreen();
    EXPECT_EQ(view.HistoryRows(), 25);
    EXPECT_EQ(view.RowOf(view.ScreenTop() - 25).substr(0, 8), "page one");
    EXPECT_EQ(view.Text(0), "");
}

TEST(Erasing, PartialErasesUseTheCurrentAttributeAndNeverScroll) {
    RecordingView view;
    view.LabelRows();
    int tapped = 0;
    view.SetDisplayTap([&](const uint8_t*, int n) { tapped += n; });
    view.SetColors(14, 4);
    view.MoveTo(80, 25);
    view.EraseToStartOfLine();
    EXPECT_EQ(view.Text(24), "");
    EXPECT_EQ(view.Attr(0, 24), 0x4E);
    view.EraseRect(1, 1, 80, 25);
    view.EraseRect(70, 1, 200, 300);  // clipped
    view.EraseRect(5, 5, 4, 6);       // right < left: nothing
    EXPECT_EQ(view.HistoryRows(), 0);
    EXPECT_EQ(view.Cursor(), (TWPoint{79, 24}));
    EXPECT_EQ(tapped, 0);
    EXPECT_TRUE(view.PendingLine().empty());
    for (int y = 0; y < 25; ++y)
        EXPECT_EQ(view.Text(y), "") << y;

    view.LabelRows();
    view.MoveTo(2, 3);
    view.EraseToEndOfScreen();
    EXPECT_EQ(view.Text(2), "R");
    EXPECT_EQ(view.Text(3), "");
    view.MoveTo(2, 2);
    view.EraseToStartOfScreen();
    EXPECT_EQ(view.Text(0), "");
    EXPECT_EQ(view.Text(1), "  1");
}

TEST(Editing, DeleteLinesIsClampedToTheRowsBelowTheCursor) {
    RecordingView view;
    view.LabelRows();
    view.MoveTo(1, 21);
    view.DeleteLines(50);
    EXPECT_EQ(view.Text(19), "R19");
    for (int y = 20; y < 25; ++y)
        EXPECT_EQ(view.Text(y), "") << y;
}

TEST(Editing, InsertAndDeleteLinesMoveRowFlagsWithTheirRows) {
    RecordingView view;
    view.LabelRows();
    view.MoveTo(1, 4);
    view.SetRowFlag(2);
    view.MoveTo(1, 2);
    view.InsertLines(2);
    EXPECT_EQ(view.Text(1), "");
    EXPECT_EQ(view.Text(3), "R01");
    EXPECT_EQ(view.Text(24), "R22");
    EXPECT_EQ(view.RowFlag(view.ScreenTop() + 5), 2);
    view.DeleteLines(3);
    EXPECT_EQ(view.Text(1), "R02");
    EXPECT_EQ(view.RowFlag(view.ScreenTop() + 2), 2);
    view.InsertLines(65535);
    for (int y = 1; y < 25; ++y)
        EXPECT_EQ(view.Text(y), "") << y;
}

TEST(Editing, CharacterInsertDeleteAndEraseStayOnTheRow) {
    RecordingView view;
    view.Write("abcdefgh");
    view.MoveTo(3, 1);
    view.InsertBlanks(2);
    EXPECT_EQ(view.Text(0), "ab  cdefgh");
    view.DeleteChars(3);
    EXPECT_EQ(view.Text(0), "abdefgh");
    view.EraseChars(2);
    EXPECT_EQ(view.Text(0), "ab  fgh");
    view.MoveTo(79, 1);
    view.InsertBlanks(65535);
    view.EraseChars(65535);
    view.DeleteChars(65535);
    EXPECT_EQ(view.Text(0), "ab  fgh");
    EXPECT_EQ(view.Text(1), "");
}

TEST(Attributes, ColoursComposeWithReverseConcealAndBold) {
    RecordingView view;
    EXPECT_EQ(view.Attribute(), 0x1F);
    view.SetColors(8, 1);
    view.SetBold(true);
    EXPECT_EQ(view.Attribute(), 0x17);  // bold dark grey shows light grey
    view.SetColors(12, 0);
    EXPECT_EQ(view.Attribute(), 0x0C);  // bright colours stay
    view.SetColors(1, 0);
    EXPECT_EQ(view.Attribute(), 0x09);
    view.SetBold(false);
    view.SetReverse(true);
    EXPECT_EQ(view.Attribute(), 0x10);
    view.SetConceal(true);
    EXPECT_EQ(view.Attribute(), 0x11);
    int fg, bg;
    view.GetColors(fg, bg);
    EXPECT_EQ(fg, 1);
    EXPECT_EQ(bg, 0);
}

TEST(Tabs, StopsEveryEightColumnsAndNoStopMeansNoMove) {
    RecordingView view;
    view.Tab();
    EXPECT_EQ(view.Cursor().x, 8);
    view.MoveTo(77, 1);
    view.Tab();
    EXPECT_EQ(view.Cursor().x, 76);
    view.ClearAllTabStops();
    view.MoveTo(6, 1);
    view.SetTabStop();
    view.MoveTo(1, 1);
    view.Tab();
    EXPECT_EQ(view.Cursor().x, 5);
    view.Tab();
    EXPECT_EQ(view.Cursor().x, 5);
}

TEST(LineDrawing, BoxesHaveCornersAndAreClippedToTheScreen) {
    RecordingView view;
    view.Write("\xB0\xA1");
    view.MoveTo(2, 1);
    view.DrawBox(4, 3);
    EXPECT_EQ(view.Lines(0).substr(0, 6), " S--r ");
    EXPECT_EQ(view.Lines(1).substr(0, 6), " |  | ");
    EXPECT_EQ(view.Lines(2).substr(0, 6), " s--R ");
    // The Hangul pair cut by the box loses its left half.
    EXPECT_EQ(view.Text(0), "");
    view.MoveTo(78, 24);
    view.DrawBox(65535, 65535);
    EXPECT_EQ(view.Lines(23).substr(77), "S--");
    EXPECT_EQ(view.Lines(24).substr(77), "|  ");
}

TEST(LineDrawing, StraightLinesKeepCornersTheyCross) {
    RecordingView view;
    view.MoveTo(1, 1);
    view.DrawBox(3, 3);
    view.MoveTo(1, 2);
    view.DrawBox(5, 1);  // a single row: '-' then '|' over it
    EXPECT_EQ(view.Lines(1).substr(0, 5), "|-|--");
    EXPECT_EQ(view.Lines(0).substr(0, 3), "S-r");
}

TEST(Highlights, ListIsSplitTrimmedAndDeduplicated) {
    RecordingView view;
    view.SetHighlightText("foo\r\nx\nfoo\nbar\r\r\n\n");
    EXPECT_EQ(view.HighlightText(), "foo\r\nbar");
}

TEST(Highlights, FirstMatchOnTheRowIsMarkedAndAnnouncedOnce) {
    RecordingView view;
    view.SetHighlightText("foo");
    view.Write("a foo b foo c");
    EXPECT_EQ(view.Attr(2, 0), 0xF1);
    EXPECT_EQ(view.Attr(4, 0), 0xF1);
    EXPECT_EQ(view.Attr(5, 0), 0x1F);
    EXPECT_EQ(view.Attr(8, 0), 0x1F);
    EXPECT_EQ(view.highlights, 1);
}

TEST(Bell, QuietWithinTenMillisecondsAndWhileABoardIsShown) {
    FakeClock clock;
    RecordingView view(clock);
    view.Bell();
    view.Bell();
    clock.advance(9);
    view.Bell();
    EXPECT_EQ(view.bells, 1);
    clock.advance(10);
    view.Bell();
    EXPECT_EQ(view.bells, 2);

    view.MoveTo(4, 1);
    view.Write("A");
    view.MoveTo(2, 2);
    view.Write("1");
    view.MoveTo(1, 5);
    view.Write("\xA6\xA3");
    EXPECT_TRUE(view.BoardInProgress());
    EXPECT_EQ(view.boards, 1);
    clock.advance(100);
    view.Bell();
    EXPECT_EQ(view.bells, 2);
}

TEST(GoBoard, ObserverSeesCharactersAndTheEndOfTheBoard) {
    RecordingView view;
    std::vector<std::string> seen;
    view.SetCharObserver([&](TWPoint p, bool differs, const uint8_t* bytes, int n) {
        seen.push_back(
            std::to_string(p.x) + "," + std::to_string(p.y) + (differs ? "!" : ":") +
            std::string(reinterpret_cast<const char*>(bytes ? bytes : (const uint8_t*)""), n));
    });
    view.MoveTo(4, 1);
    view.Write("A");
    view.MoveTo(2, 2);
    view.SetColors(14, 1);
    view.Write("1\xA6\xA3");
    view.EraseToEndOfLine();
    ASSERT_EQ(view.boardErases.size(), 1u);
    EXPECT_EQ(view.boardErases[0], (TWPoint{4, 1}));
    view.EndBoard();
    EXPECT_FALSE(view.BoardInProgress());
    std::vector<std::string> expected = {"3,0:A", "1,1!1", "2,1!\xA6\xA3", "-1,-1:"};
    EXPECT_EQ(seen, expected);
}

TEST(LinePipeline, LinesAreOfferedAtLineEndsAndCursorPositioning) {
    RecordingView view;
    view.Write("abc\rdef\n");
    view.Write("ghi");
    view.MoveTo(1, 5);
    view.Write(std::string(600, 'y') + "\r");
    ASSERT_EQ(view.lines.size(), 4u);
    EXPECT_EQ(view.lines[0], "abc");
    EXPECT_EQ(view.lines[1], "def");
    EXPECT_EQ(view.lines[2], "ghi");
    EXPECT_EQ(view.lines[3], std::string(512, 'y'));
    EXPECT_EQ(view.partials, std::vector<bool>(4, false));
    EXPECT_TRUE(view.PendingLine().empty());
}

// Text handed over in runs must leave exactly what byte-at-a-time display leaves: cells,
// line plane, cursor and the lines offered, whatever pairs, lone leads, box halves and margins
// the runs cross.
TEST(ScreenText, RunsOfTextLeaveWhatSingleBytesLeave) {
    const uint8_t alphabet[] = {'a',  ' ',  'Z',  0xB0, 0xA1, 0xA6,
                                0xA3, 0xAD, 0x81, 0x41, 0xFE, 0x7E};
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 16) % n;
    };
    RecordingView bytes, runs;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (uint32_t i = 0, n = 1 + next(40); i < n; ++i)
            text += static_cast<char>(alphabet[next(sizeof alphabet)]);
        bytes.Write(text);
        runs.PutText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
        if (next(2) == 0) {  // mostly near the top, to land on earlier pairs' halves
            const int x = 1 + next(80), y = 1 + next(next(8) == 0 ? 24 : 3);
            bytes.MoveTo(x, y);
            runs.MoveTo(x, y);
        }
        ASSERT_EQ(runs.Cursor(), bytes.Cursor()) << "round " << round;
    }
    for (int y = 0; y < bytes.Rows(); ++y) {
        EXPECT_EQ(runs.Row(y), bytes.Row(y)) << "row " << y;
        EXPECT_EQ(runs.Lines(y), bytes.Lines(y)) << "row " << y;
    }
    EXPECT_EQ(runs.lines, bytes.lines);
    EXPECT_EQ(runs.PendingLine(), bytes.PendingLine());
}

TEST(DisplayTap, SeesEveryDisplayedByteFirst) {
    RecordingView view;
    std::string tapped;
    view.SetDisplayTap([&](const uint8_t* bytes, int n) {
        tapped.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
    });
    view.Write("a\xB0\xA1\r\n");
    const uint8_t run[] = {'b', 0xB0, 0xA2, 'c'};
    view.PutText(run, 4);
    EXPECT_EQ(tapped,
              "a\xB0\xA1\r\nb\xB0\xA2"
              "c");
}

TEST(Johab, PairsAreStoredInKsAndExtendedSyllablesInCp949) {
    RecordingView view;
    view.SetJohabDisplay(true);
    view.Write("\x88\x61\x99\xB1\xBD\x89\xA2\x85");  // 가 똠 쪨 문
    EXPECT_EQ(view.Text(0), "\xB0\xA1\x8C\x63\xA6\x41\xB9\xAE");
}

TEST(Symbols, PrivateRowsAreRewrittenBeforeStoring) {
    RecordingView view;
    view.Write(
        "\xAD\xA4\xAE\xA2"
        "x");
    EXPECT_EQ(view.Row(0).substr(0, 5), "\xA2\xBE  x");
    EXPECT_EQ(view.Lines(0).substr(0, 5), "  bb ");
    EXPECT_EQ(view.Cursor().x, 5);
}

}  // namespace

namespace {

// Colours every completed line as the session does for a participant's chat line.
class ColouringView : public RecordingView {
public:
    int colour = 12;
    void OnLineReady(bool partial) override {
        RecordingView::OnLineReady(partial);
        if (!partial) RecolourPendingLine(colour);
    }
};

}  // namespace

TEST(LinePipeline, RecolouringCoversEveryRowOfTheLineAfterWrapsAndScrolls) {
    struct Case {
        int startRow;  // 1-based
        size_t length;
        int colour;
        std::vector<int> rows;  // 0-based screen rows recoloured afterwards
    };
    const Case cases[] = {
        {3, 10, 12, {2}},
        {3, 80, 12, {2}},  // the cursor already stands on the next row, which holds nothing
        {3, 81, 12, {2, 3}},
        {3, 170, 9, {2, 3, 4}},
        {25, 100, 12, {22, 23}},  // two scrolls while it grew, one for the line end
        {3, 10, -2, {2}},
    };
    for (const Case& c : cases) {
        ColouringView view;
        view.colour = c.colour;
        view.MoveTo(1, c.startRow);
        view.Write(std::string(c.length, 'x') + "\r\n");
        for (int y = 0; y < view.Rows(); ++y) {
            const bool coloured = std::find(c.rows.begin(), c.rows.end(), y) != c.rows.end();
            const uint8_t expected = !coloured ? 0x1F : c.colour == -2 ? 0xF1 : 0x10 | c.colour;
            for (int x = 0; x < 80; x += 79)
                EXPECT_EQ(view.Attr(x, y), expected) << c.length << " row " << y << " x " << x;
        }
    }
}
