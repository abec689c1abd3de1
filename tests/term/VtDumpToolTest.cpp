// quilite-vtdump as other tools see it: its command line, exit status and the JSON contract.
#include <gtest/gtest.h>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
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

namespace {

// The host's side of a chat dialogue file as a captured session: its sent lines in CP949,
// without the last `drop` of them.
std::string capturedDialogue(const std::string& file, size_t drop) {
    std::ifstream in(std::string(QUILITE_SOURCE_DIR) + "/tests/fixtures/bbs/" + file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("send ")) lines.push_back(utf8ToCp949(line.substr(5)).value());
    std::string capture;
    for (size_t i = 0; i + drop < lines.size(); ++i)
        capture += lines[i] + "\r\n";
    return capture;
}

}  // namespace

TEST(VtDumpTool, ServiceRunsTheChatAssistantOnACapturedSession) {
    std::string input = capturedDialogue("chat-chollian.txt", 1);
    VtDumpResult r = vtdump("--service 천리안 --own-id guest01 --colour kim001=12", &input);
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    const nlohmann::json& chat = j["chat"];
    EXPECT_EQ(chat["room"], true);
    EXPECT_EQ(chat["participants"],
              nlohmann::json::parse(R"([["hong01","길동이",-1],["kim001","철수",12]])"));
    EXPECT_EQ(chat["presence"], nlohmann::json::parse(R"({"abc01":"O","lee01":"O","park01":"X"})"));
    ASSERT_EQ(chat["memos"].size(), 1u);
    EXPECT_TRUE(chat["memos"][0].get<std::string>().ends_with("\tlee01\t안녕하세요"));
    // The "/u" question, in CP949.
    EXPECT_EQ(j["replies"], "2f7520c8abb1e6b5bf0d");
    int coloured = 0;
    for (const nlohmann::json& line : chat["lines"]) {
        if (line["text"] == "철수>빨간 줄" || line["text"] == "(!)귀엣말입니다") {
            EXPECT_EQ(line["colour"], line["text"] == "철수>빨간 줄" ? 12 : -2);
            ++coloured;
        }
    }
    EXPECT_EQ(coloured, 2);
    // The coloured row on the screen.
    for (const nlohmann::json& row : j["screen"]) {
        if (row["text"] == "철수>빨간 줄") {
            EXPECT_EQ(row["attrs"].get<std::string>().substr(0, 4), "1c1c");
        }
    }

    for (const char* args :
         {"--service 천리안 --colour kim001", "--colour =3", "--service 천리안 --colour a=16",
          "--service 천리안 --db /nonexistent/x/y"}) {
        VtDumpResult bad = vtdump(args, &input);
        EXPECT_EQ(bad.status, 2) << args;
    }
}
