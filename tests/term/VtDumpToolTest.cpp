// quilite-vtdump as other tools see it: its command line, exit status and the JSON contract.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/term/VtDumpRunner.h"

namespace {

TEST(VtDumpTool, BadCommandLinesExitWithTwoAndSayWhy) {
    for (const char* args :
         {"--rows 0", "--rows 100", "--rows x", "--rows", "--bogus", "/nonexistent/file", "a b"}) {
        VtDumpResult r = vtdump(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("quilite-vtdump: "), std::string::npos) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    VtDumpResult help = vtdump("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: quilite-vtdump"), std::string::npos);
}

TEST(VtDumpTool, PrintsScreenHistoryRepliesAndEventsAsJson) {
    // Four lines into three rows push two rows into the history.
    std::string input =
        "one\r\ntwo\r\nthree\r\nfour\r\n"
        "\x1b[1;31m\xB0\xA1\x80?\x1b(0l\x1b(B \"q\\\x1b[6n**\x18"
        "B00";
    VtDumpResult r = vtdump("--rows 3", &input);
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["rows"], 3);
    EXPECT_EQ(j["scrolled"], 2);
    EXPECT_EQ(j["caret"], true);
    EXPECT_EQ(j["attr"], 0x1C);
    EXPECT_EQ(j["region"], nlohmann::json::array({0, 2}));
    ASSERT_EQ(j["screen"].size(), 3u);
    ASSERT_EQ(j["history"].size(), 2u);
    EXPECT_EQ(j["history"][0]["text"], "one");
    EXPECT_EQ(j["history"][1]["text"], "two");
    EXPECT_EQ(j["screen"][0]["text"], "three");
    const nlohmann::json& last = j["screen"][2];
    // 가, an unconvertible byte, '?', the graphics code 1, then  "q\  .
    EXPECT_EQ(last["text"], "\xEA\xB0\x80\xEF\xBF\xBD?\x01 \"q\\");
    EXPECT_NE(r.out.find("\\u0001 \\\"q\\\\\""), std::string::npos);
    EXPECT_EQ(last["chars"].get<std::string>().substr(0, 18), "b0a1803f012022715c");
    EXPECT_EQ(last["chars"].get<std::string>().size(), 160u);
    EXPECT_EQ(last["attrs"].get<std::string>().substr(0, 4), "1c1c");
    std::string blankLines;
    for (int i = 0; i < 80; ++i)
        blankLines += "20";
    EXPECT_EQ(last["lines"], blankLines);
    EXPECT_EQ(last["flag"], 0);
    EXPECT_EQ(j["cursor"], nlohmann::json::array({9, 2}));
    EXPECT_EQ(j["replies"], "1b5b333b313052");
    EXPECT_EQ(j["events"], nlohmann::json::array({-806}));
}

TEST(VtDumpTool, JohabAndEchoOptions) {
    std::string input = "\x88\x61\r";
    VtDumpResult r = vtdump("--johab --echo", &input);
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["screen"][0]["text"], "\xEA\xB0\x80");
    EXPECT_EQ(j["replies"],
              "8861"
              "0d0a");
    EXPECT_EQ(j["cursor"], nlohmann::json::array({0, 1}));
}

}  // namespace
