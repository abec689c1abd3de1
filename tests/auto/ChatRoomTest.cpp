// The chat-room assistant over a recording session: the participant list as each service's
// room prints its lines, presence marks, memos both ways, the per-user commands, the input
// line's Enter rules and the stored settings.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TempProfile.h"
#include "auto/CSettingsSection.h"
#include "auto/ChatAssistant.h"
#include "auto/ChatColours.h"
#include "auto/ChatInputLine.h"
#include "auto/ChatRoster.h"
#include "auto/ChatSettings.h"
#include "auto/MemoAutoHide.h"
#include "auto/Services.h"
#include "tests/auto/ChatTestSupport.h"

namespace {

class RecordingViews : public ChatViews {
public:
    std::string input;
    std::vector<std::string> logged, notices;
    std::map<std::string, std::vector<std::string>> windows;  // id -> texts
    int presenceChanges = 0, roomChanges = 0;

    void PresenceChanged() override { ++presenceChanges; }
    void RoomChanged() override { ++roomChanges; }
    void PutIntoInputLine(const std::string& text) override { input = text; }
    void MemoLogged(const std::string& entry) override { logged.push_back(entry); }
    void MemoNotice(const std::string& sender, const std::string& text) override {
        notices.push_back(sender + ":" + text);
    }
    size_t MemoWindowCount() const override { return windows.size(); }
    bool HasMemoWindow(const std::string& id) const override { return windows.count(id) > 0; }
    void OpenMemoWindow(const std::string& id, bool) override { windows[id]; }
    void AddMemoText(const std::string& id, const std::string& text) override {
        windows[id].push_back(text);
    }
};

class ChatRoomTest : public TempProfile {
protected:
    ChatRoomTest() : chat(session, *registry, sound) { chat.SetViews(&views); }

    void useService(const char* utf8) {
        session.service = cp(utf8);
        chat.SetService(session.service);
    }
    // The lines as the session offers them: each to the colour first, then to recognition.
    std::vector<int> feed(std::initializer_list<const char*> lines) {
        std::vector<int> colours;
        for (const char* utf8 : lines) {
            const std::string line = cp(utf8);
            colours.push_back(chat.LineColour(line));
            chat.RecogniseServiceLine(line);
        }
        return colours;
    }
    std::vector<std::string> entries() {
        std::vector<std::string> out;
        for (size_t i = 0; i < chat.Room().Count(); ++i)
            out.push_back(chat.Room().EntryText(i));
        return out;
    }
    std::vector<std::string> cps(std::initializer_list<const char*> utf8) {
        std::vector<std::string> out;
        for (const char* text : utf8)
            out.push_back(cp(text));
        return out;
    }

    RecordingSession session;
    RecordingViews views;
    SilentSoundPlayer sound;
    ChatAssistant chat;
};

}  // namespace

TEST_F(ChatRoomTest, HitelRoomListColoursAndOwnIdStaysLast) {
    useService("하이텔");
    session.ownId = "me0001";
    const std::vector<int> colours = feed({
        "## 홍길동(hong01) 님이 입장하였습니다. ##",
        "## 나그네(me0001) 님이 입장하였습니다. ##",
        "## 홍길동(hong01) 님이 입장하였습니다. ##",
        "kim(kim01   )  안녕하세요",
        "(!)kim(kim01   )  귀엣말",
    });
    EXPECT_TRUE(session.inRoom);
    EXPECT_EQ(colours, (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_EQ(entries(), cps({"hong01\t홍길동\t-1", "kim01\tkim\t-1", "me0001\t나그네\t-1"}));
    chat.Room().SetColour(1, 12);
    chat.Room().SetColour(0, ChatColour::Reversed);
    EXPECT_EQ(feed({"kim(kim01   )  빨강", "  홍길동  (hong01  )  뒤집기"}),
              (std::vector<int>{12, -2}));
    feed({"## kim01 님과 귀엣말이 설정되었습니다. ##",
          "## hong01 님과의 대화 수신거부가 지정되었습니다. ##",
          "## 길동 (hong01) 님이 대화명을 [ 홍길동2 ] 로 변경하였습니다.",
          "## 나그네(me0001) 님이 퇴장하였습니다. ##"});
    EXPECT_EQ(entries(), cps({"kim01\tkim\t12", "hong01\t홍길동2\t-2"}));
    EXPECT_EQ(chat.Room().DisplayText(1), cp("홍길동2(hong01)"));
    EXPECT_EQ(chat.Room().IndexOf("", cp("홍길동2")), 1u);
    // Room-number lines name the room; the status command asks for it.
    feed({" >> J 1234"});
    EXPECT_EQ(chat.Room().RoomTitle(), "1234");
    chat.Room().RefreshParticipants();
    EXPECT_EQ(session.sent, "[/st 1234\r]");
    // Leaving empties the list even with colours set.
    feed({" 선택(H:도움말) >>"});
    EXPECT_FALSE(session.inRoom);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(chat.Room().RoomTitle(), "");
}

TEST_F(ChatRoomTest, HitelRoomTitles) {
    useService("하이텔");
    const std::pair<const char*, const char*> titles[] = {
        {" >> j 77", "77"},
        {" 방의 번호는 ==> 12", "12"},
        {"## 5 번방이 개설되었습니다. ##", "5"},
        {"## 잡담 [9번] 대화방이 개설되었습니다. ##", "9"},
    };
    for (const auto& [line, title] : titles) {
        EXPECT_EQ(chat.Room().DetectRoomChange(cp(line)), 0);
        EXPECT_EQ(chat.Room().RoomTitle(), title);
    }
    EXPECT_EQ(chat.Room().DetectRoomChange(cp(" >> x 1")), 0);
    EXPECT_EQ(chat.Room().RoomTitle(), "9");
}

TEST_F(ChatRoomTest, ChollianAsksForAnUnknownIdOnceAndTheAnswerFillsIt) {
    useService("천리안");
    session.values["프로필 확인"] = "/p";
    feed({"*** 제1 대화실에 들어오신 것을 환영합니다. 홍길동 회원님 ***"});
    EXPECT_TRUE(session.inRoom);
    const std::vector<int> colours = feed({"홍길동>안녕", "홍길동>또 왔어요", "(!)귀엣말"});
    EXPECT_EQ(colours, (std::vector<int>{-1, -1, -2}));
    EXPECT_EQ(session.sent, cp("[/u 홍길동\r]"));
    EXPECT_EQ(entries(), cps({"\t홍길동\t-1"}));
    // Per-user commands wait for the id.
    chat.Room().RunUserCommand(UserCommand::Profile, chat.Room().Participants()[0].id);
    EXPECT_EQ(session.sent, cp("[/u 홍길동\r]"));
    feed({"홍길동 회원의 ID는 hong01, 본명은 홍길동 입니다."});
    EXPECT_EQ(entries(), cps({"hong01\t홍길동\t-1"}));
    session.sent.clear();
    chat.Room().RunUserCommand(UserCommand::Profile, "hong01");
    EXPECT_EQ(session.sent, "[/p hong01\r]");  // not "//p"
    feed({"   #  길동(gil01) 회원이 입실하였습니다 !!",
          "   #  hong01님의 대화명이 \"홍길동\"에서 \"길동이\"(으)로 변경되었습니다 !!",
          "   #  길동(gil01) 회원이 퇴실하였습니다 !!"});
    EXPECT_EQ(entries(), cps({"hong01\t길동이\t-1"}));
    session.sent.clear();
    chat.Room().RefreshParticipants();
    EXPECT_EQ(session.sent, "[/w my\r]");
}

TEST_F(ChatRoomTest, NownuriRenamesByIdAndLeaves) {
    useService("나우누리");
    feed({"Chat :", " *** 홍길동(hong01:abc)님이 들어오셨습니다!!", " hong01   (길동) 안녕",
          " *** kim01(김)님이 나가셨습니다."});
    EXPECT_EQ(entries(), cps({"hong01\t길동\t-1"}));
    feed({" *** hong01(길동)님이 강제 퇴장되었습니다."});
    EXPECT_TRUE(entries().empty());
    chat.Room().RefreshParticipants();
    EXPECT_EQ(session.sent, "[/st\r]");
    feed({" 선택>"});
    EXPECT_FALSE(session.inRoom);
}

TEST_F(ChatRoomTest, UnitelRoomIsTrackedWithoutAList) {
    useService("유니텔");
    feed({"  >> [3]번 대화방에 참여하셨습니다. <<   "});
    EXPECT_TRUE(session.inRoom);
    EXPECT_EQ(chat.Room().RoomTitle(), "3");
    EXPECT_FALSE(chat.RecognitionActive());
    feed({" 선  택 >"});
    EXPECT_FALSE(session.inRoom);
    EXPECT_EQ(views.roomChanges, 2);
}

TEST_F(ChatRoomTest, RecognitionNeedsConnectionRoomAndMode) {
    useService("하이텔");
    session.inRoom = true;
    EXPECT_TRUE(chat.RecognitionActive());
    session.connected = false;
    EXPECT_FALSE(chat.RecognitionActive());
    EXPECT_FALSE(chat.ToggleChatRoomMode());  // disconnected: stores 0
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("ChatRoomMode", 1), 0);
    session.connected = true;
    EXPECT_FALSE(chat.RecognitionActive());
    EXPECT_TRUE(chat.ToggleChatRoomMode());
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetInt("ChatRoomMode", 0), 1);
    useService("기본");
    EXPECT_FALSE(chat.RecognitionActive());
    EXPECT_EQ(chat.LineColour("kim(kim01   )  x"), -1);
}

TEST_F(ChatRoomTest, FloodsStayBounded) {
    useService("천리안");
    session.inRoom = true;
    for (int i = 0; i < 1100; ++i)
        chat.LineColour("user" + std::to_string(i) + ">hi");
    EXPECT_EQ(chat.Room().Count(), ChatRoomState::kMaxParticipants);
    EXPECT_EQ(
        session.sent, session.sent.substr(0, 0) + [] {
            std::string asked;
            for (int i = 0; i < 1000; ++i)
                asked += "[/u user" + std::to_string(i) + "\r]";
            return asked;
        }());
    for (int i = 0; i < 1100; ++i)
        chat.MemoArrived("id" + std::to_string(i), "x");
    EXPECT_EQ(chat.MemoLog().size(), ChatAssistant::kMaxLogEntries);
    EXPECT_NE(chat.MemoLog().front().find("\tid100\t"), std::string::npos);
    EXPECT_EQ(views.windows.size(), ChatAssistant::kMaxMemoWindows);
    EXPECT_EQ(views.notices.size(), 1100u);
}

TEST_F(ChatRoomTest, PresenceMarksOfEveryService) {
    struct Case {
        const char* service;
        const char* line;
        const char* id;
        const char* mark;  // nullptr: no mark
    };
    const std::string fields = "12-08 10:00 " + std::string(30, 'x') + " ";
    const std::string chollianOn = "abc" + std::string(7, ' ') + fields + "허용 ";
    const std::string chollianOther = "abd" + std::string(7, ' ') + fields + "기타";
    const Case cases[] = {
        {"하이텔", " ##   kim01(kim01)님은 12/08 10:00에 접속하였습니다(채팅)", "kim01", "O"},
        {"하이텔", " ##   hong01(hong01)님은 현재 서비스를 사용하고 있지 않습니다.", "hong01", "X"},
        {"천리안", chollianOn.c_str(), "abc", "O"},
        {"천리안", chollianOther.c_str(), "abd", nullptr},
        {"천리안", "     ☜........떴다 ID~ lee01 회원님이 접속 하셨습니다 !!........☞", "lee01",
         "O"},
        {"천리안", "# park01 회원은 현재 사용하고 있지 않습니다 !!", "park01", "X"},
        {"나우누리", " 'abc'  님은 서비스를 [채팅]중입니다.", "abc", "O"},
        {"나우누리", " 'def' 님은 서비스를 사용하고 있지 않습니다.", "def", "X"},
        {"유니텔", " [uni01]님은 접속중이십니다.", "uni01", "O"},
        {"유니텔", " [uni02]님은 접속중이 아닙니다.", "uni02", "X"},
    };
    for (const Case& c : cases) {
        useService(c.service);
        const int before = views.presenceChanges;
        EXPECT_FALSE(chat.RecogniseServiceLine(cp(c.line))) << c.line;
        auto found = chat.Presence().find(c.id);
        if (c.mark) {
            ASSERT_NE(found, chat.Presence().end()) << c.line;
            EXPECT_EQ(found->second, c.mark) << c.line;
            EXPECT_EQ(views.presenceChanges, before + 1);
        } else {
            EXPECT_EQ(found, chat.Presence().end()) << c.line;
        }
    }
    chat.OnConnectionChanged();
    EXPECT_TRUE(chat.Presence().empty());
}

TEST_F(ChatRoomTest, PresenceCheckMarksUnknownUsersFirstAndInviteSendsEach) {
    useService("하이텔");
    session.values["접속 확인"] = "/who";
    session.values["사용자 초대"] = "/inv";
    chat.RecogniseServiceLine(cp(" ##    kim01(kim01)님은 현재 서비스를 사용하고 있지 않습니다."));
    chat.CheckPresence({"kim01", "lee01", ""});
    EXPECT_EQ(chat.Presence().at("kim01"), "X");
    EXPECT_EQ(chat.Presence().at("lee01"), "?");
    EXPECT_EQ(session.sent, "[/who kim01\r][/who lee01\r]");
    session.sent.clear();
    chat.Room().Invite({"kim01", "lee01"});
    EXPECT_EQ(session.sent, "[/inv ][kim01\r][/inv ][lee01\r]");
    session.values.clear();
    session.sent.clear();
    chat.CheckPresence({"kim01"});
    chat.Room().Invite({"kim01"});
    EXPECT_EQ(session.sent, "");
}

TEST_F(ChatRoomTest, MemosOfEveryServiceAreConsumedLoggedAndShown) {
    chat.SetTimeSource([] {
        std::tm t{};
        t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 8, t.tm_hour = 9, t.tm_min = 5;
        t.tm_isdst = -1;
        return std::mktime(&t);
    });
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"하이텔", "## (From:kim01) '점심 먹자'##", "kim01", "점심 먹자"},
        {"천리안", "[메모:lee01] 안녕하세요", "lee01", "안녕하세요"},
        {"나우누리", "park(park01) => 반가워", "park", "반가워"},
        {"유니텔", "홍길동[uni01]님으로 부터의 쪽지[12] : 잘_지내", "uni01", "잘 지내"},
    };
    for (const auto& [service, line, sender, text] : cases) {
        useService(service);
        EXPECT_TRUE(chat.RecogniseServiceLine(cp(line))) << line;
        EXPECT_EQ(views.windows.at(cp(sender)).back(), cp(text)) << line;
        EXPECT_EQ(chat.MemoLog().back(), cp("09시05분\t") + cp(sender) + "\t" + cp(text));
    }
    EXPECT_EQ(session.redraws, 4);
    // Input paused inside a memo: only the whole line counts.
    EXPECT_FALSE(chat.RecogniseServiceLine(cp("[메모:lee01] 안녕"), true));
    EXPECT_EQ(views.logged.size(), 4u);
    EXPECT_EQ(views.logged.size(), 4u);
    // A second memo of a sender goes to its window; with UseMemo off only to the log.
    chat.MemoArrived("kim01", "again");
    EXPECT_EQ(views.windows.size(), 4u);
    EXPECT_EQ(views.windows["kim01"].size(), 2u);
    CSettingsSection(*registry, "Settings").SetInt("UseMemo", 0);
    chat.MemoArrived("new01", "x");
    EXPECT_EQ(views.windows.count("new01"), 0u);
    EXPECT_EQ(chat.MemoLog().size(), 6u);
    useService("기본");
    EXPECT_FALSE(chat.RecogniseServiceLine(cp("[메모:lee01] 안녕하세요")));
}

TEST_F(ChatRoomTest, SendMemoFormsAndRawCommands) {
    struct Case {
        const char* service;
        const char* command;
        bool inRoom;
        const char* text;
        bool sent;
        const char* wire;
    };
    const Case cases[] = {
        {"하이텔", "/memo", false, "안녕 하세요", true, "[/memo kim01 안녕 하세요\r]"},
        {"하이텔", "memo", true, "hi", true, "[/memo kim01 hi\r]"},
        {"하이텔", "/memo", true, "hi", true, "[/memo kim01 hi\r]"},
        {"하이텔", "memo", false, "/st 12", true, "[st 12\r]"},
        {"유니텔", "memo", false, "a b c", true, "[memo kim01 a_b_c\r]"},
        {"유니텔", "memo", false, "/to kim01 a b", true, "[to kim01 a b\r]"},
        {"하이텔", "", false, "hi", false, ""},
    };
    for (const Case& c : cases) {
        useService(c.service);
        session.sent.clear();
        session.values["쪽지 보내기"] = c.command;
        session.inRoom = c.inRoom;
        EXPECT_EQ(chat.SendMemo("kim01", cp(c.text)), c.sent) << c.text;
        EXPECT_EQ(session.sent, cp(c.wire)) << c.text;
    }
}

TEST_F(ChatRoomTest, UserCommandsColoursAndTheIdNotebook) {
    ASSERT_FALSE(AddService(*registry, {{"Title", cp("하이텔")}}));
    useService("하이텔");
    session.values = {{"사용자 무시", "/ig"}, {"귓속말 설정", "/w"}, {"프로필 확인", "p"}};
    chat.Room().RunUserCommand(UserCommand::Ignore, "kim01");
    chat.Room().RunUserCommand(UserCommand::Whisper, "kim01");
    chat.Room().RunUserCommand(UserCommand::Profile, "kim01");
    chat.Room().RunUserCommand(UserCommand::Profile, "");
    EXPECT_EQ(session.sent, "[/ig kim01\r][/p kim01\r]");
    EXPECT_EQ(views.input, "/w kim01 ");
    const int menu[16] = {15, 12, 10, 9, 0, 4, 2, 1, 7, 14, 11, 13, 8, 6, 3, 5};
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(ColourMenuColour(n), menu[n]);
    std::string cycle;
    for (int c = -1, i = 0; i < 7; ++i, c = NextCycleColour(c))
        cycle += std::to_string(c) + " ";
    EXPECT_EQ(cycle, "-1 10 11 12 14 -2 -1 ");
    EXPECT_EQ(NextCycleColour(3), 10);
    EXPECT_EQ(NextCycleColour(13), 14);
    EXPECT_EQ(NextCycleColour(15), 15);

    session.inRoom = true;
    chat.LineColour(cp("## 홍길동(hong01) 님이 입장하였습니다. ##"));
    EXPECT_FALSE(chat.Room().IconOf(0));
    EXPECT_TRUE(chat.Room().AddToIdNotebook(0));
    EXPECT_TRUE(chat.Room().AddToIdNotebook(0));
    std::vector<Record> notebook;
    CRecordStore(*registry).LoadList(cp("하이텔"), RecordKind::IdNotebook, notebook);
    ASSERT_EQ(notebook.size(), 1u);
    EXPECT_EQ(notebook[0]["Title"], "hong01");
    EXPECT_EQ(notebook[0]["Name"], cp("홍길동"));
    EXPECT_TRUE(chat.Room().IconOf(0));
    chat.Room().Remove(0);
    EXPECT_EQ(chat.Room().Count(), 0u);
}

TEST_F(ChatRoomTest, InputLineEnterRulesCaptionsAndHistory) {
    ChatInputLine input(session);
    FakeShell shell;
    input.SetCaption(cp("[머리]"), cp("[꼬리]"));
    EXPECT_EQ(input.CaptionButtonText(), cp("머릿말: [머리], 꼬릿말: [꼬리]"));
    EXPECT_EQ(input.Enter(cp("안녕")), "");
    EXPECT_EQ(input.Enter("/st"), "");
    EXPECT_EQ(input.Enter(""), "");
    input.SetUseCaption(false);
    EXPECT_EQ(input.CaptionButtonText(), "");
    input.Enter("plain");
    EXPECT_EQ(input.Enter("/exec dir"), "");  // no shell plugged in: dropped
    EXPECT_EQ(session.sent, cp("[[머리]안녕[꼬리]\r][/st\r]\r[plain\r]"));

    session.sent.clear();
    input.SetShellHook(&shell);
    EXPECT_EQ(input.Enter("/exec dir"), "");
    EXPECT_EQ(input.Enter("/exec"), "C:\\> ");
    EXPECT_EQ(input.ProtectedPrefix(), "C:\\> ");
    EXPECT_FALSE(input.HistoryUp("C:\\> "));  // no history while the shell runs
    EXPECT_EQ(input.Enter("C:\\> type a.txt"), "C:\\> ");
    EXPECT_EQ(input.Enter("C:\\> exit"), "");
    EXPECT_EQ(shell.ran, (std::vector<std::string>{"dir", "type a.txt", "exit"}));
    EXPECT_EQ(session.sent, "");

    EXPECT_EQ(input.HistoryUp("typing"), "exit");
    EXPECT_EQ(input.HistoryUp(""), "type a.txt");
    EXPECT_TRUE(input.InHistory());
    EXPECT_EQ(input.HistoryDown(), "exit");
    EXPECT_EQ(input.HistoryDown(), "typing");
    EXPECT_FALSE(input.HistoryDown());
    EXPECT_FALSE(input.Escape());
    input.HistoryUp("");
    EXPECT_TRUE(input.Escape());
    EXPECT_FALSE(input.InHistory());
}

// The hash table follows every change of order: after each of many random inserts, removals,
// moves and ID changes, a lookup of every ID finds the first entry a plain search finds. The IDs
// have every length up to ten; some differ in one byte at the start, middle or end, some only in
// their length.
TEST(ChatRosterTest, LookupsAgreeWithAPlainSearchThroughEveryChange) {
    using namespace std::string_literals;
    const std::string ids[] = {"",           "a",          "b",        "ab",       "ba",
                               "abc",        "abd",        "xbc",      "axc",      "abcd",
                               "abce",       "abcde",      "abcdx",    "abcdef",   "xbcdef",
                               "abcdefg",    "abcxefg",    "abcdefgh", "abcdefgx", "abcdefghi",
                               "abcdefghij", "abcdefghix", "a\0"s,     "ab\0"s,    "abcdefg\0"s};
    std::mt19937 rng(7);
    ChatRoster roster;
    std::vector<ChatParticipant> plain;
    auto someId = [&] { return ids[rng() % std::size(ids)]; };
    for (int step = 0; step < 3000; ++step) {
        const size_t size = plain.size();
        const size_t at = size ? rng() % size : 0;
        // ID changes are rare, so that long runs of the other changes meet the same table.
        const unsigned change = rng() % 20;
        if (change < 6) {
            ChatParticipant entry{someId(), -1, "n" + std::to_string(step)};
            const size_t where = rng() % (size + 1);
            roster.Insert(where, entry);
            plain.insert(plain.begin() + static_cast<long>(where), entry);
        } else if (!size) {
            continue;
        } else if (change < 11) {
            roster.Erase(at);
            plain.erase(plain.begin() + static_cast<long>(at));
        } else if (change < 15) {
            roster.MoveToFront(at);
            std::rotate(plain.begin(), plain.begin() + static_cast<long>(at),
                        plain.begin() + static_cast<long>(at) + 1);
        } else if (change < 19) {
            roster.MoveToEnd(at);
            std::rotate(plain.begin() + static_cast<long>(at),
                        plain.begin() + static_cast<long>(at) + 1, plain.end());
        } else {
            const std::string id = someId();
            roster.SetId(at, id);
            plain[at].id = id;
        }
        ASSERT_EQ(roster.size(), plain.size());
        for (const std::string& wanted : ids) {
            auto found = std::find_if(plain.begin(), plain.end(),
                                      [&](const ChatParticipant& p) { return p.id == wanted; });
            const std::optional<size_t> expected =
                found == plain.end()
                    ? std::nullopt
                    : std::optional<size_t>(static_cast<size_t>(found - plain.begin()));
            ASSERT_EQ(roster.FindById(wanted), expected) << step << " " << wanted;
        }
    }
    roster.Clear();
    EXPECT_FALSE(roster.FindById(""));
}

TEST_F(ChatRoomTest, StoredSettingsAreClampedAndDefaulted) {
    ChatBarSettings bar = ChatBarSettings::Load(*registry);
    EXPECT_EQ(bar.bkColor, 0);
    EXPECT_EQ(bar.textColor, 15);
    EXPECT_TRUE(bar.useCaption);
    CRecordStore store(*registry);
    ASSERT_TRUE(store.SelectKind(RecordKind::ChatWindow));
    store.WriteRecord(
        store.Section(),
        {{"BkColor", "-4"}, {"TextColor", "99"}, {"Rows", "12"}, {"UseCaption", "0"}});
    bar = ChatBarSettings::Load(*registry);
    EXPECT_EQ(bar.bkColor, 0);
    EXPECT_EQ(bar.textColor, 15);
    EXPECT_EQ(bar.rows, 9);
    EXPECT_FALSE(bar.useCaption);
    bar.rows = 3;
    ASSERT_TRUE(bar.Save(*registry));
    EXPECT_EQ(ChatBarSettings::Load(*registry).rows, 3);

    CSettingsSection settings(*registry, "Settings");
    settings.SetString("MemoPos", "10,x");
    settings.SetString("MemoSize", "0,0");
    MemoWindowSettings memo = MemoWindowSettings::Load(*registry);
    EXPECT_EQ(memo.x, 0);
    EXPECT_EQ(memo.width, MemoWindowSettings::kDefaultWidth);
    memo.x = 40, memo.y = -5, memo.width = 300, memo.height = 150, memo.topMost = true;
    ASSERT_TRUE(memo.SavePlacement(*registry) && memo.SaveFlags(*registry));
    memo = MemoWindowSettings::Load(*registry);
    EXPECT_EQ(settings.GetString("MemoPos"), "40,-5");
    EXPECT_EQ(memo.height, 150);
    EXPECT_TRUE(memo.topMost);
}

// Random host lines through the whole assistant of every service: nothing reads past a line,
// and lines of plain letters, which no pattern can match, change nothing.
TEST_F(ChatRoomTest, RandomLinesChangeNothingUnlessTheyMatch) {
    std::mt19937 random(4);
    const std::string alphabet = "ab(%)[]>:#'* \t" + cp("님가") + "\xA3\xFE\x81";
    const char* services[] = {"하이텔", "천리안", "나우누리", "유니텔"};
    for (const char* service : services) {
        useService(service);
        for (int i = 0; i < 500; ++i) {
            std::string line(random() % 513, ' ');
            for (char& c : line)
                c = random() % 3 ? alphabet[random() % alphabet.size()] : char(random() % 256);
            session.inRoom = true;
            chat.LineColour(line);
            chat.RecogniseServiceLine(line);
        }
    }
    session.sent.clear();
    views = RecordingViews();
    for (const char* service : services) {
        useService(service);
        session.inRoom = true;
        const size_t before = chat.Room().Count();
        for (int i = 0; i < 200; ++i) {
            std::string line(random() % 80, 'a');
            for (char& c : line)
                c = static_cast<char>('a' + random() % 26);
            EXPECT_EQ(chat.LineColour(line), -1);
            EXPECT_FALSE(chat.RecogniseServiceLine(line));
        }
        EXPECT_EQ(chat.Room().Count(), before);
        EXPECT_TRUE(session.inRoom);
    }
    EXPECT_EQ(session.sent, "");
    EXPECT_EQ(views.presenceChanges + views.roomChanges, 0);
}

TEST(MemoAutoHideTest, ClosesAfterDeactivationUnlessActivatedOrTyping) {
    MemoAutoHide hide;
    EXPECT_FALSE(hide.Expired(0, true));
    hide.TextArrived(0);  // not running: no start
    EXPECT_FALSE(hide.Running());
    hide.Deactivated(1000);
    EXPECT_FALSE(hide.Expired(10999, true));
    EXPECT_TRUE(hide.Expired(11000, true));
    EXPECT_FALSE(hide.Expired(11000, false));  // a reply being typed keeps the window
    hide.TextArrived(5000);                    // restarted with 12 seconds
    EXPECT_FALSE(hide.Expired(16999, true));
    EXPECT_TRUE(hide.Expired(17000, true));
    hide.Activated();
    EXPECT_FALSE(hide.Expired(99999, true));
    hide.SetEnabled(false);
    hide.Deactivated(0);
    EXPECT_FALSE(hide.Running());
}
