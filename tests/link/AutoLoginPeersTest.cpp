// The auto log-in end to end: the session over a real telnet link logs in to the scripted host
// playing each service of the shipped profile, directly and behind inetutils telnetd, and the
// host receives exactly the stored ID and password.
#include <filesystem>
#include <fstream>

#include "auto/CRecordStore.h"
#include "auto/RegImport.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/ScriptedBbsHost.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/SessionTestSupport.h"

namespace {

const char* const kServices[] = {"하이텔", "천리안", "나우누리", "유니텔"};

class AutoLoginPeersTest : public SessionTest {
protected:
    AutoLoginPeersTest() : system(loop, prompt, *registry, frame) {
        EXPECT_TRUE(importRegFile(*registry, QUILITE_SOURCE_DIR "/data/regorg.bak").ok());
        setSetting("Settings", "UseAutoLogin", "1");
    }
    ~AutoLoginPeersTest() override { doc.reset(); }

    // The ID, and auto macros that take the board to its end once logged in.
    void prepare(const std::string& service) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(RecordKind::Service));
        std::optional<RegKey> key = store.FindRecord(cp(service));
        ASSERT_TRUE(key) << service;
        ASSERT_TRUE(store.SaveIdList(*key, {{{"Title", "guest"}, {"Password", "s3cret!"}}}));
        std::vector<Record> rules;
        for (auto [pattern, reply] : {std::pair{"선택>", "1<Enter>"}, {"[Enter]를", "<Enter>"}})
            rules.push_back(
                {{"Title", cp(pattern)}, {"Pattern", cp(pattern)}, {"SendString", reply}});
        ASSERT_TRUE(store.SaveList(cp(service), RecordKind::AutoMacro, rules));
    }
    void connect(const std::string& service, int port) {
        start({}, Clock::steady(), &system);
        ASSERT_TRUE(doc->ConnectEntry({{"Title", "bbs"},
                                       {"Type", "1"},
                                       {"Host", cp(service)},
                                       {"Server", "127.0.0.1:" + std::to_string(port)}}));
    }

    std::string screenText() const {
        std::string text;
        for (int y = 0; y < view.Rows(); ++y)
            text += view.Text(y) + "\n";
        return text;
    }

    SystemLinks system;
};

TEST_F(AutoLoginPeersTest, EachShippedServiceGetsTheIdAndPassword) {
    const std::string cr("\r\0", 2);
    for (const char* service : kServices) {
        SCOPED_TRACE(service);
        ScriptedBbsHost host(ServiceBbsScript(service));
        prepare(service);
        connect(service, host.port());
        ASSERT_TRUE(runProgramUntil([&] { return host.finished(); }, 20000));
        EXPECT_TRUE(host.succeeded());
        EXPECT_EQ(host.received(), "guest" + cr + "s3cret!" + cr + "1" + cr + cr + cr + "1" + cr);
        EXPECT_EQ(doc->Login().OwnId(), "guest");
        EXPECT_TRUE(frame.chooserOffers.empty());
        doc.reset();
    }
}

// Behind telnetd the host reads a terminal, whose line discipline turns CR into LF.
TEST_F(AutoLoginPeersTest, BehindTelnetdTheHostGetsTheIdAndPassword) {
    const std::string service = "하이텔";
    const std::string log = dir + "/received";
    TelnetServer server(TelnetServer::Kind::Inetutils, dir + "/telnetd.log", 0,
                        QUILITE_BINARY_DIR "/tests/fixtures/quilite-bbs-host --service " + service +
                            " --timeout 10000 --log " + log);
    prepare(service);
    connect(service, server.port());
    auto received = [&] {
        std::ifstream in(log, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_TRUE(
        runProgramUntil([&] { return received().find("\n\n\n1\n") != std::string::npos; }, 20000))
        << received() << screenText();
    EXPECT_EQ(received(), "guest\ns3cret!\n1\n\n\n1\n");
}

}  // namespace
