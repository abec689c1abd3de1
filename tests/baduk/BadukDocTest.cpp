// The board document's character callback, erase, menu rules, geometry, input line and record.
#include <gtest/gtest.h>

#include <string>

#include "baduk/BadukDoc.h"
#include "baduk/BadukInit.h"
#include "baduk/BoardGeometry.h"
#include "baduk/InputLine.h"
#include "baduk/MgtRecord.h"
#include "baduk/ServiceCommands.h"

namespace {

const std::string kBlack = "\xA1\xDC";  // "●"
const std::string kWhite = "\xA1\xDB";  // "○"
const std::string kCross = "\xA6\xAB";  // "┼"

void put(CBadukDoc& doc, int x, int y, int flag, const std::string& text) {
    doc.OnChar({x, y}, flag, reinterpret_cast<const uint8_t*>(text.data()),
               static_cast<int>(text.size()));
}

TEST(BadukDoc, GlobalPointerFollowsTheDocument) {
    EXPECT_EQ(CBadukDoc::Current(), nullptr);
    {
        CBadukDoc doc;
        EXPECT_EQ(CBadukDoc::Current(), &doc);
    }
    EXPECT_EQ(CBadukDoc::Current(), nullptr);
}

TEST(BadukInit, OpensResetsAndCloses) {
    int windows = 0, closed = 0;
    bool canOpen = false;
    SetBadukHost({[&](CBadukDoc&) { return canOpen && ++windows > 0; }, [&] { ++closed; }, {}});
    EXPECT_FALSE(AfxBadukInit("", nullptr));  // no window: no document either
    EXPECT_EQ(CBadukDoc::Current(), nullptr);
    canOpen = true;
    TWView::CharObserver observer = AfxBadukInit("\xC3\xB5\xB8\xAE\xBE\xC8", nullptr);
    ASSERT_TRUE(observer);
    CBadukDoc* doc = CBadukDoc::Current();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->ServiceIndex(), 1);
    observer({3, 1}, true, reinterpret_cast<const uint8_t*>("\xA1\xDC"), 2);
    EXPECT_EQ(doc->Moves().size(), 1u);
    AfxBadukInit("", nullptr);  // again while open: the same document, reset
    EXPECT_EQ(CBadukDoc::Current(), doc);
    EXPECT_TRUE(doc->Moves().empty());
    EXPECT_EQ(doc->ServiceIndex(), 0);
    EXPECT_EQ(windows, 2);
    observer({-1, -1}, false, nullptr, 0);
    EXPECT_EQ(CBadukDoc::Current(), nullptr);
    EXPECT_EQ(closed, 1);
    observer({3, 1}, true, reinterpret_cast<const uint8_t*>("\xA1\xDC"), 2);  // no document
    SetBadukHost({});
}

TEST(BadukDoc, CharacterCallbackCases) {
    struct Case {
        const char* name;
        int x, y, flag;
        std::string text;
        uint8_t stone;  // at (0, 0)
        std::vector<std::string> moves;
        TWPoint last;
    };
    const Case cases[] = {
        {"black with flag 1", 3, 1, 1, kBlack, CBadukDoc::kBlack, {"B[aa]"}, {-1, -1}},
        {"white with flag 1", 3, 1, 1, kWhite, CBadukDoc::kWhite, {"W[aa]"}, {-1, -1}},
        {"white with flag 0 reads black, last",
         3,
         1,
         0,
         kWhite,
         CBadukDoc::kBlack,
         {"B[aa]"},
         {0, 0}},
        {"even column is off the board", 4, 1, 1, kBlack, CBadukDoc::kEmpty, {}, {-1, -1}},
        {"column 1 is off the board", 1, 1, 1, kBlack, CBadukDoc::kEmpty, {}, {-1, -1}},
        {"row 0 is off the board", 3, 0, 1, kBlack, CBadukDoc::kEmpty, {}, {-1, -1}},
        {"control byte ignored", 3, 1, 1, "\x1b", CBadukDoc::kEmpty, {}, {-1, -1}},
        {"beyond column 79", 80, 1, 1, kBlack, CBadukDoc::kEmpty, {}, {-1, -1}},
        {"erase request places nothing", 3, 1, 2, kBlack, CBadukDoc::kEmpty, {}, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBadukDoc doc;
        put(doc, c.x, c.y, c.flag, c.text);
        EXPECT_EQ(doc.StoneAt(0, 0), c.stone);
        EXPECT_EQ(doc.Moves(), c.moves);
        EXPECT_EQ(doc.LastMove(), c.last);
        EXPECT_EQ(doc.Modified(), !c.moves.empty());
    }
}

TEST(BadukDoc, RedrawsKeepTheListAndRemovalsKeepNumbers) {
    CBadukDoc doc;
    std::vector<TWPoint> repainted;
    doc.pointChanged = [&](int c, int r) { repainted.push_back({c, r}); };
    put(doc, 39, 19, 1, kBlack);  // point (18, 18)
    put(doc, 39, 19, 1, kBlack);  // the same again: nothing
    put(doc, 5, 2, 0, kBlack);    // white (1, 1), the last move
    put(doc, 7, 3, 0, kWhite);    // black (2, 2), the last move now
    EXPECT_EQ(doc.Moves(), (std::vector<std::string>{"B[ss]", "W[bb]", "B[cc]"}));
    put(doc, 39, 19, 1, kCross);  // taken off
    EXPECT_EQ(doc.StoneAt(18, 18), CBadukDoc::kEmpty);
    EXPECT_EQ(doc.MoveNumber(18, 18), 1);
    EXPECT_EQ(doc.MoveCounter(), 3);
    EXPECT_EQ(doc.Moves().size(), 3u);
    EXPECT_EQ(doc.LastMove(), (TWPoint{2, 2}));
    // Each change repaints its point; a new last move repaints the previous one too.
    std::vector<TWPoint> expected = {{18, 18}, {1, 1}, {1, 1}, {2, 2}, {1, 1}, {2, 2}, {18, 18}};
    EXPECT_EQ(repainted, expected);
    doc.NewDocument();
    EXPECT_EQ(doc.StoneAt(1, 1), CBadukDoc::kEmpty);
    EXPECT_EQ(doc.MoveCounter(), 0);
    EXPECT_TRUE(doc.Moves().empty());
    EXPECT_EQ(doc.LastMove(), (TWPoint{-1, -1}));
    EXPECT_FALSE(doc.Modified());
}

TEST(BadukDoc, TextAreasAndErase) {
    CBadukDoc doc;
    put(doc, 50, 0, 1, "X");
    put(doc, 10, 22, 1, "\xB0\xA1");  // "가"
    put(doc, 80, 22, 1, "\xB0\xA1");  // beyond the row: ignored
    put(doc, 79, 23, 1, "\xB0\xA1");  // the bottom lines hold column 80
    put(doc, 79, 4, 1, "\xB0\xA1");   // so do the side lines (columns 45 to 90)
    put(doc, 44, 3, 1, "Y");          // left of the side area
    put(doc, 60, 24, 1, "Z");         // below the screen
    EXPECT_EQ(doc.SideLine(0)[5], 'X');
    EXPECT_EQ(doc.BottomLine(1).substr(10, 2), "\xB0\xA1");
    EXPECT_EQ(doc.BottomLine(2).substr(79), "\xB0\xA1");
    EXPECT_EQ(doc.SideLine(4).substr(34, 2), "\xB0\xA1");
    EXPECT_EQ(doc.SideLine(3), std::string(46, ' '));

    put(doc, 12, 22, 1, "ab");
    put(doc, 11, 22, 2, "q");  // erase from column 11: that call only
    EXPECT_EQ(doc.BottomLine(1).substr(10, 4), "\xB0   ");
    put(doc, 20, 22, 1, "r");  // a later character is written, not erased
    EXPECT_EQ(doc.BottomLine(1)[20], 'r');

    put(doc, 60, 5, 1, "s");
    put(doc, 90, 5, 1, "t");
    doc.Baduk2EOL({61, 5});
    EXPECT_EQ(doc.SideLine(5)[15], 's');
    doc.Baduk2EOL({45, 5});
    EXPECT_EQ(doc.SideLine(5), std::string(46, ' '));
    doc.Baduk2EOL({20, 22});
    EXPECT_EQ(doc.BottomLine(1)[20], ' ');
    doc.Baduk2EOL({200, 22});  // beyond the row: nothing
    doc.Baduk2EOL({30, 5});    // left of the side area: nothing
    doc.Baduk2EOL({-3, 2});
}

TEST(BadukMenu, CommandsAndEnableRules) {
    const TWPoint over{3, 3}, away{-1, -1};
    EXPECT_EQ(ServiceIndexFromName("\xC3\xB5\xB8\xAE\xBE\xC8"), 1);
    EXPECT_EQ(ServiceIndexFromName("\xB3\xAA\xBF\xEC\xB4\xA9\xB8\xAE"), 2);
    EXPECT_EQ(ServiceIndexFromName("KGS"), 0);
    EXPECT_EQ(MenuCommandText(BadukMenuItem::MarkDead, 0, over), "/D D 4");
    EXPECT_EQ(MenuCommandText(BadukMenuItem::Quit, 1, away), "/Q\r");
    EXPECT_EQ(MenuCommandText(BadukMenuItem::TakeBack, 2, away), "/AG");
    EXPECT_EQ(MenuCommandText(BadukMenuItem::Numbering, 0, away), "");
    EXPECT_EQ(MoveText({18, 18}), "S 19");
    const BadukMenuItem disabledOnIndex1[] = {BadukMenuItem::EndPlacing, BadukMenuItem::MarkDead,
                                              BadukMenuItem::MarkSeki,
                                              BadukMenuItem::RequestSuspension};
    for (BadukMenuItem item : kBadukMenu) {
        bool off = std::find(std::begin(disabledOnIndex1), std::end(disabledOnIndex1), item) !=
                   std::end(disabledOnIndex1);
        EXPECT_EQ(MenuEnabled(item, 1, over), !off) << MenuText(item);
        EXPECT_EQ(MenuEnabled(item, 0, over), true) << MenuText(item);
    }
    EXPECT_FALSE(MenuEnabled(BadukMenuItem::MarkDead, 0, away));
    EXPECT_FALSE(MenuEnabled(BadukMenuItem::RequestSuspension, 2, over));
    EXPECT_TRUE(MenuEnabled(BadukMenuItem::MarkSeki, 2, over));
}

TEST(BoardGeometry, SizesSquaresAndPixels) {
    EXPECT_EQ(BoardGeometry::CellSize(480), 19);
    EXPECT_EQ(BoardGeometry::CellSize(600), 25);
    EXPECT_EQ(BoardGeometry::CellSize(601), 33);
    for (int b : {19, 25, 33}) {
        SCOPED_TRACE(b);
        EXPECT_EQ(BoardGeometry::ViewWidth(b), b * 18 + 60);
        EXPECT_EQ(BoardGeometry::ViewHeight(b), b * 18 + 48);
        for (int c : {0, 7, 18}) {
            Rect square = BoardGeometry::PointSquare(c, 18 - c, b);
            EXPECT_EQ(square.width(), b);
            const TWPoint point{c, 18 - c};
            for (Point corner :
                 {Point{square.left, square.top}, Point{square.right - 1, square.bottom - 1}})
                EXPECT_EQ(BoardGeometry::PixelToPoint(corner.x, corner.y, b), point);
            // One pixel outside, up and left, is the next point or off the board.
            TWPoint before = BoardGeometry::PixelToPoint(square.left - 1, square.top - 1, b);
            const TWPoint expected =
                c == 0 || c == 18 ? TWPoint{-1, -1} : TWPoint{c - 1, 18 - c - 1};
            EXPECT_EQ(before, expected);
        }
        EXPECT_EQ(BoardGeometry::PixelToPoint(30 - b / 2 - b + 1, 30, b), (TWPoint{-1, -1}));
        EXPECT_EQ(BoardGeometry::PixelToPoint(30, 24 + 18 * b + b, b), (TWPoint{-1, -1}));
    }
}

TEST(InputLine, CutsOnCharacterBoundariesAndKeys) {
    std::string ascii(200, 'a');
    EXPECT_EQ(InputLine::Cut(ascii).size(), 128u);
    std::string hangul = std::string(127, 'a') + "\xB0\xA1";
    EXPECT_EQ(InputLine::Cut(hangul), std::string(127, 'a'));
    EXPECT_EQ(InputLine::Cut("\xB0"), "");  // a lone lead byte is not sent
    EXPECT_EQ(InputLine::LinesToDrop(27), 0);
    EXPECT_EQ(InputLine::LinesToDrop(28), 1);
    using InputLine::Action, InputLine::Key;
    EXPECT_EQ(InputLine::ActionFor(Key::Enter, false, false), Action::Send);
    EXPECT_EQ(InputLine::ActionFor(Key::Enter, true, false), Action::Nothing);
    EXPECT_EQ(InputLine::ActionFor(Key::Tab, false, false), Action::InsertTab);
    EXPECT_EQ(InputLine::ActionFor(Key::Delete, true, false), Action::ClearAll);
    EXPECT_EQ(InputLine::ActionFor(Key::U, true, false), Action::ClearLine);
    EXPECT_EQ(InputLine::ActionFor(Key::Backspace, false, true), Action::Nothing);
    EXPECT_EQ(InputLine::ActionFor(Key::Backspace, false, false), Action::Default);
}

TEST(MgtRecord, TextAndFailedWrite) {
    EXPECT_EQ(MgtText({"B[dd]", "W[pp]"}), "(;\r\nComment[];\r\nB[dd];\r\nW[pp];\r\n)\r\n");
    EXPECT_EQ(SaveMgt("/nonexistent-folder/g.mgt", {"B[dd]"}), kMgtSaveFailed);
}

}  // namespace
