// Go screens through the real terminal engine into the board document: recognition, stones,
// last move, captures, side and bottom text, the silent bell, the mode and the screen clear.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "baduk/BadukDoc.h"
#include "tests/baduk/GameScript.h"
#include "tools/BadukDump.h"

namespace {

std::string boardRows(const CBadukDoc& doc) {
    std::string out;
    for (int row = 0; row < CBadukDoc::kSize; ++row) {
        for (int column = 0; column < CBadukDoc::kSize; ++column)
            out += ".XO"[doc.StoneAt(column, row)];
        out += '\n';
    }
    return out;
}

std::string expectedRows(const GoScreen::Position& position) {
    std::string out;
    for (int row = 0; row < GoScreen::kSize; ++row) {
        for (int column = 0; column < GoScreen::kSize; ++column)
            out += ".XO"[position[column][row]];
        out += '\n';
    }
    return out;
}

TEST(BadukHandOver, AGameDrawnOnScreenBuildsTheDocument) {
    BadukDump dump;
    GoScreen::Game game;
    dump.Feed(GameScript::Stream(game));
    const CBadukDoc* doc = dump.Doc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(boardRows(*doc), expectedRows(game.Stones()));
    EXPECT_EQ(doc->Moves(), (std::vector<std::string>{"B[dd]", "W[cd]", "B[pp]", "W[ed]", "B[pd]",
                                                      "W[dc]", "B[dp]", "W[de]", "B[jj]"}));
    EXPECT_EQ(doc->LastMove(), (TWPoint{9, 9}));
    EXPECT_EQ(doc->MoveNumber(9, 9), 9);
    EXPECT_EQ(doc->StoneAt(3, 3), CBadukDoc::kEmpty);
    EXPECT_EQ(doc->MoveNumber(3, 3), 1);
    EXPECT_EQ(doc->SideLine(0).substr(0, GameScript::kSide.size()), GameScript::kSide);
    EXPECT_EQ(doc->BottomLine(1).substr(0, GameScript::kBottom.size()), GameScript::kBottom);

    // A full redraw changes nothing; the erase to the end of a row blanks the side text.
    dump.Feed(GoScreen::Board(game.Stones(), game.Last(), {"x"}, {}));
    EXPECT_EQ(doc->Moves().size(), 9u);
    EXPECT_EQ(doc->SideLine(0), "x" + std::string(45, ' '));
}

TEST(BadukHandOver, BellSilentWhileABoardIsOnAndClearEndsIt) {
    BadukDump dump;
    GoScreen::Game game;
    dump.Feed(GameScript::Stream(game) + "\a");
    EXPECT_EQ(dump.View().bells, 0);
    dump.Feed("\x1b[2J");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // bells closer than 10 ms merge
    dump.Feed("\a");
    EXPECT_EQ(dump.Doc(), nullptr);
    EXPECT_FALSE(dump.View().BoardInProgress());
    EXPECT_EQ(dump.View().bells, 1);
}

TEST(BadukHandOver, ModeSwitchedOnOpensOnlyOverABoard) {
    BadukDump dump({}, false);
    dump.View().handOver.SetMode(true);
    EXPECT_EQ(dump.Doc(), nullptr);  // no board on screen: no empty window
    dump.View().handOver.SetMode(false);
    GoScreen::Game game;
    dump.Feed(GameScript::Stream(game));
    EXPECT_EQ(dump.Doc(), nullptr);
    EXPECT_TRUE(dump.View().BoardInProgress());

    dump.View().handOver.SetMode(true);  // the screen is replayed into the new document
    ASSERT_NE(dump.Doc(), nullptr);
    EXPECT_EQ(boardRows(*dump.Doc()), expectedRows(game.Stones()));
    EXPECT_EQ(dump.Doc()->LastMove(), (TWPoint{9, 9}));
    EXPECT_EQ(dump.Doc()->BottomLine(1).substr(0, 2), GameScript::kBottom.substr(0, 2));

    dump.View().handOver.SetMode(false);
    EXPECT_EQ(dump.Doc(), nullptr);
    EXPECT_FALSE(dump.View().BoardInProgress());
}

TEST(BadukHandOver, ServiceNameChoosesTheCommandsAndClicksSend) {
    BadukDump dump("\xB3\xAA\xBF\xEC\xB4\xA9\xB8\xAE");
    GoScreen::Game game;
    dump.Feed(GameScript::Stream(game));
    ASSERT_NE(dump.Doc(), nullptr);
    EXPECT_EQ(dump.Doc()->ServiceIndex(), 2);
    EXPECT_EQ(BadukDump::ClickText(30 + 3 * 25, 24 + 3 * 25, 25), "D 4");
    EXPECT_EQ(BadukDump::ClickText(30 - 25, 24, 25), "");  // the row numbers: no move
}

TEST(BadukHandOver, RandomBytesStayWithinBounds) {
    BadukDump dump;
    GoScreen::Game game;
    dump.Feed(GameScript::Stream(game));
    std::mt19937 random(26);
    for (int round = 0; round < 200; ++round) {
        std::string noise(256, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        dump.Feed(noise);
        if (!dump.View().BoardInProgress())
            dump.Feed(GoScreen::Board(game.Stones(), game.Last(), {}, {}));
    }
    dump.Feed("\x1b[24;80H\xB0");  // a lone lead byte at the last column
    SUCCEED();
}

}  // namespace
