// The modem dialler: dial commands and result words; the dialler's states, list and messages
// over a fake link with a clock the test moves; and its dials against the simulated Hayes modem
// on a pty, one scripted answer per number.
#include <map>

#include "link/ConnectionEntries.h"
#include "link/DialResult.h"
#include "link/DialerHooks.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/HayesModem.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/link/SessionTestSupport.h"

namespace {

const std::string kNoNumber = "체크된 전화번호가 없습니다.\n전화번호를 체크하십시오.";
const std::string kBadNumber = "전화번호에는 0123456789-*#!@$?;의 값만 입력할 수 있습니다.";
const std::string kNoDialTone =
    "신호음을 검출할 수 없습니다.\n\n전화선이 모뎀에 잘 연결되어\n있는지 확인해 보십시오.";

TEST(DialPlan, DialCommandsFromTheLocation) {
    struct Case {
        PhoneRecord record;
        DialLocation location;
        std::string command;
    };
    const Case cases[] = {
        {{"02", "3420-1410", "", true}, {"", "", "031"}, "ATDT02-3420-1410"},
        {{"02", "3420-1410", "", true}, {"", "", "02"}, "ATDT3420-1410"},  // the location's own
        {{"0", "01410", "", true}, {"", "", ""}, "ATDT01410"},
        {{"", "01410", "", true}, {"", "", "02"}, "ATDT01410"},
        {{"02", "3420-1410", "", true}, {"", "9,", ""}, "ATDT9,02-3420-1410"},
        {{"", "01410", "", true}, {"", "9,", ""}, "ATDT9,01410"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DialCommand(c.record, c.location), c.command);
    EXPECT_TRUE(IsOutsidePrefix("9,"));
    EXPECT_FALSE(IsOutsidePrefix("9\r"));
    EXPECT_FALSE(IsDialable({"", "", "", true}));
    EXPECT_FALSE(IsDialable({"02\n", "1", "", true}));
}

TEST(DialResult, ResultWordsInTheirOrder) {
    const std::pair<const char*, DialResult> cases[] = {
        {"NO DIALTONE", DialResult::NoDialTone},
        {"NO DIAL", DialResult::NoDialTone},
        {"NO DIA", DialResult::Failed},
        {"ERROR", DialResult::Error},
        {"ERRO", DialResult::None},
        {"CONNECT", DialResult::Connected},
        {"CONNECT 33600/ARQ", DialResult::Connected},
        {"CONNEC", DialResult::None},
        {"connect 33600", DialResult::None},
        {"CARRIER 28800", DialResult::Connected},
        {"PROTOCOL: LAPM", DialResult::Connected},
        {"COMPRESS: V.42BIS", DialResult::Connected},
        {"AUTOSTREAM: LEVEL 3", DialResult::Connected},
        {"RINGBACK", DialResult::Connected},
        {"BUSY", DialResult::Failed},
        {"NO CARRIER", DialResult::Failed},
        {"NO ANSWER", DialResult::Failed},
        {"OK", DialResult::Failed},
        {"OK\r\n", DialResult::Failed},
        {"OK 1", DialResult::None},
        {" OK", DialResult::None},
        {"RINGING", DialResult::None},
        {"ATDT01410", DialResult::None},
        {"", DialResult::None},
    };
    for (const auto& [line, result] : cases)
        EXPECT_EQ(ClassifyDialResult(line), result) << line;
}

// What the dialler showed: its state each time it changed, on the dialler's clock.
class RecordingDialerView : public DialerView {
public:
    struct Step {
        ModemDialer::State state;
        std::string dialString;
        int64_t atMs;
    };

    explicit RecordingDialerView(Clock& clock) : clock_(clock) {}
    void ShowDialer(ModemDialer& dialer) override {
        this->dialer = &dialer;
        ++shown;
        UpdateDialer();
    }
    void UpdateDialer() override {
        if (!dialer) return;
        const Step step{dialer->DialState(), dialer->DialString(), clock_.nowMs()};
        if (steps.empty() || steps.back().state != step.state ||
            steps.back().dialString != step.dialString)
            steps.push_back(step);
    }
    void HideDialer() override {
        dialer = nullptr;
        ++hidden;
    }
    // How long each failed try lasted, and each pause after one.
    std::vector<int64_t> failedTries() const {
        return between(ModemDialer::State::CommandSent, ModemDialer::State::Pausing);
    }
    std::vector<int64_t> pauses() const {
        return between(ModemDialer::State::Pausing, ModemDialer::State::CommandSent);
    }

    ModemDialer* dialer = nullptr;
    int shown = 0;
    int hidden = 0;
    std::vector<Step> steps;

private:
    // From each step in one state to the next step, when that is in the other.
    std::vector<int64_t> between(ModemDialer::State from, ModemDialer::State to) const {
        std::vector<int64_t> found;
        for (size_t i = 0; i + 1 < steps.size(); ++i) {
            if (steps[i].state != from) continue;
            size_t next = i + 1;
            while (next < steps.size() && steps[next].state == ModemDialer::State::Waiting)
                ++next;
            if (next < steps.size() && steps[next].state == to)
                found.push_back(steps[next].atMs - steps[i].atMs);
        }
        return found;
    }

    Clock& clock_;
};

// The dialler of a session in modem mode over a fake link.
class DialerTest : public SessionTest {
protected:
    DialerTest() {
        addModem();
        setComm("InitMode", "0");
        start({}, clock, nullptr, &dialerHooks);
        dialerHooks.Attach({*doc, loop, prompt, *registry, clock});
        dialerHooks.SetView(&dialerView);
        links.last->ClearOutput();
    }

    // Stores a modem entry with these numbers and connects it: the dialler opens.
    ModemDialer& open(const std::string& phone, const std::string& title = "하이텔") {
        entry = {{"Title", cp(title)}, {"Type", "0"}, {"Host", cp("하이텔")}, {"Phone", phone}};
        addEntry(RecordKind::ModemEntry, entry);
        EXPECT_TRUE(doc->ConnectEntry(entry));
        EXPECT_NE(dialerHooks.Dialer(), nullptr);
        return *dialerHooks.Dialer();
    }
    // Time moves on by ms and the dialler's timer ticks.
    void tick(int ms) {
        clock.advance(ms);
        dialerHooks.Dialer()->OnTimer();
    }
    // What went to the modem since the last look.
    std::string output() {
        std::string text = sent();
        links.last->ClearOutput();
        return text;
    }
    std::string storedPhone() {
        return EntryStore(*registry).Find(EntryKind::Modem, entry.at("Title"))->at("Phone");
    }
    // The messages the dialler gave, once the loop has shown them.
    std::vector<std::string> messages() {
        loop.runFor(10);
        std::vector<std::string> texts;
        for (const PromptRequest& asked : prompt.asked) {
            EXPECT_EQ(asked.caption, "전화걸기");
            texts.push_back(asked.text);
        }
        prompt.asked.clear();
        return texts;
    }

    FakeClock clock;
    DialerHooks dialerHooks;
    RecordingDialerView dialerView{clock};
    Record entry;
};

TEST_F(DialerTest, DialsCheckedNumbersRoundTheListAndReadsOnlyCompleteLines) {
    ModemDialer& dialer = open("02:1111:2400:0,:2222::1,031:3333:9600:1");
    // Opening starts at once: the selected first row is not checked, so the next one.
    EXPECT_EQ(output(), "ATDT2222\r");
    EXPECT_EQ(frame.title, "하이텔");
    EXPECT_TRUE(dialer.Dialling());
    EXPECT_FALSE(dialer.ListEnabled());
    EXPECT_EQ(dialer.StartButtonText(), "중지(&S)");
    EXPECT_EQ(dialer.CounterText(), " 0/80초");
    EXPECT_EQ(dialer.Caption(), "전화걸기 [하이텔]");
    EXPECT_EQ(dialer.LocationName(), "기본 위치");
    EXPECT_EQ(dialer.ServiceName(), "하이텔");
    EXPECT_EQ(dialer.Rows()[2].region, "");  // 031 is no code of the table
    EXPECT_EQ(dialer.Rows()[1].region, "전국");

    // The lines go to the dialler and no further; partial ones are not for it.
    EXPECT_FALSE(doc->ProcessLine("ATDT2222", false));
    EXPECT_EQ(dialer.DialState(), ModemDialer::State::Waiting);
    EXPECT_FALSE(doc->ProcessLine("BUSY", true));
    EXPECT_FALSE(doc->ProcessLine("RINGING", false));
    EXPECT_FALSE(doc->ProcessLine("ATDT2222", false));  // a late echo
    EXPECT_EQ(dialer.DialState(), ModemDialer::State::Waiting);
    doc->ProcessLine("BUSY", false);
    EXPECT_EQ(dialer.DialState(), ModemDialer::State::Pausing);
    EXPECT_EQ(output(), "\r");
    dialer.NextNumber();  // already pausing
    EXPECT_EQ(output(), "");

    tick(2900);
    EXPECT_EQ(dialer.DialState(), ModemDialer::State::Pausing);
    tick(100);
    EXPECT_EQ(output(), "ATDT031-3333\r");
    dialer.NextNumber();
    EXPECT_EQ(output(), "\r");
    tick(3000);
    EXPECT_EQ(output(), "ATDT2222\r");  // round the list

    // The session going online ends dialling as a success, even in a pause.
    doc->ProcessLine("NO CARRIER", false);
    EXPECT_EQ(dialer.DialState(), ModemDialer::State::Pausing);
    setOnline(true);
    EXPECT_EQ(dialerHooks.Dialer(), nullptr);
    EXPECT_EQ(dialerView.hidden, 1);
    EXPECT_EQ(frame.title, "하이텔");
    EXPECT_EQ(output(), "\r");  // the pause's CR only
    EXPECT_EQ(storedPhone(), "02:1111:2400:0,:2222::1,031:3333:9600:1");
    EXPECT_FALSE(doc->ProcessLine("BUSY", false));
    EXPECT_TRUE(messages().empty());
}

TEST_F(DialerTest, ATryTimesOutAndTheCounterShowsItsSeconds) {
    setComm("DialTimeOut", "5");
    ModemDialer& dialer = open(":1::1");
    EXPECT_EQ(output(), "ATDT1\r");
    tick(1200);
    EXPECT_EQ(dialer.CounterText(), " 1/5초");
    EXPECT_EQ(dialer.AnimationStep(), 1);
    tick(3000);
    EXPECT_EQ(dialer.CounterText(), " 4/5초");
    EXPECT_EQ(dialer.AnimationStep(), 2);
    tick(1000);
    EXPECT_EQ(dialer.DialState(), ModemDialer::State::Pausing);
    EXPECT_EQ(dialer.AnimationStep(), 0);
    EXPECT_EQ(output(), "\r");
    tick(3000);
    EXPECT_EQ(output(), "ATDT1\r");  // a single number again, without end
    EXPECT_EQ(dialer.CounterText(), " 0/5초");
    dialer.Close();

    setComm("DialTimeOut", "0");  // would end every try at once: the default instead
    EXPECT_EQ(open(":1::1", "두번째").CounterText(), " 0/80초");
}

TEST_F(DialerTest, NoNumberToDialStopsWithTheMessageThatSaysWhy) {
    struct Case {
        std::string phone;
        std::string prefix;
        std::string dialled;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"", "", "", {kNoNumber}},
        {":1::0,bad", "", "", {kNoNumber}},
        {"02:1\rATH:2400:1,:2::0", "", "", {kBadNumber}},
        {"02:1\nATH:2400:1,:2::1", "", "ATDT2\r", {}},
        {":2::1", "9\r", "", {"외부 연결 번호에는 0123456789-*#,!@$?;의 값만 입력할 수 있습니다."}},
    };
    int n = 0;
    for (const Case& c : cases) {
        setComm("OutsidePrefix", c.prefix);
        ModemDialer& dialer = open(c.phone, "entry " + std::to_string(n++));
        EXPECT_EQ(output(), c.dialled) << c.phone;
        EXPECT_EQ(messages(), c.messages) << c.phone;
        EXPECT_EQ(dialer.Dialling(), !c.dialled.empty());
        EXPECT_EQ(frame.title, c.dialled.empty() ? "" : "entry " + std::to_string(n - 1));
        dialer.Close();
        output();
    }
}

TEST_F(DialerTest, StartStopAutoDialTheListAndClosing) {
    setSetting("Settings", "AutoDial", "0");
    ModemDialer& dialer = open("02:1:2400:1,:2::1,bad");
    EXPECT_EQ(output(), "");  // not dialling on opening
    EXPECT_TRUE(dialer.ListEnabled());
    EXPECT_EQ(dialer.StartButtonText(), "걸기(&D)");
    dialer.SetRowChecked(0, false);
    dialer.SelectRow(1);
    dialer.StartOrStop();
    EXPECT_EQ(output(), "ATDT2\r");
    dialer.SetRowChecked(1, false);  // the list is disabled while dialling
    EXPECT_TRUE(dialer.Rows()[1].record.checked);
    dialer.StartOrStop();
    EXPECT_EQ(output(), "\r");  // abandons the call
    EXPECT_FALSE(dialer.Dialling());
    EXPECT_EQ(dialer.DialString(), "");
    EXPECT_EQ(frame.title, "");

    dialer.SetAutoDial(true);  // set while idle: starts
    EXPECT_EQ(output(), "ATDT2\r");
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetString("AutoDial"), "1");
    dialer.SetAutoDial(false);  // cleared while dialling: stops
    EXPECT_EQ(output(), "\r");
    EXPECT_FALSE(dialer.Dialling());
    EXPECT_EQ(CSettingsSection(*registry, "Settings").GetString("AutoDial"), "0");

    // One dialler at most: asked for again, the open one shows.
    doc->ConnectEntry(entry);
    EXPECT_EQ(dialerHooks.Dialer(), &dialer);
    EXPECT_EQ(dialerView.shown, 2);

    // Closing while dialling abandons the call and writes the list back, with what it could
    // not read after the rest.
    dialer.StartOrStop();
    EXPECT_EQ(output(), "ATDT2\r");
    dialer.Close();
    EXPECT_EQ(output(), "\r");
    EXPECT_EQ(frame.title, "");
    EXPECT_EQ(dialerHooks.Dialer(), nullptr);
    EXPECT_EQ(storedPhone(), "02:1:2400:0,:2::1,bad");
}

// ---------------------------------------------------------------------------------------------
// Against the simulated modem

struct ModemCase {
    const char* name;
    std::string init;                                                  // "ModemInit"
    std::string phone;                                                 // the entry's numbers
    std::map<std::string, std::vector<HayesModem::DialStep>> answers;  // by number dialled
    std::vector<std::string> dials;  // the dial commands the modem gets, in order
    bool online = true;
    std::string message{};       // told when dialling stopped
    std::string timeout = "80";  // "DialTimeOut"; the failed tries end by it when "1"
    std::string prefix{};        // "OutsidePrefix"
};

void PrintTo(const ModemCase& c, std::ostream* out) {
    *out << c.name;
}

const HayesModem::DialStep kConnect{100, "CONNECT 33600"};
const std::string kTwo = ":01410::1,:01411::1";

const ModemCase kModemCases[] = {
    {"BusyNoCarrierThenConnect",
     "AT&F E1 V1",
     "02:3420-1410:33600:1,:01410:28800:1,0331:230-1420:28800",
     {{"02-3420-1410", {{150, "BUSY"}}},
      {"01410", {{150, "NO CARRIER"}}},
      {"0331-230-1420", {{150, "CONNECT 33600"}}}},
     {"ATDT02-3420-1410", "ATDT01410", "ATDT0331-230-1420"}},
    {"RingingThenConnect",
     "AT&F E1 V1",
     ":01410::1",
     {{"01410", {{100, "RINGING"}, {300, "RINGING"}, {300, "CONNECT 28800"}}}},
     {"ATDT01410"}},
    // Without the modem's echo the first line after the command is its result.
    {"EchoOff",
     "AT&F E0 V1",
     kTwo,
     {{"01410", {{100, "BUSY"}}}, {"01411", {kConnect}}},
     {"ATDT01410", "ATDT01411"}},
    {"WholeLineOkFails",
     "AT&F E1 V1",
     kTwo,
     {{"01410", {{100, "OK"}}}, {"01411", {kConnect}}},
     {"ATDT01410", "ATDT01411"}},
    {"SilenceTimesOut",
     "AT&F E1 V1",
     kTwo,
     {{"01410", {}}, {"01411", {kConnect}}},
     {"ATDT01410", "ATDT01411"},
     true,
     "",
     "1"},
    {"ConnecIsNoResult",
     "AT&F E1 V1",
     kTwo,
     {{"01410", {{100, "CONNEC"}}}, {"01411", {kConnect}}},
     {"ATDT01410", "ATDT01411"},
     true,
     "",
     "1"},
    {"NoDialTone",
     "AT&F E1 V1",
     ":01410::1",
     {{"01410", {{100, "NO DIALTONE"}}}},
     {"ATDT01410"},
     false,
     kNoDialTone},
    {"Error", "AT&F E1 V1", ":01410::1", {{"01410", {{100, "ERROR"}}}}, {"ATDT01410"}, false},
    {"CarrierWithoutResultWord",
     "AT&F E1 V1 Q1",
     ":01410::1",
     {{"01410", {kConnect}}},
     {"ATDT01410"}},
    {"OutsidePrefixWithAPause",
     "AT&F E1 V1",
     "02:3420-1410::1",
     {{"9,02-3420-1410", {kConnect}}},
     {"ATDT9,02-3420-1410"},
     true,
     "",
     "80",
     "9,"},
};

class DialerModemTest : public SessionTest, public ::testing::WithParamInterface<ModemCase> {
protected:
    DialerModemTest() : modem(cable), system(loop, prompt, *registry, frame, cable.lines) {
        ModemTable::store(*registry, {{"Modem", cable.slavePath, std::nullopt}});
        setComm("ModemDevice", "Modem");
        setComm("InitMode", "0");
    }
    ~DialerModemTest() override {
        dialerHooks.Detach();
        doc.reset();
    }

    // The session in modem mode, its hooks the dialler's, started with the words of a command
    // line.
    void startModem(const std::vector<std::string>& words = {}) {
        start(words, Clock::steady(), &system, &dialerHooks);
        dialerHooks.Attach({*doc, loop, prompt, *registry, fast});
        dialerHooks.SetView(&dialerView);
    }
    void storeEntry(const std::string& phone) {
        entry = {{"Title", cp("하이텔")}, {"Type", "0"}, {"Host", cp("하이텔")}, {"Phone", phone}};
        addEntry(RecordKind::ModemEntry, entry);
    }
    // The commands the modem got after its initialisation.
    std::vector<std::string> dials() {
        std::vector<std::string> commands = modem.commands();
        commands.erase(commands.begin());
        return commands;
    }

    PtyCable cable;
    HayesModem modem;
    SystemLinks system;
    ScaledClock fast{10};  // the dialler's: its 3-s pauses last a tick
    DialerHooks dialerHooks;
    RecordingDialerView dialerView{fast};
    Record entry;
};

TEST_P(DialerModemTest, Dials) {
    const ModemCase& c = GetParam();
    setComm("ModemInit", c.init);
    setComm("OutsidePrefix", c.prefix);
    setComm("DialTimeOut", c.timeout);
    for (const auto& [number, steps] : c.answers)
        modem.onDial(number, steps);
    storeEntry(c.phone);
    startModem();
    if (c.init.ends_with("Q1")) {  // a quiet modem answers nothing
        ASSERT_TRUE(runUntil([&] { return modem.commands().size() == 1; }));
    } else {
        ASSERT_TRUE(runUntil([&] { return screenShows("OK"); }));
    }

    ASSERT_TRUE(doc->ConnectEntry(entry));
    ASSERT_TRUE(runUntil(
        [&] {
            ModemDialer* open = dialerHooks.Dialer();
            return doc->Online() || (open && !open->Dialling());
        },
        15000))
        << modem.received();
    loop.runFor(50);  // a message the dialler gave

    EXPECT_EQ(dials(), c.dials);
    EXPECT_EQ(doc->Online(), c.online);
    EXPECT_EQ(dialerHooks.Dialer() == nullptr, c.online);
    EXPECT_EQ(frame.title, c.online ? "하이텔" : "");
    std::vector<std::string> messages;
    for (const PromptRequest& asked : prompt.asked)
        messages.push_back(asked.text);
    EXPECT_EQ(messages,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    const std::vector<int64_t> pauses = dialerView.pauses();
    EXPECT_EQ(pauses.size(), c.dials.size() - 1);
    // The view sees a pause begin a moment after the dialler marks it, and on the dialler's
    // clock, ten times fast, each real millisecond of that moment counts ten.
    for (int64_t pause : pauses)
        EXPECT_GE(pause, ModemDialer::kPauseMs - 50);
    // A try fails by its result word long before the time-out, or by the time-out.
    const int64_t timeoutMs = std::stoi(c.timeout) * 1000;
    for (int64_t failed : dialerView.failedTries())
        EXPECT_EQ(failed >= timeoutMs, c.timeout == "1") << failed;
    if (c.online) {
        const PhoneList list = ParsePhoneList(c.phone);
        EXPECT_EQ(EntryStore(*registry).Find(EntryKind::Modem, cp("하이텔"))->at("Phone"),
                  JoinPhoneList(list.records, list.unreadable));
    }
}

INSTANTIATE_TEST_SUITE_P(ResultWords, DialerModemTest, ::testing::ValuesIn(kModemCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialerModemTest, StopAbandonsTheCallAndTheModemAnswersNoCarrier) {
    setComm("ModemInit", "AT&F E1 V1");
    modem.onDial("01410", {});  // silence until abandoned
    storeEntry(":01410::1");
    startModem();
    ASSERT_TRUE(runUntil([&] { return screenShows("OK"); }));
    ASSERT_TRUE(doc->ConnectEntry(entry));
    ASSERT_TRUE(runUntil([&] { return screenShows("ATDT01410"); }));
    dialerHooks.Dialer()->StartOrStop();
    ASSERT_TRUE(runUntil([&] { return screenShows("NO CARRIER"); }));
    EXPECT_TRUE(modem.received().ends_with("ATDT01410\r\r"));
    EXPECT_FALSE(dialerHooks.Dialer()->Dialling());
}

TEST_F(DialerModemTest, ACommandLineEntryIsDialledOnceTheModemAnsweredItsInitialisation) {
    setComm("ModemInit", "ATZ");
    modem.onDial("01410", {kConnect});
    storeEntry(":01410::1");
    startModem({"/m", "하이텔"});
    ASSERT_TRUE(runUntil([&] { return doc->Online(); }));
    EXPECT_EQ(modem.commands(), (std::vector<std::string>{"ATZ", "ATDT01410"}));
    EXPECT_EQ(dialerView.pauses().size(), 0u);  // the first try went through
    EXPECT_EQ(doc->CurrentEntry(), cp("하이텔"));
}

}  // namespace
