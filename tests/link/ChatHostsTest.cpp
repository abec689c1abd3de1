// The chat-room assistant end to end: the headless session reaches the scripted host program,
// run by inetutils telnetd, through a telnet entry named after the service, and plays one
// dialogue per service; the participant list, the attribute plane, presence marks, the memo
// log and what the host received are checked.
#include <fstream>
#include <sstream>

#include "auto/CRecordStore.h"
#include "auto/ChatColours.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/SessionTestSupport.h"

namespace {

struct ChatHostCase {
    const char* service;
    const char* dialogue;
    const char* memoCommand;
    std::vector<const char*> entries;  // the list once the room has settled, UTF-8
    const char* colouredId;            // given colour 12 before the status command
    const char* colouredLine;          // the speaker's next line
    const char* reversedLine;          // a line shown reversed, or nullptr
    std::vector<std::pair<const char*, const char*>> presence;
    const char* memoSender;
    const char* memoText;
    const char* reply;
    std::vector<const char*> hostReceived;  // the lines the host received, in order
};

class ChatHostsTest : public SessionTest, public ::testing::WithParamInterface<ChatHostCase> {
protected:
    ChatHostsTest() : system(loop, prompt, *registry, frame) {}
    ~ChatHostsTest() override { doc.reset(); }

    void addService(const ChatHostCase& c) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(RecordKind::Service));
        std::optional<RegKey> key = store.AddRecord(store.Section());
        ASSERT_TRUE(key && store.WriteRecord(*key, {{"Title", cp(c.service)},
                                                    {cp("쪽지 보내기"), c.memoCommand},
                                                    {cp("시작 프롬프트"), "none"}}));
    }
    // The screen row showing the text, or -1.
    int rowOf(const std::string& text) const {
        for (int y = 0; y < view.Rows(); ++y)
            if (view.Text(y).find(text) != std::string::npos) return y;
        return -1;
    }
    std::vector<std::string> entries() {
        std::vector<std::string> out;
        ChatRoomState& room = doc->Chat().Room();
        for (size_t i = 0; i < room.Count(); ++i)
            out.push_back(room.EntryText(i));
        return out;
    }
    std::string hostLog() const {
        std::stringstream text;
        text << std::ifstream(logPath).rdbuf();
        return text.str();
    }

    SystemLinks system;
    std::string logPath = dir + "/host.log";
};

TEST_P(ChatHostsTest, RoomPresenceAndMemosAsTheHostPrintsThem) {
    const ChatHostCase& c = GetParam();
    TelnetServer server(TelnetServer::Kind::Inetutils, "/dev/null", 0,
                        TelnetServer::fixtureProgram("quilite-bbs-host") + " --service x" +
                            " --timeout 20000 --log " + logPath + " --script " +
                            QUILITE_SOURCE_DIR + "/tests/fixtures/bbs/" + c.dialogue);
    addService(c);
    start({}, Clock::steady(), &system);
    ASSERT_TRUE(doc->ConnectEntry({{"Title", "chat"},
                                   {"Type", "1"},
                                   {"Host", cp(c.service)},
                                   {"Server", "127.0.0.1:" + std::to_string(server.port())}}));
    ChatAssistant& chat = doc->Chat();

    if (c.colouredId) {
        std::vector<std::string> expected;
        for (const char* entry : c.entries)
            expected.push_back(cp(entry));
        ASSERT_TRUE(runProgramUntil([&] { return entries() == expected; }, 20000))
            << ::testing::PrintToString(entries());
        if (c.reversedLine) {
            const int y = rowOf(cp(c.reversedLine));
            ASSERT_GE(y, 0);
            EXPECT_EQ(view.Attr(0, y), 0xF1);  // white on blue, swapped
        }
        const std::optional<size_t> index = chat.Room().IndexOf(c.colouredId, "");
        ASSERT_TRUE(index);
        chat.Room().SetColour(*index, 12);
        chat.Room().RefreshParticipants();
        ASSERT_TRUE(runProgramUntil([&] { return rowOf(cp(c.colouredLine)) >= 0; }, 20000));
        const int y = rowOf(cp(c.colouredLine));
        for (int x = 0; x < TWView::kColumns; ++x)
            EXPECT_EQ(view.Attr(x, y) & 0x0F, 12) << x;
        EXPECT_EQ(view.Attr(0, y + 1) & 0x0F, 15);  // the next line is left alone
    }

    ASSERT_TRUE(runProgramUntil([&] { return !chat.MemoLog().empty(); }, 20000));
    EXPECT_TRUE(doc->InChatRoom());
    EXPECT_EQ(chat.MemoLog().back().substr(chat.MemoLog().back().find('\t')),
              "\t" + cp(c.memoSender) + "\t" + cp(c.memoText));
    for (const auto& [id, mark] : c.presence) {
        ASSERT_TRUE(chat.Presence().count(id)) << id;
        EXPECT_EQ(chat.Presence().at(id), mark) << id;
    }
    EXPECT_TRUE(chat.SendMemo(cp(c.memoSender), cp(c.reply)));
    ASSERT_TRUE(runProgramUntil([&] { return !doc->InChatRoom(); }, 20000));
    EXPECT_TRUE(entries().empty());
    doc->SendLine("bye");
    std::string expected;
    for (const char* line : c.hostReceived)
        expected += cp(line) + "\n";
    EXPECT_TRUE(runProgramUntil([&] { return hostLog() == expected; }, 10000))
        << ::testing::PrintToString(hostLog());
}

INSTANTIATE_TEST_SUITE_P(Services, ChatHostsTest,
                         ::testing::Values(ChatHostCase{"하이텔",
                                                        "chat-hitel.txt",
                                                        "memo",
                                                        {"kim001\t철수\t-1", "lee001\t영희2\t-1"},
                                                        "kim001",
                                                        "빨간 줄",
                                                        nullptr,
                                                        {{"lee001", "O"}, {"park01", "X"}},
                                                        "lee001",
                                                        "점심 먹자",
                                                        "좋아",
                                                        {"/st 1234", "/memo lee001 좋아", "bye"}},
                                           ChatHostCase{
                                               "천리안",
                                               "chat-chollian.txt",
                                               "/memo",
                                               {"hong01\t길동이\t-1", "kim001\t철수\t-1"},
                                               "kim001",
                                               "철수>빨간 줄",
                                               "(!)귀엣말입니다",
                                               {{"abc01", "O"}, {"lee01", "O"}, {"park01", "X"}},
                                               "lee01",
                                               "안녕하세요",
                                               "좋아",
                                               {"/u 홍길동", "/w my", "/memo lee01 좋아", "bye"}},
                                           ChatHostCase{"나우누리",
                                                        "chat-nownuri.txt",
                                                        "memo",
                                                        {"kim001\t철수\t-1"},
                                                        "kim001",
                                                        "빨간 줄",
                                                        nullptr,
                                                        {{"lee01", "O"}, {"park01", "X"}},
                                                        "lee01",
                                                        "반가워",
                                                        "좋아",
                                                        {"/st", "/memo lee01 좋아", "bye"}},
                                           ChatHostCase{"유니텔",
                                                        "chat-unitel.txt",
                                                        "memo",
                                                        {},
                                                        nullptr,
                                                        nullptr,
                                                        nullptr,
                                                        {{"lee01", "O"}, {"park01", "X"}},
                                                        "lee01",
                                                        "잘 지내",
                                                        "좋아 요",
                                                        {"/memo lee01 좋아_요", "bye"}}));

}  // namespace
