// The auto log-in inside the session over fake links and a fake clock: the ID prompt answered
// by automatic selection or through the chooser, the password prompt within its time, and
// everything that must leave the host unanswered.
#include "auto/CRecordStore.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class AutoLoginSessionTest : public SessionTest {
protected:
    AutoLoginSessionTest() {
        service = cp("하이텔");
        CRecordStore store(*registry);
        EXPECT_TRUE(store.SelectKind(RecordKind::Service));
        serviceKey = *store.AddRecord(store.Section());
        setPatterns("login: ", "Password: ");
        saveIds({{{"Title", "guest"}, {"Password", "pw"}}, {{"Title", "kim"}, {"Password", "k1"}}});
        entry = {{"Title", "bbs"}, {"Type", "1"}, {"Host", service}, {"Server", "bbs.example"}};
    }

    void setPatterns(const std::string& login, const std::string& password) {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(RecordKind::Service));
        ASSERT_TRUE(store.WriteRecord(
            serviceKey,
            {{"Title", service}, {"LoginString", login}, {"PasswordString", password}}));
    }
    void saveIds(const std::vector<Record>& ids) {
        ASSERT_TRUE(CRecordStore(*registry).SaveIdList(serviceKey, ids));
    }
    void connect(bool autoSelect) {
        setSetting("Settings", "UseAutoLogin", autoSelect ? "1" : "0");
        start({}, clock);
        ASSERT_TRUE(doc->ConnectEntry(entry));
        setOnline(true);
    }
    void receive(const std::string& bytes) {
        links.last->Feed(bytes);
        loop.addTimer(60, false, [this] { loop.quit(); });
        loop.kickIdle();
        loop.run();
    }
    int storedAutoLogin() {
        return CSettingsSection(*registry, "Settings").GetInt("UseAutoLogin", -9);
    }

    FakeClock clock;
    std::string service;
    RegKey serviceKey;
    Record entry;
};

TEST_F(AutoLoginSessionTest, AutomaticSelectionSendsTheDefaultIdAndPasswordOnceEach) {
    connect(true);
    EXPECT_EQ(doc->Login().State(), AutoLogin::kWaiting);
    receive("Password: ");  // before the ID: not ours
    receive("\r\nWelcome\r\nlogin: ");
    EXPECT_EQ(sent(), "guest\r");
    EXPECT_TRUE(frame.chooserOffers.empty());
    EXPECT_EQ(frame.attracted, 0);
    EXPECT_GE(frame.redraws, 1);
    receive("guest\r\nPassword: ");
    EXPECT_EQ(sent(), "guest\rpw\r");
    receive("\r\nlogin: ");
    receive("\r\nPassword: ");
    EXPECT_EQ(sent(), "guest\rpw\r");
    EXPECT_EQ(doc->Login().OwnId(), "guest");
    EXPECT_EQ(doc->Login().State(), AutoLogin::kDone);
}

TEST_F(AutoLoginSessionTest, ChooserEditsApplyToThisConnectionAndSetAutomaticSelection) {
    frame.chooser = [](LoginChoice& choice) {
        EXPECT_EQ(choice.id, "guest");
        EXPECT_EQ(choice.password, "pw");
        EXPECT_FALSE(choice.autoSelect);
        choice = {"kim", "typed", true};
        return true;
    };
    connect(false);
    receive("login: ");
    ASSERT_EQ(frame.chooserOffers.size(), 1u);
    EXPECT_EQ(frame.chooserOffers[0].size(), 2u);
    EXPECT_EQ(frame.attracted, 1);
    EXPECT_EQ(storedAutoLogin(), 1);
    receive("\r\nPassword: ");
    EXPECT_EQ(sent(), "kim\rtyped\r");
    std::vector<Record> ids;
    ASSERT_TRUE(CRecordStore(*registry).LoadIdList(serviceKey, ids));
    EXPECT_EQ(ids[0].at("Password"), "pw");
}

TEST_F(AutoLoginSessionTest, AnEmptyDefaultIdShowsTheChooserEvenWithAutomaticSelection) {
    saveIds({{{"Title", ""}, {"Password", "pw"}}});
    frame.chooser = [](LoginChoice& choice) {
        choice.id = "late";
        choice.password = "";
        return true;
    };
    connect(true);
    receive("login: ");
    EXPECT_EQ(frame.chooserOffers.size(), 1u);
    EXPECT_EQ(sent(), "late\r");
    EXPECT_EQ(doc->Login().State(), AutoLogin::kDone);  // no password to send
}

// What is left unanswered, each on a fresh connection with automatic selection.
TEST_F(AutoLoginSessionTest, NothingIsSentWhenTheLogInMustNotAnswer) {
    struct Case {
        const char* what;
        std::function<void()> before;
        std::string received;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"prompt followed by more data", [] {}, "login: \r\nnews", ""},
        {"log-in switched off", [this] { setSetting("Settings", "UseLogin", "0"); }, "login: ", ""},
        {"empty ID list", [this] { saveIds({}); }, "login: ", ""},
        {"no password pattern", [this] { setPatterns("login: ", ""); }, "login: ", ""},
        {"prompt in another case", [] {}, "LOGIN: ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before();
        connect(true);
        receive(c.received);
        EXPECT_EQ(sent(), c.expected);
        EXPECT_TRUE(frame.chooserOffers.empty());
        doc.reset();
        setSetting("Settings", "UseLogin", "1");
        setPatterns("login: ", "Password: ");
        saveIds({{{"Title", "guest"}, {"Password", "pw"}}});
    }
}

TEST_F(AutoLoginSessionTest, CancelledChooserEndsTheLogInForTheConnection) {
    connect(false);
    receive("login: ");
    receive("\r\nlogin: ");
    EXPECT_EQ(frame.chooserOffers.size(), 1u);
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(doc->Login().State(), AutoLogin::kDone);
    doc->SetCurrentService(service);  // setting the service again re-arms
    frame.chooser = [](LoginChoice&) { return true; };
    receive("\r\nlogin: ");
    EXPECT_EQ(sent(), "guest\r");
}

TEST_F(AutoLoginSessionTest, AConnectionEndedWhileChoosingGetsNothing) {
    frame.chooser = [this](LoginChoice&) {
        setOnline(false);
        return true;
    };
    connect(false);
    receive("login: ");
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(doc->Login().OwnId(), "");
}

TEST_F(AutoLoginSessionTest, APasswordPromptAfterItsTimeIsNotAnswered) {
    connect(true);
    receive("login: ");
    clock.advance(AutoLogin::kPasswordWindowMs + 1000);
    receive("\r\nPassword: ");
    EXPECT_EQ(sent(), "guest\r");
    EXPECT_EQ(doc->Login().State(), AutoLogin::kDone);
}

TEST_F(AutoLoginSessionTest, APromptWhileTheLinkIsBusyIsAnsweredOnceItDrains) {
    connect(true);
    links.last->drained = false;
    receive("login: ");
    EXPECT_EQ(sent(), "");
    links.last->drained = true;
    receive("");
    EXPECT_EQ(sent(), "guest\r");
    receive("");
    EXPECT_EQ(sent(), "guest\r");
}

TEST_F(AutoLoginSessionTest, KoreanPromptsAndAThousandIds) {
    setPatterns(cp("아이디: "), cp("비밀번호: "));
    std::vector<Record> ids;
    for (int i = 0; i < 1000; ++i)
        ids.push_back({{"Title", "u" + std::to_string(i)}});
    ids[0]["Password"] = "pw";
    saveIds(ids);
    frame.chooser = [](LoginChoice&) { return true; };
    connect(false);
    receive(cp("하이텔 아이디: "));
    ASSERT_EQ(frame.chooserOffers.size(), 1u);
    EXPECT_EQ(frame.chooserOffers[0].size(), 1000u);
    receive(cp("\r\n비밀번호: "));
    EXPECT_EQ(sent(), "u0\rpw\r");
}

TEST_F(AutoLoginSessionTest, TogglesAreStored) {
    start({}, clock);
    EXPECT_TRUE(doc->Login().UseLogin());
    EXPECT_FALSE(doc->ToggleUseLogin());
    EXPECT_TRUE(doc->ToggleUseAutoLogin());
    CSettingsSection settings(*registry, "Settings");
    EXPECT_EQ(settings.GetInt("UseLogin", -1), 0);
    EXPECT_EQ(settings.GetInt("UseAutoLogin", -1), 1);
}

}  // namespace
