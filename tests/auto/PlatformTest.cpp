#include <gtest/gtest.h>

#include "platform/ScriptedPrompt.h"
#include "platform/TextCodec.h"
#include "tests/fixtures/FakeClock.h"

namespace {

TEST(TextCodecTest, KoreanRoundTripsAndBadInputIsRefused) {
    EXPECT_EQ(utf8ToCp949("하이텔 A"), "\xC7\xCF\xC0\xCC\xC5\xDA A");
    EXPECT_EQ(cp949ToUtf8("\xC7\xCF\xC0\xCC\xC5\xDA A"), "하이텔 A");
    EXPECT_EQ(utf8ToUtf16le("가"), std::string("\x00\xAC", 2));
    EXPECT_EQ(utf16leToUtf8(std::string("\x00\xAC", 2)), "가");
    EXPECT_FALSE(cp949ToUtf8("\xB0"));              // a lead byte alone
    EXPECT_FALSE(utf8ToCp949("\xF0\x9F\x98\x80"));  // no CP949 code
    EXPECT_EQ(cp949ToUtf8(""), "");
}

TEST(ScriptedPromptTest, AnswersFromTheScriptThenWithTheFirstButton) {
    ScriptedPrompt prompt;
    prompt.expect(PromptAnswer::Cancel, true);
    PromptReply reply = prompt.show(
        {"질문", PromptButtons::OkCancel, PromptIcon::Question, "다시 묻지 않기", false});
    EXPECT_EQ(reply.answer, PromptAnswer::Cancel);
    EXPECT_TRUE(reply.checked);
    EXPECT_EQ(prompt.ask("질문", PromptButtons::YesNoCancel, PromptIcon::Question),
              PromptAnswer::Yes);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].checkText, "다시 묻지 않기");
}

TEST(ScriptedPromptTest, WaitNoticesAppearAfterTheirDelayAndCanBeCancelled) {
    FakeClock clock;
    ScriptedPrompt prompt(clock);
    prompt.cancelWaitsAfter(2);
    auto wait = prompt.beginWait("기다리는 중", 500);
    EXPECT_FALSE(wait->cancelled());
    EXPECT_TRUE(prompt.waitsShown.empty());
    clock.advance(500);
    EXPECT_FALSE(wait->cancelled());
    EXPECT_EQ(prompt.waitsShown, std::vector<std::string>{"기다리는 중"});
    EXPECT_TRUE(wait->cancelled());
}

}  // namespace
