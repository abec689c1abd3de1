// Auto macros end to end: the session over a real telnet link logs in to the scripted host and
// pages through its board, every reply checked byte for byte on the host's side; and the same
// host program run by inetutils telnetd, on the pty the server gives it.
#include "auto/CRecordStore.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/ScriptedBbsHost.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class AutoMacroPagerTest : public SessionTest {
protected:
    AutoMacroPagerTest() : system(loop, prompt, *registry, frame) {}
    ~AutoMacroPagerTest() override { doc.reset(); }

    // The service's record and its rules (UTF-8 pattern and reply pairs).
    void addService(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& rules) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(RecordKind::Service));
        std::optional<RegKey> key = store.AddRecord(store.Section());
        ASSERT_TRUE(key && store.WriteRecord(*key, {{"Title", cp(name)}}));
        std::vector<Record> records;
        for (auto& [pattern, reply] : rules)
            records.push_back(
                {{"Title", cp(pattern)}, {"Pattern", cp(pattern)}, {"SendString", cp(reply)}});
        ASSERT_TRUE(store.SaveList(cp(name), RecordKind::AutoMacro, records));
    }

    // The service "테스트" answering the scripted host's prompts, connected to a host's port.
    void connectWithRules(int port) {
        addService("테스트", {{"login:", "guest<Enter>"},
                              {"Password:", "secret<Enter>"},
                              {"선택>", "1<Enter>"},
                              {"[Enter]를 누르세요", "<Enter>"}});
        start({}, Clock::steady(), &system);
        ASSERT_TRUE(doc->ConnectEntry({{"Title", "bbs"},
                                       {"Type", "1"},
                                       {"Host", cp("테스트")},
                                       {"Server", "127.0.0.1:" + std::to_string(port)}}));
    }
    bool screenHas(const std::string& text) const {
        for (int y = 0; y < view.Rows(); ++y)
            if (view.Text(y).find(text) != std::string::npos) return true;
        return false;
    }

    SystemLinks system;
};

TEST_F(AutoMacroPagerTest, RulesLogInAndPageThroughTheBoard) {
    ScriptedBbsHost host(ServiceBbsScript("테스트"));
    connectWithRules(host.port());
    ASSERT_TRUE(runProgramUntil([&] { return host.finished(); }, 20000));
    EXPECT_TRUE(host.succeeded());
    const std::string cr = std::string("\r\0", 2);
    EXPECT_EQ(host.received(), "guest" + cr + "secret" + cr + "1" + cr + cr + cr + "1" + cr);
    // The host does not echo: each prompt is followed by the next text on its line.
    ASSERT_TRUE(runProgramUntil([&] { return screenShows(cp("선택> 안녕히 가십시오")); }, 5000));
    EXPECT_TRUE(screenShows(cp(" 4  마지막 쪽입니다")));
}

TEST_F(AutoMacroPagerTest, RulesPageThroughTheHostProgramUnderTelnetd) {
    TelnetServer server(TelnetServer::Kind::Inetutils, "/dev/null", 0,
                        TelnetServer::fixtureProgram("quilite-bbs-host") + " --service 테스트");
    connectWithRules(server.port());
    // The server's pty echoes what the rules type; the board's last page and the farewell show
    // that every page was answered.
    EXPECT_TRUE(runProgramUntil([&] { return screenShows(cp(" 4  마지막 쪽입니다")); }, 20000));
    EXPECT_TRUE(runProgramUntil([&] { return screenHas(cp("안녕히 가십시오")); }, 5000));
}

}  // namespace
