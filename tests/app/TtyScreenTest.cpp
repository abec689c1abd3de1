// What the tty screen writes, read back through libvterm standing for the host terminal: Korean
// over two cells at the right columns, one-cell box characters carried on into their second
// cell (or sent alone to a host that draws them wide), other symbols padded, the line plane,
// the 16 colours, output only for what changed, and the status line with long questions.
#include <gtest/gtest.h>
#include <vterm.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "app/tty/TtyScreen.h"
#include "link/MemoryLink.h"
#include "platform/TextCodec.h"
#include "term/CopyText.h"
#include "term/TWEmulator.h"
#include "tests/app/BoxTables.h"

namespace {

// UTF-8 as code points (the tests run in a UTF-8 locale).
std::u32string U(const char* utf8) {
    wchar_t wide[64];
    const size_t n = std::mbstowcs(wide, utf8, 64);
    return n == size_t(-1) ? U"" : std::u32string(wide, wide + n);
}

class TtyScreenTest : public ::testing::Test {
protected:
    TtyScreenTest() : emulator(&view, &link) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
        view.SetRows(24);
        vt = vterm_new(25, 80);
        vterm_set_utf8(vt, 1);
        screen = vterm_obtain_screen(vt);
        vterm_screen_reset(screen, 1);
    }
    ~TtyScreenTest() override { vterm_free(vt); }

    // Host text (CP949) through the interpreter.
    void host(const std::string& bytes) {
        link.Feed(bytes);
        while (emulator.GetChar() >= 0) {
        }
    }
    // One frame drawn into the host terminal; the bytes written.
    std::string render(std::vector<std::string> status = {""}, int width = 80,
                       std::vector<TtyTextLine> overlay = {}) {
        TtyFrame frame;
        frame.overlay = std::move(overlay);
        frame.width = width;
        frame.view = &view;
        frame.topRow = view.ScreenTop();
        frame.rows = view.Rows();
        frame.status = std::move(status);
        const std::string out = tty.Render(frame);
        vterm_input_write(vt, out.data(), out.size());
        return out;
    }
    VTermScreenCell cell(int row, int col) {
        VTermScreenCell c{};
        vterm_screen_get_cell(screen, VTermPos{row, col}, &c);
        return c;
    }
    char32_t at(int row, int col) { return cell(row, col).chars[0]; }
    // A host line as UTF-8, blank cells as spaces.
    std::string line(int row, int columns = 80) {
        char buffer[400];
        const size_t n = vterm_screen_get_text(screen, buffer, sizeof buffer,
                                               VTermRect{row, row + 1, 0, columns});
        std::string text(buffer, n);
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    int fgIndex(int row, int col) { return cell(row, col).fg.indexed.idx; }
    int bgIndex(int row, int col) { return cell(row, col).bg.indexed.idx; }

    MemoryLink link;
    TWView view;
    TWEmulator emulator;
    TtyScreen tty;
    VTerm* vt;
    VTermScreen* screen;
};

TEST_F(TtyScreenTest, KoreanTakesTwoCellsAndColumnsStayAligned) {
    // "가" (B0A1), "A", "─" (A6A1, one cell on the host), "B", "표" (C7A5), "C".
    host(
        "\xB0\xA1"
        "A"
        "\xA6\xA1"
        "B"
        "\xC7\xA5"
        "C");
    render();
    EXPECT_EQ(at(0, 0), U'가');
    EXPECT_EQ(cell(0, 0).width, 2);
    EXPECT_EQ(at(0, 2), U'A');
    EXPECT_EQ(at(0, 3), U'─');
    EXPECT_EQ(at(0, 4), U'─');  // the line goes on in the box character's second cell
    EXPECT_EQ(at(0, 5), U'B');
    EXPECT_EQ(at(0, 6), U'표');
    EXPECT_EQ(at(0, 8), U'C');
}

TEST_F(TtyScreenTest, BoxLinesJoinOnANarrowHostAndGoAloneToAWideOne) {
    for (const BoxTable& table : kBoxTables) {
        SCOPED_TRACE(table.page[0]);
        host("\x1b[H");
        for (const char* row : table.page)
            host(utf8ToCp949(row).value() + "\r\n");
        host(utf8ToCp949("±α 끝").value());
        tty.SetWideSymbols(false);
        render();
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(line(y), table.narrow[y]);
        EXPECT_EQ(line(5), "± α  끝");  // other symbols are followed by a blank
        // The copy text is the host's characters, without the strokes added on the host.
        const int top = view.ScreenTop();
        EXPECT_EQ(CopySelection(view, 0, top, 80, top), utf8ToCp949(table.page[0]).value());

        // A host that draws them wide gets each character alone, at its own column.
        tty.SetWideSymbols(true);
        render();
        EXPECT_EQ(at(0, 0), U(table.page[0])[0]);
        EXPECT_EQ(at(0, 1), 0u);
        EXPECT_EQ(at(0, 2), U(table.page[0])[1]);
        EXPECT_EQ(at(5, 0), U'±');
        EXPECT_EQ(at(5, 1), 0u);
        EXPECT_EQ(at(5, 2), U'α');
    }
}

TEST_F(TtyScreenTest, GraphicsCodesAndLinePlaneBecomeBoxCharacters) {
    host("\x1b(0lqk\x1b(B\r\n");
    view.MoveTo(1, 3);
    view.DrawBox(4, 3);
    render();
    EXPECT_EQ(line(0), "┌─┐");
    EXPECT_EQ(line(2), "┎──┒");
    EXPECT_EQ(line(3), "┃  ┃");
    EXPECT_EQ(line(4), "┖──┚");
}

TEST_F(TtyScreenTest, SixteenColoursReachTheHost) {
    host("\x1b[1;31;44mR\x1b[0;32;47mG\x1b[1;37;40mW");
    render();
    EXPECT_EQ(fgIndex(0, 0), 9);   // bright red
    EXPECT_EQ(bgIndex(0, 0), 4);   // blue
    EXPECT_EQ(fgIndex(0, 1), 2);   // green
    EXPECT_EQ(bgIndex(0, 1), 7);   // light grey
    EXPECT_EQ(fgIndex(0, 2), 15);  // white
    EXPECT_EQ(bgIndex(0, 2), 0);   // black
}

TEST_F(TtyScreenTest, OnlyChangedCellsAreWritten) {
    host("first line\r\nsecond line");
    const std::string full = render();
    EXPECT_EQ(render(), "");  // nothing changed
    host("\x1b[1;7HX");
    const std::string small = render();
    EXPECT_LT(small.size(), 40u);
    EXPECT_EQ(line(0), "first Xine");
    EXPECT_EQ(line(1), "second line");

    tty.Invalidate();
    EXPECT_GT(render().size(), full.size() / 2);
    EXPECT_EQ(line(0), "first Xine");
}

TEST_F(TtyScreenTest, LongQuestionsCoverTheRowsAboveAndGiveThemBack) {
    host("\x1b[23;1Hrow 23\r\nrow 24");
    render({"상태 줄"});
    EXPECT_EQ(line(24), "상태 줄");
    EXPECT_EQ(line(23), "row 24");

    std::string question(100, 'q');
    render(WrapToWidth(question + "\n예/아니오", 80));
    EXPECT_EQ(line(22), std::string(80, 'q'));
    EXPECT_EQ(line(23), std::string(20, 'q'));
    EXPECT_EQ(line(24), "예/아니오");

    render({""});
    EXPECT_EQ(line(22), "row 23");
    EXPECT_EQ(line(23), "row 24");
    EXPECT_EQ(line(24), "");
}

TEST_F(TtyScreenTest, QuestionsWiderThanTheScreenLeaveNothingBehind) {
    vterm_set_size(vt, 25, 100);
    host("\x1b[23;1Hrow 23");
    tty.Invalidate();
    render({""}, 100);
    render(WrapToWidth(std::string(150, 'q'), 100), 100);
    EXPECT_EQ(line(23, 100), std::string(100, 'q'));

    render({""}, 100);
    EXPECT_EQ(line(22, 100), "row 23");
    EXPECT_EQ(line(23, 100), "");
}

TEST_F(TtyScreenTest, AListOverTheScreenGivesItBackCellForCell) {
    host("\x1b[1;31m" + utf8ToCp949("첫 줄 가나다").value() + "\x1b[0m\r\nsecond\x1b[5;1Hfifth");
    render();
    const int red = fgIndex(0, 0);
    render({"목록"}, 80, {{"  1 가나  F2", false}, {"  2 " + std::string(90, 'x'), true}});
    EXPECT_EQ(line(0), "  1 가나  F2");
    EXPECT_EQ(at(0, 4), U'가');
    EXPECT_EQ(cell(0, 4).width, 2);
    EXPECT_EQ(line(1), "  2 " + std::string(76, 'x'));  // cut at the screen's edge
    EXPECT_TRUE(cell(1, 0).attrs.reverse || bgIndex(1, 0) == 7);
    EXPECT_EQ(line(4), "");
    EXPECT_EQ(line(24), "목록");

    // Meanwhile the host wrote on; without the list every cell is the host's again.
    host("\x1b[3;1Hthird");
    render();
    EXPECT_EQ(line(0), "첫 줄 가나다");
    EXPECT_EQ(fgIndex(0, 0), red);
    EXPECT_EQ(line(1), "second");
    EXPECT_EQ(line(2), "third");
    EXPECT_EQ(line(4), "fifth");
    EXPECT_EQ(line(24), "");
}

TEST(TtyTextTest, WidthsFitAndWrap) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    EXPECT_EQ(DisplayWidth("ab한글"), 6);
    EXPECT_EQ(FitToWidth("한글abc", 5), "한글a");
    EXPECT_EQ(FitToWidth("한글", 3), "한 ");  // a character that does not fit whole goes
    EXPECT_EQ(WrapToWidth("가나다라", 5), (std::vector<std::string>{"가나", "다라"}));
}

}  // namespace
