// The demo host's Go page through the terminal with Baduk mode on: the board opens as it is
// drawn, a move is answered with the stone and a reply, the service commands are answered.
#include <gtest/gtest.h>

#include "baduk/BadukDoc.h"
#include "tests/tools/DemoHostProcess.h"
#include "tools/BadukDump.h"

namespace {

class DemoGo : public DemoHostTestBase {};

const std::string kPrompt = cp949("/Z /RE /P >> ");

TEST_F(DemoGo, APlayedMoveIsAnsweredOnTheBoard) {
    int fd = host.logIn("player", "pw");
    ASSERT_GE(fd, 0);
    BadukDump dump;
    dump.Feed(exchange(fd, "go BADUK\r", kPrompt));
    ASSERT_NE(dump.Doc(), nullptr);
    EXPECT_TRUE(dump.Doc()->Moves().empty());
    EXPECT_EQ(dump.Doc()->SideLine(0).substr(0, 12), cp949("바둑 (BADUK)"));

    dump.Feed(exchange(fd, "D 4\r", kPrompt));
    const CBadukDoc* doc = dump.Doc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->StoneAt(3, 3), CBadukDoc::kBlack);
    EXPECT_EQ(doc->StoneAt(15, 3), CBadukDoc::kWhite);
    EXPECT_EQ(doc->Moves(), (std::vector<std::string>{"B[dd]", "W[pd]"}));
    EXPECT_EQ(doc->LastMove(), (TWPoint{15, 3}));

    dump.Feed(exchange(fd, "/CO\r", kPrompt));
    const std::string answer = cp949("계가를 신청했습니다.");
    EXPECT_EQ(dump.Doc()->BottomLine(0).substr(1, answer.size()), answer);
    dump.Feed(exchange(fd, "/RE\r", kPrompt));
    EXPECT_EQ(dump.Doc()->StoneAt(3, 3), CBadukDoc::kEmpty);
    EXPECT_EQ(dump.Doc()->Moves().size(), 2u);  // the record keeps what was played

    dump.Feed(exchange(fd, "/P\r", demoMenuPrompt()));  // the main menu clears the screen
    EXPECT_EQ(dump.Doc(), nullptr);
    close(fd);
}

// A window of 24 rows after the menu's coloured prompt: the prompt is on the bottom row, and
// the typed move's line end must not scroll the board away from the rows the host draws its
// stones on; the host's normal colours must be the terminal's default ones again, or its
// reply would not read as white's last move.
TEST_F(DemoGo, ATypedMoveKeepsTheBoardInPlaceOnTwentyFourRows) {
    int fd = host.logIn("player", "pw");
    ASSERT_GE(fd, 0);
    BadukDump dump;
    dump.View().SetRows(24);
    dump.Feed("\x1b[1;33m>>\x1b[0m ");  // the menu prompt's colours, as a terminal saw them
    dump.Feed(exchange(fd, "go BADUK\r", kPrompt));
    dump.Feed(exchange(fd, "D 4\r", kPrompt));
    const TWView& view = dump.View();
    const uint8_t* top = view.CharRow(view.ScreenTop());
    EXPECT_EQ(std::string(top, top + 7), "   A B ");
    ASSERT_NE(dump.Doc(), nullptr);
    EXPECT_EQ(dump.Doc()->Moves(), (std::vector<std::string>{"B[dd]", "W[pd]"}));
    close(fd);
}

}  // namespace
