// Auto macros without a session: the pattern language, the key notation, the paced sender and
// the prefiltered rule list against a plain loop over the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "auto/AutoMacroList.h"
#include "auto/DoubleByteText.h"
#include "auto/KeyNotation.h"
#include "auto/MacroSender.h"
#include "auto/RoomCommand.h"
#include "auto/Services.h"
#include "platform/TextCodec.h"

namespace {

std::string cp(const std::string& utf8) {
    return utf8ToCp949(utf8).value();
}

// What a reply did, as text: bytes as they are, "[held]" groups, "{pause N}", "{cmd N}".
class RecordingOutput : public MacroOutput {
public:
    std::string log;
    int stopAfterPauses = -1;  // the n-th pause asks to stop

    void SendByte(uint8_t c) override { log += static_cast<char>(c); }
    void SendText(std::string_view text) override { log += "[" + std::string(text) + "]"; }
    void SendLine(std::string_view text) override { log += "[" + std::string(text) + "\r]"; }
    bool PumpDelay(int ms) override {
        log += "{pause " + std::to_string(ms) + "}";
        return stopAfterPauses < 0 || --stopAfterPauses > 0;
    }
    void PostCommand(int id) override { log += "{cmd " + std::to_string(id) + "}"; }
    void PlaySound(const std::string& path) override { log += "{sound " + path + "}"; }
};

struct MatchCase {
    const char* pattern;
    const char* line;  // UTF-8
    bool matches;
    Captures captures;
};

TEST(AutoMacroPatternTest, MatchesAndCapturesAsTheRulesSay) {
    const MatchCase cases[] = {
        {"ID:%1", "Your ID: abc", true, {{"%1", " abc"}}},
        {"%1님이 입장", "*** 홍길동님이 입장하였습니다", true, {{"%1", "홍길동"}}},
        {"from %1 to %2", "from a b to c", false, {}},
        {"from %1 to %2", "from a to c d", true, {{"%1", "a"}, {"%2", "c"}}},
        {"%1", "one two three", true, {{"%1", "three"}}},
        {"%1", "abc", true, {{"%1", "abc"}}},
        {"%1:", "x (y):", false, {}},  // a first capture holding a parenthesis
        {"a%1", "ab(c)", true, {{"%1", "b(c)"}}},
        {"a%1", "ab c", true, {{"%1", "b"}}},
        {"b%1c", "abxc", true, {{"%1", "x"}}},
        {"c%1b", "abc", false, {}},   // pieces in order
        {"ABC", "xabcx", false, {}},  // case-sensitive
        {"100%%", "rate 100% now", true, {}},
        {"50%", "at 50% load", true, {}},  // a trailing '%' is literal
        {"%1%2", "one two", true, {{"%1", ""}, {"%2", "one"}}},
        {"x%1%2y", "x12y", true, {{"%1", ""}, {"%2", "12"}}},
        {"", "anything", false, {}},
        {"d", "햏", false, {}},  // 'd' only as the trail byte of the pair
        {"햏%1", "햏d 값", true, {{"%1", "d"}}},
        {"%9번", "게시판 12번", true, {{"%9", "12"}}},
        {"[Enter]를 누르세요", "  -- [Enter]를 누르세요 --", true, {}},
    };
    for (const MatchCase& c : cases) {
        Captures captures{{"stale", "x"}};
        EXPECT_EQ(MatchAutoMacroPattern(cp(c.pattern), cp(c.line), captures), c.matches)
            << c.pattern << " / " << c.line;
        Captures expected;
        for (auto& [name, value] : c.captures)
            expected[name] = cp(value);
        EXPECT_EQ(captures, c.matches ? expected : Captures{}) << c.pattern;
    }
}

TEST(AutoMacroPatternTest, BrokenPairsAndOddInputNeverMatch) {
    Captures captures;
    EXPECT_FALSE(MatchAutoMacroPattern("%1", std::string("ab\xB0", 3), captures));
    EXPECT_FALSE(MatchAutoMacroPattern("%1",
                                       std::string("a\xC9"
                                                   "bc"),
                                       captures));
    EXPECT_TRUE(HasWholePairs(cp("햏햏 abc")));  // extended syllables with ASCII trails
    const std::string percents(512, '%');
    EXPECT_TRUE(MatchAutoMacroPattern(percents, percents, captures));  // 256 literal '%'
    EXPECT_FALSE(MatchAutoMacroPattern(percents + "%1", std::string(200, '%'), captures));
    EXPECT_TRUE(MatchAutoMacroPattern(percents + "%1", std::string(300, '%'), captures));
    EXPECT_EQ(captures["%1"], std::string(44, '%'));
}

TEST(KeyNotationTest, ExpandsNamesAndHandlesMalformedGroups) {
    const std::pair<const char*, std::string> cases[] = {
        {"abc<Enter>", "abc\r"},
        {"<Esc>[A<Tab>", "\x1b[A\t"},
        {"<Ctrl-A><Ctrl-Z>", "\x01\x1a"},
        {"<Ctrl-c>x", "x"},
        {"<<Enter>", "<Enter>"},
        {"<enter>", "enter>"},
        {"a<", "a"},
        {"<Ctrl-", ""},
        {"<Ctrl-A", ""},
        {"<Ctrl-한글>", ">"},
        {"<한글", "한글"},
        {"한<Enter>글", "한\r글"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ExpandKeyNotation(cp(text)), cp(expected)) << text;
}

TEST(KeyNotationTest, ReplaceAllAndCapturesDoNotRescan) {
    EXPECT_EQ(ReplaceAll("aXbXc", "X", "XX"), "aXXbXXc");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
    Captures captures{{"%1", "%2"}, {"%2", "two"}};
    EXPECT_EQ(ReplaceCaptures("[%1][%2][%3]%", captures), "[%2][two][%3]%");
}

TEST(MacroSenderTest, PacesPiecesAndDollarCommas) {
    const std::pair<const char*, const char*> cases[] = {
        {"abc\r", "[abc][\r]{pause 50}[]"},
        {"a\rb", "[a][\r]{pause 50}[b]"},
        {"id$,pw", "id{pause 500}pw"},
        {"$", "[$]"},
        {"a$,\r$", "a{pause 500}[\r]{pause 50}[$]"},
    };
    for (const auto& [text, expected] : cases) {
        RecordingOutput out;
        EXPECT_TRUE(SendMacroText(text, out));
        EXPECT_EQ(out.log, expected) << text;
    }
    RecordingOutput stopped;
    stopped.stopAfterPauses = 1;
    EXPECT_FALSE(SendMacroText("a\rb\rc", stopped));
    EXPECT_EQ(stopped.log, "[a][\r]{pause 50}");
}

TEST(MacroSenderTest, FireSendsTheExpandedReplyThenCommandAndSound) {
    RecordingOutput out;
    FireAutoMacro({{"SendString", "hi %1<Enter>"}, {"Cmd", "32771"}, {"PlaySound", "/x.wav"}},
                  {{"%1", "<Esc>"}}, out);
    EXPECT_EQ(out.log, "[hi <Esc>][\r]{pause 50}[]{cmd 32771}{sound /x.wav}");
    RecordingOutput nothing;
    FireAutoMacro({{"SendString", ""}, {"Cmd", "abc"}}, {}, nothing);
    EXPECT_EQ(nothing.log, "");
}

TEST(AutoMacroListTest, FirstRuleOnWinsAndToggleFlipsOff) {
    AutoMacroList list;
    list.Assign({{{"Title", "a"}, {"Pattern", "login"}, {"Off", "1"}},
                 {{"Title", "b"}, {"Pattern", "log%1"}, {"Off", "x"}},
                 {{"Title", "c"}, {"Pattern", "login"}}});
    auto match = list.FindMatch("login: ");
    ASSERT_TRUE(match);
    EXPECT_EQ(match->index, 1u);
    EXPECT_EQ(match->captures, (Captures{{"%1", "in:"}}));
    EXPECT_TRUE(list.Toggle(0));
    EXPECT_EQ(list.Records()[0].at("Off"), "0");
    EXPECT_EQ(list.FindMatch("login: ")->index, 0u);
    EXPECT_FALSE(list.Toggle(3));
    EXPECT_FALSE(list.FindMatch("nothing"));
}

TEST(ServicesTest, RecognisedServicesByExactName) {
    EXPECT_EQ(ServiceType(cp("하이텔")), 1);
    EXPECT_EQ(ServiceType(cp("유니텔")), 4);
    EXPECT_EQ(ServiceType(cp("하이텔 ")), 0);
    EXPECT_EQ(ServiceType(""), 0);
}

TEST(ServicesTest, ACommandInAChatRoomBeginsWithOneSlash) {
    EXPECT_EQ(RoomCommand("top", false), "top");
    EXPECT_EQ(RoomCommand("top", true), "/top");
    EXPECT_EQ(RoomCommand("/p", true), "/p");
}

// Random rules and lines over a small alphabet of ASCII, spaces and Hangul (an extended
// syllable among them), so that pieces often occur, and often inside pairs.
class RandomText {
public:
    explicit RandomText(unsigned seed) : rng_(seed) {}
    std::string piece(int maxChars) {
        static const std::vector<std::string> units = {"a",      "b",      " ",      "(", "d",
                                                       cp("햏"), cp("가"), cp("나"), "%%"};
        std::string text;
        for (int n = 1 + pick(maxChars); n > 0; --n)
            text += units[pick(static_cast<int>(units.size()))];
        return text;
    }
    std::string pattern() {
        std::string text;
        for (int n = 1 + pick(4); n > 0; --n)
            text += pick(3) == 0 ? "%" + std::to_string(pick(10)) : piece(3);
        return text;
    }
    std::string line() {
        std::string text = piece(20);
        for (auto& c : text)
            if (c == '%' && pick(2)) c = 'a';
        return text;
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

private:
    std::mt19937 rng_;
};

TEST(AutoMacroListTest, PrefilteredListAgreesWithAPlainLoop) {
    RandomText random(1234);
    for (int round = 0; round < 200; ++round) {
        std::vector<Record> rules;
        for (int n = random.pick(30); n > 0; --n)
            rules.push_back({{"Pattern", random.pattern()}, {"Off", random.pick(5) ? "0" : "1"}});
        AutoMacroList list;
        list.Assign(rules);
        for (int i = 0; i < 100; ++i) {
            const std::string line = random.line();
            std::optional<AutoMacroList::Match> expected;
            Captures captures;
            for (size_t r = 0; r < rules.size() && !expected; ++r)
                if (!AutoMacroOff(rules[r]) &&
                    MatchAutoMacroPattern(rules[r]["Pattern"], line, captures))
                    expected = AutoMacroList::Match{r, captures};
            auto found = list.FindMatch(line);
            ASSERT_EQ(found.has_value(), expected.has_value()) << line;
            if (found) {
                EXPECT_EQ(found->index, expected->index) << line;
                EXPECT_EQ(found->captures, expected->captures) << line;
            }
        }
    }
}

TEST(AutoMacroListTest, PrefilterFindsExactlyTheKeysALineHolds) {
    RandomText random(99);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> keys;
        for (int n = random.pick(40); n > 0; --n)
            keys.push_back(random.piece(3));
        LiteralPrefilter prefilter(keys);
        for (int i = 0; i < 50; ++i) {
            const std::string line = random.line();
            std::vector<uint32_t> expected, found;
            for (uint32_t k = 0; k < keys.size(); ++k)
                if (line.find(keys[k]) != std::string::npos) expected.push_back(k);
            prefilter.Find(line, found);
            std::sort(found.begin(), found.end());
            ASSERT_EQ(found, expected) << line;
        }
    }
}

}  // namespace
