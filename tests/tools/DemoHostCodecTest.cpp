// The demo host's telnet codec, its line input and its ID rule, byte for byte.
#include <gtest/gtest.h>

#include "tools/demohost/DemoSession.h"
#include "tools/demohost/LineInput.h"
#include "tools/demohost/TelnetServerCodec.h"

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST(DemoTelnetCodec, GreetingOffersEchoSgaBinaryAndAsksTerminalType) {
    EXPECT_EQ(TelnetServerCodec::Greeting(),
              bytes({255, 251, 1, 255, 251, 3, 255, 253, 24, 255, 251, 0, 255, 253, 0}));
}

TEST(DemoTelnetCodec, AnswersAndData) {
    struct Case {
        const char* what;
        std::string in;
        std::string data;
        std::string replies;
    } cases[] = {
        {"plain data", "abc", "abc", ""},
        {"IAC undoubled", bytes({'a', 255, 255, 'b'}), bytes({'a', 255, 'b'}), ""},
        {"agreements need no answer", bytes({255, 253, 1, 255, 253, 3, 255, 251, 0}), "", ""},
        {"terminal type asked once", bytes({255, 251, 24, 255, 251, 24}), "",
         bytes({255, 250, 24, 1, 255, 240})},
        {"other DO refused", bytes({255, 253, 31, 'x'}), "x", bytes({255, 252, 31})},
        {"other WILL refused", bytes({255, 251, 31}), "", bytes({255, 254, 31})},
        {"client WILL ECHO refused", bytes({255, 251, 1}), "", bytes({255, 254, 1})},
        {"WONT and DONT accepted quietly", bytes({255, 252, 0, 255, 254, 3}), "", ""},
        {"NOP and GA carry nothing", bytes({255, 241, 'a', 255, 249}), "a", ""},
        {"subnegotiation stripped", bytes({'a', 255, 250, 24, 0, 'v', 't', 255, 240, 'b'}), "ab",
         ""},
    };
    for (const Case& c : cases) {
        TelnetServerCodec codec;
        std::string data, replies;
        codec.Decode(c.in, data, replies);
        EXPECT_EQ(data, c.data) << c.what;
        EXPECT_EQ(replies, c.replies) << c.what;
    }
}

TEST(DemoTelnetCodec, CommandsSpanCallsAndLongSubnegotiationsAreDropped) {
    TelnetServerCodec codec;
    std::string data, replies;
    const std::string type = bytes({255, 250, 24, 0}) + "xterm" + bytes({255, 240});
    for (char c : type + "z")
        codec.Decode(std::string(1, c), data, replies);
    EXPECT_EQ(codec.TerminalType(), "xterm");
    EXPECT_EQ(data, "z");

    const std::string huge = bytes({255, 250, 24, 0}) + std::string(1000, 'q') + bytes({255, 240});
    codec.Decode(huge + "after", data, replies);
    EXPECT_EQ(codec.TerminalType(), "xterm");
    EXPECT_EQ(data, "zafter");

    // An unterminated one swallows what follows, but only into its capped buffer.
    codec.Decode(bytes({255, 250, 24}) + std::string(100000, 'r'), data, replies);
    EXPECT_EQ(data, "zafter");
}

TEST(DemoTelnetCodec, EncodeDoublesIac) {
    EXPECT_EQ(TelnetServerCodec::Encode(bytes({'a', 255, 'b', 255})),
              bytes({'a', 255, 255, 'b', 255, 255}));
}

TEST(DemoLineInput, LineEndsEchoAndRubOut) {
    struct Case {
        const char* what;
        std::string typed;
        std::vector<std::string> lines;
        std::string echo;
    } cases[] = {
        {"CR NUL", bytes({'a', '\r', 0, 'b', '\r', 0}), {"a", "b"}, "a\r\nb\r\n"},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
        {"lone CR and LF", "a\rb\nc", {"a", "b"}, "a\r\nb\r\nc"},
        {"empty lines", "\r\n\n", {"", ""}, "\r\n\r\n"},
        {"BS and DEL",
         "ab\bc\x7f"
         "d\r",
         {"ad"},
         "ab\b \bc\b \bd\r\n"},
        {"double-byte rubbed out whole", "\xB0\xA1\x08x\r", {"x"}, "\xB0\xA1\b \b\b \bx\r\n"},
        {"control bytes ignored", std::string("a\x01\x18") + "b\r", {"ab"}, "ab\r\n"},
        {"key sequences ignored",
         std::string("a\x1b[A\x1bOPb\x1b[1;5C") + "c\r",
         {"abc"},
         "abc\r\n"},
    };
    for (const Case& c : cases) {
        LineInput input;
        input.Feed(c.typed);
        std::vector<std::string> lines;
        std::string echo;
        while (auto line = input.NextLine(echo))
            lines.push_back(*line);
        EXPECT_EQ(lines, c.lines) << c.what;
        EXPECT_EQ(echo, c.echo) << c.what;
    }
}

TEST(DemoLineInput, MaskedEchoGovernsTheLineAfterThePrompt) {
    LineInput input;
    input.Feed("guest\rsecret\r");
    std::string echo;
    EXPECT_EQ(input.NextLine(echo), "guest");
    input.SetEcho(LineInput::Echo::Masked);
    EXPECT_EQ(input.NextLine(echo), "secret");
    EXPECT_EQ(echo, "guest\r\n******\r\n");
}

TEST(DemoLineInput, LongLinesAreCut) {
    LineInput input;
    input.Feed(std::string(1 << 20, 'a') + "\r");
    std::string echo;
    EXPECT_EQ(input.NextLine(echo), std::string(LineInput::kMaxLine, 'a'));
}

TEST(DemoShownId, PassesTheFourToEightByteRule) {
    struct Case {
        std::string typed;
        std::string shown;
    } cases[] = {
        {"Guest", "guest"},
        {"ABCdef123456", "abcdef12"},
        {"a-b_c.d", "abcd"},
        {"abc", "guest7"},
        {"\x01\x02\x1b[Ax", "guest7"},
        {"\xB0\xA1\xB3\xAA", "guest7"},
        {std::string(200, 'z'), "zzzzzzzz"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownId(c.typed, 7), c.shown) << c.typed;
    EXPECT_EQ(ShownId("", 1234), "guest234");
}

}  // namespace
