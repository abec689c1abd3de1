// The internet connection on scripted dial-up networking and the test connector: every question
// and check in order, the modem handed over and given back, the connection remembered for the
// close query.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "link/InternetDialer.h"
#include "link/InternetSettings.h"
#include "tests/fixtures/FakeDialupBackend.h"
#include "tests/link/SessionTestSupport.h"

namespace {

const std::string kConfirm =
    "인터넷에 연결하면 통신 요금 외에 분당 이용 요금이 추가될 수 있습니다.\n\n"
    "인터넷에 연결하시겠습니까?";
const std::string kModemOnline =
    "모뎀으로 연결한 상태이므로 인터넷 연결을 할 수 없습니다.\n\n모뎀을 강제로 닫은후 인터넷 "
    "연결을 하시겠습니까?";
const std::string kNotInstalled =
    "전화 접속 네트워킹이 설치되어 있지 않습니다. (ppp 패키지가 없습니다)\n\n반트라 인터넷 환경 "
    "마법사를 실행하시겠습니까?";
const std::string kWizardMissing = "반트라 인터넷 환경 마법사를 실행할 수 없습니다.";
const std::string kAlready = "이미 인터넷에 전화 접속 네트워킹으로 연결된 상태입니다.";
const std::string kNetquay =
    "인터넷 연결 서비스인 Netquay 설치 프로그램이 이전에 실행된 적이 없습니다.\n\n"
    "지금 실행하시겠습니까?";
const std::string kNetquayMissing = "Netquay 설치 프로그램을 실행할 수 없습니다.";
const std::string kNoAutodial =
    "기본 전화 접속 네트워킹 연결이 없거나 모뎀으로 인터넷에 연결하도록 설정되어 있지 "
    "않습니다.\n\n통신 설정의 \"인터넷 연결\"에서 \"모뎀으로 인터넷에 연결\"을 선택하고 사용할 "
    "연결을 지정하십시오.";
const std::string kNoProfile =
    "인터넷 연결에 사용할 전화 접속 네트워킹 연결이 지정되어 있지 않습니다.\n\n인터넷 연결 "
    "서비스인 Netquay 설치 프로그램을 실행하시겠습니까?";

// The session's hooks as the program forwards them to its dialler.
class ForwardingHooks : public SessionHooks {
public:
    std::string InternetConnection() override { return dialer->InternetConnection(); }
    void HangUpInternet() override { dialer->HangUpInternet(); }
    InternetDialer* dialer = nullptr;
};

class InternetDialerTest : public SessionTest {
protected:
    InternetDialerTest() {
        addModem();
        setComm("InitMode", "0");  // a modem session
        start({}, Clock::steady(), nullptr, &forwarding);
        dialer.emplace(
            InternetContext{*doc, loop, prompt, *registry, frame, backend, launcher,
                            std::string(QUILITE_SOURCE_DIR) + "/tests/fixtures/test-connector"});
        forwarding.dialer = &*dialer;
        settings({false, false, true, "isp"});
    }

    void settings(const InternetSettings& s) { ASSERT_TRUE(StoreInternetSettings(*registry, s)); }
    std::vector<std::string> asked() const {
        std::vector<std::string> texts;
        for (const PromptRequest& r : prompt.asked)
            texts.push_back(r.text);
        return texts;
    }
    bool dialEnds() {
        return runUntil([&] { return !dialer->Dialling(); });
    }
    int64_t now() const { return Clock::steady().nowMs(); }

    FakeDialupBackend backend{loop};
    ProcessLauncher launcher;
    ForwardingHooks forwarding;
    std::optional<InternetDialer> dialer;
};

// Each row: the settings and the state of dial-up networking, the user's answers, then every
// question asked in order and whether the dial went ahead.
TEST_F(InternetDialerTest, QuestionsAndChecksInOrder) {
    using A = PromptAnswer;
    struct Row {
        const char* what;
        InternetSettings settings;
        std::string missing;  // why dial-up networking is not installed
        std::vector<std::string> up;
        std::string dialer;
        std::vector<A> answers;
        std::vector<std::string> asked;
        bool dials;
    };
    const std::vector<Row> rows = {
        {"asked first, no", {true, false, true, "isp"}, "", {}, "", {A::No}, {kConfirm}, false},
        {"asked first, yes", {true, false, true, "isp"}, "", {}, "", {A::Yes}, {kConfirm}, true},
        {"not installed",
         {false, false, true, "isp"},
         "ppp 패키지가 없습니다",
         {},
         "",
         {A::No},
         {kNotInstalled},
         false},
        {"not installed, wizard",
         {false, false, true, "isp"},
         "ppp 패키지가 없습니다",
         {},
         "",
         {A::Yes},
         {kNotInstalled, kWizardMissing},
         false},
        {"connected elsewhere",
         {false, true, true, "isp"},
         "",
         {"ppp0"},
         "",
         {},
         {kAlready},
         false},
        {"netquay, no", {false, true, true, "isp"}, "", {}, "", {A::No}, {kNetquay}, true},
        {"netquay, yes",
         {false, true, true, "isp"},
         "",
         {},
         "",
         {A::Yes},
         {kNetquay, kNetquayMissing},
         false},
        {"autodial off", {false, false, false, "isp"}, "", {}, "", {}, {kNoAutodial}, false},
        {"no profile", {false, false, true, ""}, "", {}, "", {A::No}, {kNoProfile}, false},
        {"no profile, netquay",
         {false, false, false, ""},
         "",
         {},
         "",
         {A::Yes},
         {kNoProfile, kNetquayMissing},
         false},
        {"connector skips the rest", {false, true, false, ""}, "", {}, "Ruzedaz", {}, {}, true},
    };
    setenv("QUILITE_CONNECTOR_PLAY", "exit", 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        settings(row.settings);
        backend.missingReason = row.missing;
        backend.up = row.up;
        backend.calls.clear();
        prompt.asked.clear();
        for (A answer : row.answers)
            prompt.expect(answer);
        dialer->ConnectInternet("", row.dialer);
        EXPECT_EQ(asked(), row.asked);
        EXPECT_EQ(dialer->Dialling(), row.dials);
        ASSERT_TRUE(dialEnds());
        if (row.dials && row.dialer.empty()) {
            EXPECT_EQ(backend.calls, std::vector<std::string>{"dial isp"});
        }
        backend.drop("isp");
    }
    // The Netquay offer is made once.
    settings({false, true, true, "isp"});
    prompt.asked.clear();
    prompt.expect(A::No);
    for (int i = 0; i < 2; ++i) {
        dialer->ConnectInternet("", "");
        ASSERT_TRUE(dialEnds());
        backend.drop("isp");
    }
    EXPECT_EQ(asked(), std::vector<std::string>{kNetquay});
}

TEST_F(InternetDialerTest, TheCheckBoxIsStoredAndZeroAsksNothing) {
    settings({true, false, true, "isp"});
    prompt.expect(PromptAnswer::Yes, false);
    dialer->ConnectInternet("", "");
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].checkText, "인터넷 연결시 항상 확인(&A)");
    EXPECT_EQ(prompt.asked[0].caption, "인터넷 연결");
    EXPECT_TRUE(prompt.asked[0].checked);
    ASSERT_TRUE(dialEnds());
    EXPECT_FALSE(LoadInternetSettings(*registry).askFirst);
    dialer->HangUpInternet();

    prompt.asked.clear();
    dialer->ConnectInternet("", "");
    EXPECT_TRUE(prompt.asked.empty());
    ASSERT_TRUE(dialEnds());
}

TEST_F(InternetDialerTest, ModemOnlineIsClosedOnlyWhenTheUserAgrees) {
    setOnline(true);
    prompt.expect(PromptAnswer::No);
    dialer->ConnectInternet("", "");
    EXPECT_EQ(asked(), std::vector<std::string>{kModemOnline});
    EXPECT_FALSE(dialer->Dialling());
    EXPECT_TRUE(doc->LinkOpen());

    prompt.expect(PromptAnswer::Yes);
    dialer->ConnectInternet("", "");
    EXPECT_TRUE(dialer->Dialling());
    EXPECT_FALSE(doc->LinkOpen());  // released before dialling
    EXPECT_EQ(doc->Interpreter(), nullptr);
    EXPECT_EQ(frame.clears, 1);
    ASSERT_TRUE(dialEnds());
}

// Connected: the window is usable again, the connection is named by the close query, a second
// dial is refused, and closing ends it.
TEST_F(InternetDialerTest, ConnectedThenHungUpAtClosing) {
    dialer->ConnectInternet("", "");
    EXPECT_EQ(frame.enables, std::vector<bool>{false});
    ASSERT_TRUE(dialEnds());
    EXPECT_EQ(frame.enables, (std::vector<bool>{false, true}));
    EXPECT_EQ(dialer->InternetConnection(), "isp");

    dialer->ConnectInternet("", "");
    EXPECT_EQ(asked(), std::vector<std::string>{kAlready});

    prompt.asked.clear();
    prompt.expect(PromptAnswer::Yes);
    EXPECT_TRUE(doc->QueryClose());
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_EQ(prompt.asked[0].text, "\"isp\"을(를) 통해 인터넷에 연결 중입니다. 연결을 끊습니다.");
    EXPECT_EQ(backend.calls, (std::vector<std::string>{"dial isp", "hangUp isp"}));
    EXPECT_EQ(dialer->InternetConnection(), "");
}

TEST_F(InternetDialerTest, AConnectionThatDroppedIsForgottenAndOthersAreNotAdopted) {
    dialer->ConnectInternet("", "");
    ASSERT_TRUE(dialEnds());
    backend.drop("isp");
    backend.up = {"ppp7"};  // another program's
    EXPECT_FALSE(dialer->IsInternetConnected());
    EXPECT_EQ(dialer->InternetConnection(), "");
    prompt.asked.clear();
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(InternetDialerTest, AFailedDialShowsItsReasonAndGivesTheModemBack) {
    backend.answers = {{10, 10}};
    const size_t opened = links.modemsOpened.size();
    dialer->ConnectInternet("", "");
    ASSERT_TRUE(dialEnds());
    const int64_t ended = now();
    EXPECT_EQ(frame.statuses.back(), "인터넷 연결 실패: error 10");
    EXPECT_EQ(frame.enables, (std::vector<bool>{false, true}));
    EXPECT_EQ(dialer->InternetConnection(), "");
    ASSERT_TRUE(runUntil([&] { return links.modemsOpened.size() > opened; }, 8000));
    EXPECT_GE(now() - ended, InternetDialer::kFailedReopenMs - 100);
    EXPECT_TRUE(doc->LinkOpen());
}

// The dial runs while the loop goes on; cancelling the wait notice hangs up.
TEST_F(InternetDialerTest, CancellingTheWaitNoticeHangsUp) {
    backend.answers = {{0, 5000}};
    prompt.cancelWaitsAfter(2);
    const int64_t started = now();
    dialer->ConnectInternet("", "");
    EXPECT_TRUE(dialer->Dialling());
    ASSERT_TRUE(dialEnds());
    EXPECT_LT(now() - started, 2000);
    EXPECT_EQ(backend.calls, (std::vector<std::string>{"dial isp", "hangUp isp"}));
    EXPECT_EQ(frame.enables, (std::vector<bool>{false, true}));
    EXPECT_EQ(frame.statuses.back(), "인터넷 연결 실패: error 5");
}

TEST_F(InternetDialerTest, TheConnectorsReports) {
    char logPattern[] = "/tmp/quilite-connector-XXXXXX";
    const int logFd = mkstemp(logPattern);
    ASSERT_GE(logFd, 0);
    close(logFd);
    setenv("QUILITE_CONNECTOR_LOG", logPattern, 1);
    struct Row {
        const char* play;
        bool connected;
        int clears;  // the failure report clears the screen once more
    };
    for (const Row& row : std::vector<Row>{
             {"connect", true, 1}, {"fail", false, 2}, {"cancel", false, 2}, {"exit", false, 1}}) {
        SCOPED_TRACE(row.play);
        setenv("QUILITE_CONNECTOR_PLAY", row.play, 1);
        frame.clears = 0;
        frame.statuses.clear();
        dialer->ConnectInternet("", "Ruzedaz");
        ASSERT_TRUE(dialEnds());
        EXPECT_EQ(frame.clears, row.clears);
        EXPECT_EQ(frame.statuses.empty(), row.connected);
        EXPECT_EQ(frame.enables.back(), true);
    }
    std::ifstream log(logPattern);
    std::string answer;
    std::getline(log, answer);
    EXPECT_EQ(answer, "1234 0 0");
    std::filesystem::remove(logPattern);

    // A connector that keeps quiet is ended by cancelling; a missing one fails at once.
    setenv("QUILITE_CONNECTOR_PLAY", "hold", 1);
    prompt.cancelWaitsAfter(2);
    dialer->ConnectInternet("", "Ruzedaz");
    ASSERT_TRUE(dialEnds());
    InternetDialer missing(InternetContext{*doc, loop, prompt, *registry, frame, backend, launcher,
                                           "/nonexistent/executer"});
    missing.ConnectInternet("", "Ruzedaz");
    ASSERT_TRUE(runUntil([&] { return !missing.Dialling(); }));
    EXPECT_EQ(frame.enables.back(), true);
}

TEST_F(InternetDialerTest, TheAddressOrStartPageIsOpened) {
    char binPattern[] = "/tmp/quilite-opener-XXXXXX";
    const std::string bin = mkdtemp(binPattern);
    {
        std::ofstream opener(bin + "/xdg-open");
        opener << "#!/bin/sh\nprintf '%s|' \"$@\" >> " << bin << "/opened\n";
    }
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    auto opened = [&] {
        std::ifstream in(bin + "/opened");
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto dialOpening = [&](const std::string& address, bool opens) {
        const size_t before = opened().size();
        dialer->ConnectInternet(address, "");
        ASSERT_TRUE(dialEnds());
        if (opens) {
            EXPECT_TRUE(runUntil([&] { return opened().size() > before; }));
        }
        backend.drop("isp");
    };
    dialOpening("example.org/a b", false);  // refused
    EXPECT_EQ(prompt.asked.back().text, "열 수 없는 주소입니다: example.org/a b");
    setSetting("Settings", "StartPage", "http://start.example/");
    dialOpening("", true);
    dialOpening("example.org:8080/x", true);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(opened(), "http://start.example/|http://example.org:8080/x|");
    std::filesystem::remove_all(bin);
}

TEST(BrowsableAddress, OnlyWebAddressesAndHostNames) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> rows = {
        {"http://example.org/", "http://example.org/"},
        {"HTTPS://example.org", "HTTPS://example.org"},
        {"ftp://ftp.example.org/pub", "ftp://ftp.example.org/pub"},
        {"www.example.org", "http://www.example.org"},
        {"example.org:8080/path?q=1", "http://example.org:8080/path?q=1"},
        {"http://", std::nullopt},
        {"file:///etc/passwd", std::nullopt},
        {"javascript:alert(1)", std::nullopt},
        {"-x", std::nullopt},
        {"--help", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"example.org:port", std::nullopt},
        {"exa mple.org", std::nullopt},
        {"한국.kr", std::nullopt},
        {"http://한국.kr/", "http://한국.kr/"},
        {"http://a\nb", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [address, expected] : rows)
        EXPECT_EQ(BrowsableAddress(address), expected) << address;
}

}  // namespace
