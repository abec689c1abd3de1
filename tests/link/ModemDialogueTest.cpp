// The serial link talking to the simulated Hayes modem through a pty: commands and result
// words, dialling outcomes, auto-answer, data mode, and hanging up with the escape sequence.
#include <sys/socket.h>

#include <cstring>

#include "auto/ProgramExit.h"
#include "tests/fixtures/HayesModem.h"
#include "tests/link/SerialTestSupport.h"
#include "xfer/GFErrors.h"

namespace {

class ModemDialogue : public SerialTest {
protected:
    ModemDialogue() : modem(cable), link(context()) {
        EXPECT_TRUE(link.Open(cable.slavePath, SerialLink::kModem, 8192, 8192));
        pump(link);
    }
    // Sends a command line and waits for the modem's answer after it.
    bool command(const char* text, const std::string& answer) {
        received.clear();
        link.SendCommand(text);
        return waitFor(answer);
    }
    bool dialAndConnect() {
        modem.onDial("0141", {{50, "CONNECT 33600"}});
        return command("ATDT0141", "CONNECT 33600\r\n") &&
               runUntil([&] { return link.IsOnline(); });
    }

    HayesModem modem;
    SerialLink link;
};

TEST_F(ModemDialogue, CommandsAreEchoedAndAnswered) {
    EXPECT_TRUE(command("AT", "AT\r\r\nOK\r\n"));
    EXPECT_TRUE(command("ATZ", "ATZ\r\r\nOK\r\n"));
    EXPECT_TRUE(command("AT&F E1 V1 Q0 X4 &C1 &D2 S0=0", "\r\nOK\r\n"));
    EXPECT_TRUE(command("ATJ", "ATJ\r\r\nERROR\r\n"));
    EXPECT_TRUE(command("ATS0=3S0?", "\r\n003\r\n\r\nOK\r\n"));
    EXPECT_TRUE(command("ATE0", "\r\nOK\r\n"));
    EXPECT_TRUE(command("AT", "\r\nOK\r\n"));
    EXPECT_EQ(received, "\r\nOK\r\n") << "no echo";
    EXPECT_TRUE(command("ATV0", "0\r"));
    EXPECT_TRUE(command("ATJ", "4\r"));
    const std::vector<std::string> expected = {"AT",  "ATZ",       "AT&F E1 V1 Q0 X4 &C1 &D2 S0=0",
                                               "ATJ", "ATS0=3S0?", "ATE0",
                                               "AT",  "ATV0",      "ATJ"};
    EXPECT_EQ(modem.commands(), expected);
    EXPECT_FALSE(link.IsOnline());
}

struct DialCase {
    std::vector<HayesModem::DialStep> steps;
    std::string lastWord;
    bool online;
};

class Dialling : public ModemDialogue, public ::testing::WithParamInterface<DialCase> {};

TEST_P(Dialling, ResultWordsAndCarrier) {
    modem.onDial("01410", GetParam().steps);
    EXPECT_TRUE(command("ATDT01410", "\r\n" + GetParam().lastWord + "\r\n")) << received;
    EXPECT_TRUE(runUntil([&] { return link.IsOnline() == GetParam().online; }));
    loop.runFor(300);  // a status tick or more: nothing changes
    EXPECT_EQ(link.IsOnline(), GetParam().online);
    EXPECT_EQ(link.Control(GF_CONTROL_CARRIER, -1), GetParam().online ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Dialling,
    ::testing::Values(DialCase{{{100, "CONNECT 33600"}}, "CONNECT 33600", true},
                      DialCase{{{100, "BUSY"}}, "BUSY", false},
                      DialCase{{{100, "NO CARRIER"}}, "NO CARRIER", false},
                      DialCase{{{100, "NO ANSWER"}}, "NO ANSWER", false},
                      DialCase{{{50, "NO DIALTONE"}}, "NO DIALTONE", false},
                      DialCase{{{50, "RINGING"}, {50, "RINGING"}, {100, "CONNECT 33600"}},
                               "RINGING\r\n\r\nCONNECT 33600",
                               true}));

TEST_F(ModemDialogue, SilentCallIsAbandonedByAKey) {
    modem.onDial("0149", {});
    EXPECT_TRUE(command("ATDT0149", "ATDT0149\r"));
    loop.runFor(300);
    EXPECT_EQ(received, "ATDT0149\r");
    EXPECT_TRUE(command(nullptr, "\r\nNO CARRIER\r\n"));
    EXPECT_FALSE(link.IsOnline());
}

TEST_F(ModemDialogue, AutoAnswerAfterTheSetRings) {
    EXPECT_TRUE(command("ATS0=2", "OK\r\n"));
    received.clear();
    modem.ring();
    EXPECT_TRUE(waitFor("\r\nRING\r\n\r\nRING\r\n\r\nCONNECT 33600\r\n"));
    EXPECT_TRUE(runUntil([&] { return link.IsOnline(); }));
    EXPECT_TRUE(modem.inDataMode());
}

TEST_F(ModemDialogue, DataModeCarriesEveryByteBothWays) {
    int receivedLamps = 0, sentLamps = 0;
    link.SetActivityHandler(
        [&](LinkActivity a) { (a == LinkActivity::Received ? receivedLamps : sentLamps)++; });
    ASSERT_TRUE(dialAndConnect());
    received.clear();
    std::string typed =
        "hello 한글 **\x18"
        "B00 +++ \r\n";
    for (int c = 0; c < 256; ++c)
        typed += static_cast<char>(c);
    EXPECT_EQ(link.WriteString(typed.c_str()), static_cast<int>(std::strlen(typed.c_str())));
    EXPECT_EQ(link.Write(typed.data(), static_cast<int>(typed.size())),
              static_cast<int>(typed.size()));
    const std::string expected = typed.substr(0, std::strlen(typed.c_str())) + typed;
    EXPECT_TRUE(runUntil([&] { return received.size() >= expected.size(); }));
    EXPECT_EQ(received, expected) << "the modem echoes in data mode";

    received.clear();
    std::string bulk(300000, '\0');
    for (size_t i = 0; i < bulk.size(); ++i)
        bulk[i] = static_cast<char>((i * 7919) >> 3);
    const int runsBefore = idleRuns;
    modem.sendFromRemote(bulk);
    EXPECT_TRUE(runUntil([&] { return received.size() >= bulk.size(); }));
    EXPECT_TRUE(received == bulk);
    EXPECT_LT(idleRuns - runsBefore, 2000) << "one wake-up per drain, not per byte";
    EXPECT_GT(receivedLamps, 0);
    EXPECT_GT(sentLamps, 0);
}

TEST_F(ModemDialogue, FarEndHangingUpDropsCarrier) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    modem.connectRemote(fds[0]);
    ASSERT_TRUE(dialAndConnect());
    received.clear();
    link.WriteString("to the host");
    char buffer[64] = {};
    EXPECT_EQ(read(fds[1], buffer, 11), 11);
    EXPECT_STREQ(buffer, "to the host");
    EXPECT_EQ(write(fds[1], "from the host", 13), 13);
    EXPECT_TRUE(waitFor("from the host"));
    close(fds[1]);
    EXPECT_TRUE(waitFor("\r\nNO CARRIER\r\n"));
    EXPECT_TRUE(runUntil([&] { return !link.IsOnline(); }));
}

// In real time: a second of silence, "+++", the modem's guard time, then ATH.
TEST_F(ModemDialogue, HangUpEscapesBetweenGuardTimesThenHangsUp) {
    ASSERT_TRUE(dialAndConnect());
    link.WriteString("last words");
    const int64_t start = Clock::steady().nowMs();
    EXPECT_EQ(link.HangUp(0), 1);
    EXPECT_GE(Clock::steady().nowMs() - start, 2200);
    received.clear();
    EXPECT_TRUE(waitFor("OK\r\n"));
    EXPECT_TRUE(runUntil([&] { return !link.IsOnline(); }));
    EXPECT_FALSE(modem.online());
    const std::string sent = modem.received();
    EXPECT_EQ(sent.substr(sent.size() - 7), "+++ATH\r");
    EXPECT_EQ(modem.commands().back(), "ATH");
    EXPECT_FALSE(loop.closeRequested());
}

TEST_F(ModemDialogue, HangUpWithoutCarrierSendsNothing) {
    EXPECT_EQ(link.HangUp(0), 1);
    loop.runFor(100);
    EXPECT_EQ(modem.received(), "");
    EXPECT_FALSE(loop.closeRequested());
    EXPECT_EQ(link.HangUp(1), 1);
    EXPECT_TRUE(loop.closeRequested()) << "the final hang-up ends every pause";
    EXPECT_TRUE(programIsExiting());
    setProgramExiting(false);
}

}  // namespace
