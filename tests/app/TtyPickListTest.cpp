// The list drawn over the tty's screen: columns cut to their cells with Korean counted twice,
// numbering through sections with their headings, pages, picking by number or Enter, keys
// handed to the owner, rows replaced while it shows, Esc.
#include <gtest/gtest.h>

#include <clocale>

#include "app/tty/TtyPickList.h"
#include "tests/app/TtyKeyEvents.h"

namespace {

using Kind = TtyKey::Kind;

std::string trimmed(const std::string& line) {
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

std::vector<std::vector<std::string>> numberedRows(int count) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({"row" + std::to_string(i)});
    return rows;
}

class TtyPickListTest : public ::testing::Test {
protected:
    TtyPickListTest() {
        std::setlocale(LC_CTYPE, "C.UTF-8");
        list.picked = [this](TtyPickRow row) { picks.push_back(row); };
    }
    void keys(const std::vector<TtyKey>& pressed) {
        for (const TtyKey& key : pressed)
            list.OnKey(key);
    }

    TtyPickList list{"목록", {{"이름", 0}}};
    std::vector<TtyPickRow> picks;
};

TEST_F(TtyPickListTest, ColumnsAreCutToTheirCellsWithKoreanTwoCellsWide) {
    TtyPickList macros("매크로", {{"이름", 8}, {"단축키", 7}, {"내용", 0}});
    macros.SetRows({{"가나다라마바", "Ctrl+Shift+F5", "top<Enter>"},
                    {"a가나다라", "F2", std::string(60, 'x')},
                    {"짧음"}});
    macros.Resize(40, 6);
    macros.Open();
    const std::vector<TtyTextLine> lines = macros.Lines();
    ASSERT_EQ(lines.size(), 6u);
    for (const TtyTextLine& line : lines)
        EXPECT_EQ(DisplayWidth(line.text), 40) << line.text;
    EXPECT_EQ(trimmed(lines[0].text), " 매크로");
    EXPECT_EQ(trimmed(lines[1].text), "   이름     단축키  내용");
    EXPECT_EQ(lines[2].text, " 1 가나다라 Ctrl+Sh top<Enter>          ");
    EXPECT_EQ(lines[3].text, " 2 a가나다  F2      " + std::string(20, 'x'));
    EXPECT_EQ(trimmed(lines[4].text), " 3 짧음");
    EXPECT_EQ(lines[5].text, std::string(40, ' '));
    EXPECT_TRUE(lines[2].highlighted);
    EXPECT_FALSE(lines[3].highlighted);
}

TEST_F(TtyPickListTest, SectionsArePagedAndNumberedThrough) {
    std::vector<TtyPickSection> sections{{"최근 위치", numberedRows(5)}, {"최근 메뉴", {}}};
    for (int i = 6; i <= 10; ++i)
        sections[1].rows.push_back({"menu" + std::to_string(i)});
    list.SetSections(sections);
    list.Resize(30, 6);  // four lines a page below the title and the headings
    list.Open();
    EXPECT_EQ(list.PageCount(), 3);
    auto shown = [&] {
        std::vector<std::string> texts;
        for (const TtyTextLine& line : list.Lines())
            texts.push_back(trimmed(line.text));
        return texts;
    };
    EXPECT_EQ(shown(),
              (std::vector<std::string>{" 목록" + std::string(19, ' ') + "1/3쪽", "   이름",
                                        "[최근 위치]", " 1 row1", " 2 row2", " 3 row3"}));
    keys({plain(Kind::PageDown)});
    EXPECT_EQ(list.Current(), (TtyPickRow{0, 3}));
    EXPECT_EQ(shown()[2], " 4 row4");
    EXPECT_EQ(shown()[4], "[최근 메뉴]");
    EXPECT_EQ(shown()[5], " 6 menu6");
    keys({key(TWKey::Down), key(TWKey::Down), key(TWKey::Down)});
    EXPECT_EQ(list.Current(), (TtyPickRow{1, 1}));
    EXPECT_EQ(list.Page(), 2);
    keys({plain(Kind::End), plain(Kind::PageDown), key(TWKey::Down)});
    EXPECT_EQ(list.Current(), (TtyPickRow{1, 4}));
    keys({plain(Kind::PageUp)});
    EXPECT_EQ(list.Current(), (TtyPickRow{0, 3}));
    keys({plain(Kind::Home), key(TWKey::Up)});
    EXPECT_EQ(list.Current(), (TtyPickRow{0, 0}));

    // Enter picks the cursor's row and closes the list.
    keys({key(TWKey::Down), text("\r")});
    EXPECT_EQ(picks, (std::vector<TtyPickRow>{{0, 1}}));
    EXPECT_FALSE(list.Shown());
    EXPECT_FALSE(list.OnKey(text("\r")));
}

TEST_F(TtyPickListTest, NumbersPickAsSoonAsNoOtherRowCouldBeMeant) {
    struct Case {
        std::vector<TtyKey> keys;
        std::optional<size_t> picked;  // row index, or none while still open
    };
    const Case cases[] = {
        {{text("3")}, 2},              // no row 30
        {{text("1")}, std::nullopt},   // rows 10 to 15 could follow
        {{text("1"), text("2")}, 11},  //
        {{text("1"), text("\r")}, 0},  // Enter takes it as it stands
        {{text("1"), plain(Kind::Backspace), text("4")}, 3},
        {{text("0"), text("9")}, 8},  // no row 0: typed again
        {{TtyKey{Kind::Keypad, "7", TWKey::Keypad7, 0}}, 6},
        {{text("1"), plain(Kind::Escape)}, std::nullopt},
    };
    list.SetRows(numberedRows(15));
    list.Resize(80, 24);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys.size()) + " keys, first " + c.keys[0].text);
        picks.clear();
        list.Open();
        keys(c.keys);
        if (c.picked) {
            EXPECT_EQ(picks, (std::vector<TtyPickRow>{{0, *c.picked}}));
            EXPECT_FALSE(list.Shown());
        } else {
            EXPECT_TRUE(picks.empty());
        }
    }
    EXPECT_FALSE(list.Shown());  // Esc closed it
}

TEST_F(TtyPickListTest, OtherKeysGoToTheOwnerWhichMayReplaceTheRows) {
    std::vector<std::string> seen;
    list.otherKey = [&](const TtyKey& key, std::optional<TtyPickRow> current) {
        seen.push_back(key.text + (current ? std::to_string(current->row) : "-"));
        if (key.text == "d" && current) list.SetRows(numberedRows(2));
        return true;
    };
    list.SetRows(numberedRows(3));
    list.SetHint("Enter: 실행  +: 추가  Esc: 닫기");
    list.Open();
    keys({plain(Kind::End), text("d"), text("+")});
    EXPECT_EQ(seen, (std::vector<std::string>{"d2", "+1"}));  // the cursor stays on a row
    EXPECT_EQ(list.StatusText(), " Enter: 실행  +: 추가  Esc: 닫기");
    keys({text("1")});
    EXPECT_EQ(picks, (std::vector<TtyPickRow>{{0, 0}}));

    list.SetRows({});
    list.Open();
    keys({text("\r"), text("1"), plain(Kind::PageDown), text("e")});
    EXPECT_TRUE(picks.size() == 1 && list.Shown());
    EXPECT_EQ(seen.back(), "e-");
    EXPECT_EQ(trimmed(list.Lines()[2].text), "");
}

TEST_F(TtyPickListTest, ATypedNumberShowsOnTheStatusLine) {
    list.SetRows(numberedRows(20));
    list.SetHint("Esc: 닫기");
    list.Open();
    keys({text("1")});
    EXPECT_EQ(list.StatusText(), " 번호 1  Esc: 닫기");
    EXPECT_EQ(list.Current(), (TtyPickRow{0, 0}));
    keys({key(TWKey::Down)});
    EXPECT_EQ(list.StatusText(), " Esc: 닫기");
}

}  // namespace
