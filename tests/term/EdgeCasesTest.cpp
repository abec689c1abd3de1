// The screen's and the interpreter's corner cases, checked through the quilite-vtdump program
// and its JSON, as other tools see them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "tests/term/VtDumpRunner.h"

namespace {

using nlohmann::json;

json dump(const std::string& input, const std::string& args = "") {
    return json::parse(vtdumpJson(input, args));
}

std::string text(const json& j, int row) {
    return j["screen"][row]["text"];
}
// Byte x of a row's character plane, as two hex digits.
std::string cell(const json& j, int row, int x) {
    return j["screen"][row]["chars"].get<std::string>().substr(2 * x, 2);
}

std::string labelledRows() {
    std::string s;
    for (int y = 1; y <= 25; ++y)
        s += "\x1b[" + std::to_string(y) + ";1HR" + std::to_string(y);
    return s;
}

TEST(EdgeCases, HangulOnColumn80GoesToTheNextRowWhole) {
    json j = dump("\x1b[1;80HZ\x1b[1;80H\xB0\xA1");
    EXPECT_EQ(cell(j, 0, 79), "5a");
    EXPECT_EQ(text(j, 1), "\xEA\xB0\x80");
}

TEST(EdgeCases, LetterOverHalfAPair) {
    EXPECT_EQ(text(dump("\xA6\xA1\x1b[1;2HA"), 0), " A");
    json hangul = dump("\xB0\xA1\x1b[1;2HA");
    EXPECT_EQ(cell(hangul, 0, 0), "b0");
    EXPECT_EQ(cell(hangul, 0, 1), "41");
}

TEST(EdgeCases, LeadByteBeforeACursorMoveStaysWhereItArrived) {
    json j = dump("\xB0\x1b[1;5HA");
    EXPECT_EQ(j["screen"][0]["chars"].get<std::string>().substr(0, 10), "b020202041");
}

TEST(EdgeCases, HistoryKeepsTheRowsTheScreenDoesNotUse) {
    std::string lines;
    for (int i = 0; i < 1000; ++i)
        lines += "L" + std::to_string(i) + "\r\n";
    json j = dump(lines);
    ASSERT_EQ(j["history"].size(), 793u);
    EXPECT_EQ(j["history"][0]["text"], "L183");
    EXPECT_EQ(j["history"][792]["text"], "L975");
    EXPECT_EQ(dump(lines, "--rows 99")["history"].size(), 719u);
}

TEST(EdgeCases, RegionScrollPushesOnlyItsTopLine) {
    json j = dump(labelledRows() + "\x1b[5;10r\x1b[10;1H\n");
    ASSERT_EQ(j["history"].size(), 1u);
    EXPECT_EQ(j["history"][0]["text"], "R5");
    EXPECT_EQ(text(j, 3), "R4");
    EXPECT_EQ(text(j, 4), "R6");
    EXPECT_EQ(text(j, 9), "");
    EXPECT_EQ(text(j, 10), "R11");
}

TEST(EdgeCases, EightyCharactersAndALineEndUseOneRow) {
    json j = dump(std::string(80, 'x') + "\r\nnext");
    EXPECT_EQ(text(j, 1), "next");
}

TEST(EdgeCases, ClearingTwicePushesOneScreen) {
    EXPECT_EQ(dump("hello\x1b[2J\x1b[2J")["history"].size(), 25u);
}

TEST(EdgeCases, RegionZeroZeroIsTheWholeScreen) {
    EXPECT_EQ(dump("\x1b[3;9r\x1b[0;0r")["region"], json::array({0, 24}));
}

TEST(EdgeCases, DeletingFiftyLinesOnRow21BlanksTheRest) {
    json j = dump(labelledRows() + "\x1b[21;1H\x1b[50M");
    EXPECT_EQ(text(j, 19), "R20");
    for (int y = 20; y < 25; ++y)
        EXPECT_EQ(text(j, y), "") << y;
}

TEST(EdgeCases, BoldBrightensDarkColoursOnly) {
    EXPECT_EQ(dump("\x1b[=8F\x1b[1m")["attr"], 0x17);
    EXPECT_EQ(dump("\x1b[=12F\x1b[1m")["attr"], 0x1C);
}

TEST(EdgeCases, InterpreterCornerCases) {
    EXPECT_EQ(dump("\x1b[5;10H")["cursor"], json::array({9, 4}));
    EXPECT_EQ(dump("\x1b[5;99H")["cursor"], json::array({79, 4}));
    EXPECT_EQ(dump("\x1b[3;7H\x1b[6n")["replies"], "1b5b333b3752");
    EXPECT_EQ(dump("\x1b[1;31;44m")["attr"], 0x1C);
    EXPECT_EQ(text(dump("\x1b[4mA B"), 0), "A_B");
    json zmodem = dump(
        "**\x18"
        "B00");
    EXPECT_EQ(zmodem["events"], json::array({-806}));
    EXPECT_EQ(text(zmodem, 0), "");
    EXPECT_EQ(dump("***\x18"
                   "B00")["events"],
              json::array());
    json picture = dump(
        "\x18\n\x1b[10,5H**\x18"
        "B00");
    EXPECT_EQ(picture["cursor"], json::array({10, 5}));
    EXPECT_EQ(picture["events"], json::array({-817}));
    EXPECT_EQ(dump("\x9b?25l")["caret"], true);
    EXPECT_EQ(dump("\x1b(0lqk")["screen"][0]["chars"].get<std::string>().substr(0, 6), "010602");
    EXPECT_EQ(text(dump("\x1b[1;2;3;4;5;6;7;8;9;10;11;12m"), 0), "12m");
}

}  // namespace
