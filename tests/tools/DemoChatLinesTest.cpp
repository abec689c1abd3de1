// Every chat line the demo host makes has exactly the shape the played service gives it.
#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "tests/tools/DemoChatShapes.h"
#include "tools/demohost/ChatLines.h"

namespace {

std::string k(const char* utf8) {
    return utf8ToCp949(utf8).value();
}

TEST(DemoChatLines, EachLineHasItsOneShape) {
    struct Case {
        std::string line;  // CP949, as the host sends it
        const char* kind;
        std::vector<std::string> captures;
    } cases[] = {
        {chat::EnterLine(k("하늘이"), "haneul"), "enter", {"하늘이", "haneul"}},
        {chat::EnterLine("guest12", "guest12"), "enter", {"guest12", "guest12"}},
        {chat::LeaveLine(k("별빛"), "byeol"), "leave", {"별빛", "byeol"}},
        {chat::SpeakerLine(k("하늘이"), "haneul", k("안녕하세요")),
         "speaker",
         {"하늘이", "haneul", "안녕하세요"}},
        {chat::SpeakerLine("abcdefgh", "abcdefgh", "x  y"),
         "speaker",
         {"abcdefgh", "abcdefgh", "x  y"}},
        {chat::WhisperSetLine("byeol"), "whisper set", {"byeol"}},
        {chat::WhisperClearedLine("byeol"), "whisper cleared", {"byeol"}},
        {chat::MemoLine("haneul", k("쪽지입니다")), "memo", {"haneul", "쪽지입니다"}},
        {chat::OnlineLine("haneul", k("하늘이"), "12/08 09:30"),
         "online",
         {"haneul", "하늘이", "대화실", "12/08 09:30", "CHAT"}},
        {chat::OfflineLine("nobody"), "offline", {"nobody", "nobody"}},
        {chat::LeavePrompt(), "leave prompt", {}},
    };
    for (const Case& c : cases) {
        const std::string line = cp949ToUtf8(c.line).value();
        EXPECT_EQ(chatKinds(line), std::vector<std::string>{c.kind}) << line;
        for (const ChatShape& shape : chatShapes()) {
            if (shape.kind != std::string(c.kind)) continue;
            const std::optional<std::vector<std::string>> captures = chatCaptures(shape, line);
            ASSERT_TRUE(captures) << line;
            EXPECT_EQ(*captures, c.captures) << line;
        }
    }
}

TEST(DemoChatLines, NamesOfEnteringPeopleAreValidIds) {
    // The enter notice is taken only when the name is 4 to 8 bytes.
    for (const char* name : {"하늘이", "별빛"}) {
        const size_t bytes = k(name).size();
        EXPECT_GE(bytes, 4u) << name;
        EXPECT_LE(bytes, 8u) << name;
    }
}

TEST(DemoChatLines, RelayedTextKeepsPrintableCp949Only) {
    struct Case {
        std::string typed;
        std::string relayed;
    } cases[] = {
        {"plain", "plain"},
        {"a\x1b[31mb", "a[31mb"},
        {"**\x18"
         "B00",
         "**B00"},
        {"\x01\x07\x08\x7f\x0d\x0a", ""},
        {k("한글") + "\x1b", k("한글")},
        {"\xB0", ""},      // a lead byte alone
        {"\xB0\x1b", ""},  // a lead byte before a control byte
        {std::string(300, 'a'), std::string(200, 'a')},
        {"a" + std::string(300, '\xB0'), "a" + std::string(198, '\xB0')},  // never half a pair
    };
    for (const Case& c : cases)
        EXPECT_EQ(chat::Relayable(c.typed), c.relayed) << c.typed;
}

}  // namespace
