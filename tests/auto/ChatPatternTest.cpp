// The chat pattern language, the notice filter and the three services' recognisers, line by
// line, and random host lines through every pattern.
#include <gtest/gtest.h>

#include <random>

#include "auto/ChatLineFilter.h"
#include "auto/ChatPattern.h"
#include "auto/ChatRecogniser.h"
#include "platform/TextCodec.h"

namespace {

std::string cp(const std::string& utf8) {
    return utf8ToCp949(utf8).value();
}

ChatCaptures cps(std::initializer_list<const char*> utf8) {
    ChatCaptures out;
    for (const char* text : utf8)
        out.push_back(cp(text));
    return out;
}

struct PatternCase {
    const char* pattern;
    std::string line;  // UTF-8
    bool matches;
    std::initializer_list<const char*> captures;
};

}  // namespace

TEST(ChatPatternTest, MatchesAndCutsCapturesBetweenLiterals) {
    const std::string fields = "12-08 10:00 " + std::string(30, 'x') + " 허용  ";
    const PatternCase cases[] = {
        {"^ '%w'%_님은 서비스를 [%s]중입니다.",
         " 'abc'  님은 서비스를 [채팅]중입니다.",
         true,
         {"abc", "채팅"}},
        // A pattern that begins with a literal matches at the line start only, with or
        // without "^".
        {"abc%w", " abcx", false, {}},
        {"abc%w", "abcx", true, {"x"}},
        {"^abc%w", "abcx yz", true, {"x yz"}},
        // The word padded to 9 columns, then exactly 11 and 30 byte fields.
        {"^%9w %11c %30c %s",
         "abc" + std::string(7, ' ') + fields,
         true,
         {"abc", "12-08 10:00", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "허용  "}},
        {"^%9w %11c %30c %s", "abc" + std::string(6, ' ') + fields, false, {}},
        // A negative width skips spaces before the run; the capture keeps them.
        {"^ ## %-8w(%w)님은 현재", " ##   kim(kim01)님은 현재 서비스를", true, {"  kim", "kim01"}},
        {"^%c-%w", "a-bc", true, {"a", "bc"}},
        {"^[메모:%w] %S", "[메모:abc] 잘 지내? ", true, {"abc", "잘 지내? "}},
        {"^[메모:%w] %S", "[메모:abc]  x", false, {}},
        {"^a%sb%w", "axxbyyb1", true, {"xx", "yyb1"}},
        {"^a%qb", "ab", true, {}},
        {"^100%% %d", "100% 5", true, {"5"}},
        {"%w(%w) => %S", "  kim(kim01) => 안녕", true, {"kim", "kim01", "안녕"}},
        {"^%w(%w)", " kim(x)", false, {}},
        {"^x%3d|", "x12 |", true, {"12 "}},
        {"^x%3d|", "x12  |", false, {}},
        {"^%w!", "１２가!", true, {"１２가"}},
        {"^%w", "─", false, {}},
        {"^%n)", "a<b.c)", true, {"a<b.c"}},
        {"^%n)", "a>b)", false, {}},
        {"^%S4x", "ab cdx", false, {}},
        {"^%4Sx", "ab cdx", true, {"cd"}},
        {"^%4Sx", " abcdx", false, {}},
        {"^%s가", "각가", true, {"각"}},
        {"^ab", "abcdef", true, {}},
        {"", "abc", false, {}},
        {"%w", "   ", false, {}},
    };
    for (const PatternCase& c : cases) {
        ChatCaptures captures{"stale"};
        EXPECT_EQ(MatchChatPattern(cp(c.pattern), cp(c.line), captures), c.matches)
            << c.pattern << " | " << c.line;
        if (c.matches) {
            EXPECT_EQ(captures, cps(c.captures)) << c.pattern;
        } else {
            EXPECT_TRUE(captures.empty());
        }
    }
}

TEST(ChatPatternTest, DoubleByteCharactersStepAsUnits) {
    ChatCaptures captures;
    // "가가" is B0A1 B0A1: the pair A1B0 stands across two characters and is no match.
    EXPECT_FALSE(MatchChatPattern("^%s\xA1\xB0", "\xB0\xA1\xB0\xA1", captures));
    // A lead byte at the end of the line is a character of its own: no reading past it.
    EXPECT_FALSE(MatchChatPattern("^%w", "\xB0", captures));
    EXPECT_FALSE(MatchChatPattern("^%n>", "\xB0>", captures));
    EXPECT_TRUE(MatchChatPattern("^%c%s", "\xB0", captures));
    EXPECT_TRUE(MatchChatPattern("^%5c|", std::string("\xB0\xA1\xB0\xA1\xB0\xA1|"), captures));
    EXPECT_EQ(captures, ChatCaptures{"\xB0\xA1\xB0\xA1\xB0\xA1"});
}

namespace {

struct LineCase {
    int service;
    const char* line;
    int event;            // ClassifyEvent
    const char* out;      // its fields, "\t"-separated
    const char* speaker;  // ParseSpeaker, nullptr: no chat line
    bool pass, leave, enter;
};

// The event's fields as the table gives them: those up to the last one set.
std::string joined(const ChatEventFields& event) {
    std::string text(event.id);
    if (!event.name.empty() || !event.newName.empty()) text += '\t' + std::string(event.name);
    if (!event.newName.empty()) text += '\t' + std::string(event.newName);
    return text;
}

}  // namespace

TEST(ChatRecogniserTest, EveryLineShapeOfTheThreeServices) {
    using namespace ChatEvent;
    const LineCase cases[] = {
        {1, "kim(kim01   )  안녕하세요", None, "", "kim01\tkim", false, false, false},
        {1, "  홍길동  (hong01  )  귓속말", None, "", "hong01\t홍길동", false, false, false},
        {1, "  가  (hong01  )  짧은 이름", None, "", nullptr, false, false, false},
        {1, "(!)kim(kim01   )  귀엣말", None, "", nullptr, true, false, false},
        {1, "> 홍길동(hong01  )  인용", None, "", nullptr, true, false, false},
        {1, "> 홍길동(ho      )  인용", None, "", nullptr, false, false, false},
        {1, "## 홍길동(hong01) 님이 입장하였습니다. ##", Entered, "hong01\t홍길동", nullptr, false,
         false, true},
        {1, "## 홍길동(hong01) 님이 퇴장하였습니다. ##  ", Left, "hong01\t홍길동", nullptr, false,
         false, false},
        {1, "## hong01 님과의 대화 수신거부가 지정되었습니다. ##", IgnoreSet, "hong01", nullptr,
         false, false, false},
        {1, "## hong01 님과의 대화 수신거부가 해제되었습니다. ##", IgnoreCleared, "hong01", nullptr,
         false, false, false},
        {1, "## hong01 님과 귀엣말이 설정되었습니다. ##", WhisperSet, "hong01", nullptr, false,
         false, false},
        {1, "## hong01 님과의 귀엣말이 해제 되었습니다. ##", WhisperCleared, "hong01", nullptr,
         false, false, false},
        {1, "## 길동 (hong01) 님이 대화명을 [ 홍길동 ] 로 변경하였습니다.", NameChanged,
         "hong01\t길동\t홍길동", nullptr, false, false, false},
        {1, " >>", None, "", nullptr, false, true, false},
        {1, "명령어 입력 (H:도움말) >>", None, "", nullptr, false, true, false},
        {1, " 일반대화실  (CHAT) [대화방]  3명", None, "", nullptr, false, true, false},
        {1, "  일반대화실  (CHAT) [대화방]", None, "", nullptr, false, false, false},
        {2, "홍길동>안녕하세요", NothingMatched, "", "\t홍길동", false, false, false},
        {2, "가>짧음", NothingMatched, "", nullptr, false, false, false},
        {2, "   #  홍길동(hong01) 회원이 입실하였습니다 !!", Entered, "hong01\t홍길동", nullptr,
         false, false, false},
        {2, "   #  홍길동(hong01) 회원이 퇴실하였습니다 !!", Left, "hong01\t홍길동", nullptr, false,
         false, false},
        {2, "홍길동 회원의 ID는 hong01, 본명은 홍길동 입니다.", Entered, "hong01\t홍길동", nullptr,
         false, false, false},
        {2, "## hong01 님과의 대화 수신거부가 지정되었습니다. ##", IgnoreSet, "hong01", nullptr,
         false, false, false},
        {2, "** 귀엣말이 설정되었습니다.", WhisperSet, "", nullptr, false, false, false},
        {2, "** 귀엣말이 해제 되었습니다.", WhisperCleared, "", nullptr, false, false, false},
        {2, "   #  hong01님의 대화명이 \"길동\"에서 \"홍길동\"(으)로 변경되었습니다 !!",
         NameChanged, "hong01\t길동\t홍길동", nullptr, false, false, false},
        {2, "(!)귀엣말", NothingMatched, "", nullptr, true, false, false},
        {2, "선택>", NothingMatched, "", "\t선택", false, true, false},
        {2, "*** 제1 대화실에 들어오신 것을 환영합니다. 홍길동 회원님 ***", NothingMatched, "",
         nullptr, false, false, true},
        {3, " hong01   (홍길동) 안녕", None, "", "hong01\t홍길동", false, false, false},
        {3, " *** 홍길동(hong01:abc)님이 들어오셨습니다!!", Entered, "hong01\t홍길동", nullptr,
         false, false, false},
        {3, " *** hong01(홍길동)님이 나가셨습니다.", Left, "hong01\t홍길동", nullptr, false, false,
         false},
        {3, " *** hong01(홍길동)님이 강제 퇴장되었습니다.", Left, "hong01\t홍길동", nullptr, false,
         false, false},
        {3, "  지금부터 ab.c님의 메시지는 받지 않습니다.", None, "", nullptr, false, false, false},
        {3, "   개설자 : hong01", NoEvent, "", nullptr, false, false, false},
        {3, " 선택>", None, "", nullptr, false, true, false},
        {3, "Chat :", None, "", nullptr, false, false, true},
    };
    for (const LineCase& c : cases) {
        std::unique_ptr<ChatRecogniser> r = MakeChatRecogniser(c.service);
        const std::string line = cp(c.line);
        ChatEventFields out;
        EXPECT_EQ(r->ClassifyEvent(line, out), c.event) << c.line;
        if (c.event != None && c.event != NothingMatched && c.event != NoEvent) {
            EXPECT_EQ(joined(out), cp(c.out)) << c.line;
        }
        ChatSpeaker speaker;
        EXPECT_EQ(r->ParseSpeaker(line, speaker), c.speaker != nullptr) << c.line;
        if (c.speaker) {
            EXPECT_EQ(std::string(speaker.id) + '\t' + std::string(speaker.name), cp(c.speaker))
                << c.line;
        }
        EXPECT_EQ(r->IsPassLine(line), c.pass) << c.line;
        EXPECT_EQ(r->IsLeaveLine(line), c.leave) << c.line;
        EXPECT_EQ(r->IsEnterLine(line), c.enter) << c.line;
        // The notice filter lets every recognised line through, and turns away the talk of
        // the rooms whose notices it can tell apart by their start.
        const bool notice =
            (c.event != None && c.event != NothingMatched) || c.pass || c.leave || c.enter;
        if (notice) {
            EXPECT_TRUE(r->NoticeFilter().MayMatch(line)) << c.line;
        }
        if (c.speaker && c.service != 2) {
            EXPECT_FALSE(r->NoticeFilter().MayMatch(line)) << c.line;
        }
    }
    EXPECT_EQ(MakeChatRecogniser(0), nullptr);
    EXPECT_EQ(MakeChatRecogniser(4), nullptr);
}

// Random host lines, high bytes and pattern characters included, through every pattern and
// every recogniser: the sanitizers watch for reads past the line.
TEST(ChatPatternTest, RandomLinesThroughEveryPattern) {
    const char* patterns[] = {"^%w(%8w)  %s",
                              "^  %8n(%8w)  %s",
                              "^%n>%s",
                              "^ %8w (%n) %s",
                              "^%9w %11c %30c %s",
                              "^ '%w'%_님은 서비스를 [%s]중입니다.",
                              "%w[%w]님으로 부터의 쪽지[%w] : %S",
                              "^[메모:%w] %S",
                              "^ ## %-8w(%w)님은 %s %s에 접속하였습니다(%s)",
                              "^ >> %c %w",
                              "^## %s [%d번] 대화방이 개설되었습니다. ##",
                              "%4S%-3d%5c%_%s%",
                              "%*8n%%%-2w"};
    std::mt19937 random(31);
    const std::string alphabet = "ab(%)[]>:# '\"\t~" + cp("가님") + "\xA3\xB1\xFE\x81";
    ChatCaptures captures;
    for (int i = 0; i < 3000; ++i) {
        std::string line(random() % 513, ' ');
        for (char& c : line)
            c = random() % 4 ? alphabet[random() % alphabet.size()] : char(random() % 256);
        for (const char* p : patterns)
            MatchChatPattern(cp(p), line, captures);
        MatchChatPattern(line.substr(0, 40), line, captures);
        for (int service = 1; service <= 3; ++service) {
            std::unique_ptr<ChatRecogniser> r = MakeChatRecogniser(service);
            ChatEventFields out;
            const int event = r->ClassifyEvent(line, out);
            ChatSpeaker speaker;
            r->ParseSpeaker(line, speaker);
            const bool taken = (event != ChatEvent::None && event != ChatEvent::NothingMatched) ||
                               r->IsPassLine(line) || r->IsLeaveLine(line) || r->IsEnterLine(line);
            if (taken) {
                EXPECT_TRUE(r->NoticeFilter().MayMatch(line)) << line;
            }
        }
    }
}

// The 하이텔 speaker is read without the pattern walk; it must agree with the patterns it
// stands for on lines built from their pieces, near misses included.
TEST(ChatRecogniserTest, HitelSpeakerAgreesWithItsPatterns) {
    const ChatPattern chat(cp("^%w(%8w)  %s")), whisper(cp("^  %8n(%8w)  %s"));
    const std::string names[] = {"kim", cp("홍길동"), "", "a b", cp("가") + "\xA3\xB1", "!x"};
    const std::string ids[] = {"kim01", "abcdefgh", "abcdefghij", "", " k", "ab\t", "ab!"};
    const std::string ends[] = {")  ", ") ", ")", ")  " + cp("안녕"), ")\t ok"};
    const std::unique_ptr<ChatRecogniser> hitel = MakeChatRecogniser(1);
    for (const std::string& lead : {std::string(), std::string("  ")})
        for (const std::string& name : names)
            for (const std::string& id : ids)
                for (size_t pad = 0; pad <= 9; ++pad)
                    for (const std::string& end : ends) {
                        const std::string line =
                            lead + name + "(" + id + std::string(pad, ' ') + end;
                        CaptureViews c;
                        ChatSpeaker expected;
                        bool matches =
                            chat.Match(line, c) ||
                            (whisper.Match(line, c) && hitel->IsValidId(TrimmedRight(c[0])));
                        if (matches) expected = {TrimmedRight(c[1]), TrimmedRight(c[0])};
                        ChatSpeaker speaker;
                        ASSERT_EQ(hitel->ParseSpeaker(line, speaker), matches) << line;
                        EXPECT_EQ(speaker.id, expected.id) << line;
                        EXPECT_EQ(speaker.name, expected.name) << line;
                    }
}

// The enter and leave notices of service type 1 are read by hand as well, and must agree with
// their patterns: line shapes near the notice's, a verb whose lead byte hides the ending's first
// byte as its trail, and an ending that comes twice.
TEST(ChatRecogniserTest, HitelPresenceAgreesWithItsPatterns) {
    const ChatPattern presence(cp("^## %n(%w) 님이 %s하였습니다. ##"));
    const ChatPattern enter(cp("^## %n(%w) 님이 입장하였습니다. ##"));
    const std::string ending = cp("하였습니다. ##");
    const std::string starts[] = {"## ", "##", " ## ", "## " + cp("나")};
    const std::string names[] = {cp("홍길동"), "", "a b", "kim", cp("가") + "\xA3\xB1"};
    const std::string ids[] = {"kim01", "abcdefghij", "", "ab!", cp("가나"), "k m"};
    const std::string middles[] = {cp(") 님이 "), cp(")_님이 "), cp(")님이 "), cp(") 님이  ")};
    const std::string verbs[] = {cp("입장"), cp("퇴장"), "", "\xB0", cp("입장") + ending};
    const std::string ends[] = {ending, cp("하였습니다. #"), ending + " ok"};
    const std::unique_ptr<ChatRecogniser> hitel = MakeChatRecogniser(1);
    for (const std::string& start : starts)
        for (const std::string& name : names)
            for (const std::string& id : ids)
                for (const std::string& middle : middles)
                    for (const std::string& verb : verbs)
                        for (const std::string& end : ends) {
                            const std::string line = start + name + "(" + id + middle + verb + end;
                            CaptureViews c;
                            ChatEventFields fields;
                            const int event = hitel->ClassifyEvent(line, fields);
                            if (presence.Match(TrimmedRight(line), c)) {
                                const int expected = c[2] == cp("입장")   ? ChatEvent::Entered
                                                     : c[2] == cp("퇴장") ? ChatEvent::Left
                                                                          : ChatEvent::None;
                                ASSERT_EQ(event, expected) << line;
                                EXPECT_EQ(fields.name, c[0]) << line;
                                EXPECT_EQ(fields.id, c[1]) << line;
                            } else {
                                EXPECT_NE(event, ChatEvent::Entered) << line;
                                EXPECT_NE(event, ChatEvent::Left) << line;
                            }
                            const bool entering = enter.Match(line, c) && hitel->IsValidId(c[0]);
                            EXPECT_EQ(hitel->IsEnterLine(line), entering) << line;
                        }
}

// Each way a text enters the filter, and the lines it then lets through.
TEST(ChatLineFilterTest, LetsThroughWhatItsTextsCouldMatch) {
    ChatLineFilter filter;
    filter.Pattern("^## %w");
    filter.Pattern("^[%w]");
    filter.Pattern("");
    filter.Start("Chat :");
    filter.AtSecondByte("xy");
    const std::pair<const char*, bool> lines[] = {
        {"## a", true}, {"#a", false}, {"[", true},   {"[a]", true}, {"Chat", true},
        {"Cz", false},  {"axy", true}, {"ab", false}, {"a", true},   {"", true},
    };
    for (const auto& [line, through] : lines)
        EXPECT_EQ(filter.MayMatch(line), through) << line;
    filter.Pattern("%w said");
    EXPECT_TRUE(filter.MayMatch("ab"));
}
