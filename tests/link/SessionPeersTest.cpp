// The session over the program's real links: telnet to a host on a loopback port (progress
// texts, typing, a long paste into a slow host, the host closing) and a modem simulated on a
// pty (initialising, answer mode, an incoming call, hanging up at closing).
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/SystemLinks.h"
#include "tests/fixtures/HayesModem.h"
#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/TelnetHostData.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class SessionTelnetTest : public SessionTest {
protected:
    SessionTelnetTest() : system(loop, prompt, *registry, frame) {}
    ~SessionTelnetTest() override {
        doc.reset();
        if (host >= 0) close(host);
    }

    // Connects to the test's host, which then asks to echo (no local line editing).
    void connect() {
        start({"127.0.0.1", std::to_string(listener.port())}, Clock::steady(), &system);
        host = listener.accept(5000);
        ASSERT_GE(host, 0);
        const int on = 1;
        setsockopt(host, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ASSERT_TRUE(runUntil([&] { return doc->Online(); }));
        ASSERT_TRUE(sendAll(host, kHostWillEcho));
        std::string seen;
        ASSERT_TRUE(runUntil([&] { return (seen += available()).find(kClientDoEcho) != npos; }));
    }
    // What the host has been sent so far, without waiting.
    std::string available() {
        char buffer[65536];
        const ssize_t n = recv(host, buffer, sizeof buffer, MSG_DONTWAIT);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
    }
    std::string hostGot() {
        loop.runFor(20);
        return withoutOptions(receiveUntilQuiet(host, 100));
    }

    static constexpr size_t npos = std::string::npos;

    SystemLinks system;
    LoopbackListener listener;
    int host = -1;
};

TEST_F(SessionTelnetTest, ConnectTypeAndTheHostCloses) {
    connect();
    EXPECT_TRUE(screenShows("Trying 127.0.0.1 ..."));
    EXPECT_TRUE(screenShows("Connected to 127.0.0.1."));
    EXPECT_EQ(frame.title, "127.0.0.1:" + std::to_string(listener.port()));
    EXPECT_EQ(frame.onlineChanges, std::vector<bool>{true});

    ASSERT_TRUE(sendAll(host, "\x1b[2J\x1b[H" + cp("한글 BBS에 오신 것을 환영합니다") + "\r\n"));
    ASSERT_TRUE(runUntil([&] { return view.Text(0) == cp("한글 BBS에 오신 것을 환영합니다"); }));

    for (char c : cp("안녕 ab"))
        doc->SendByte(static_cast<uint8_t>(c));
    doc->SendKey(TWKey::F1, 0);
    doc->SendLine("go\nto");
    EXPECT_EQ(hostGot(), cp("안녕 ab") + "\x1b[11~goto\r" + std::string(1, '\0'));

    close(host);
    host = -1;
    ASSERT_TRUE(runUntil([&] { return !doc->Online(); }));
    EXPECT_TRUE(screenShows("Connection closed by foreign host."));
    EXPECT_EQ(frame.onlineChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(frame.title, "");
    EXPECT_EQ(frame.statuses.back(), "연결이 종료되었습니다");
}

TEST_F(SessionTelnetTest, HangUpClosesTheConnection) {
    connect();
    doc->HangUp(false);
    EXPECT_TRUE(screenShows("Connection closed."));
    ASSERT_TRUE(runUntil([&] { return !doc->Online(); }));
    char byte;
    EXPECT_EQ(recv(host, &byte, 1, 0), 0);  // the host sees the end
}

TEST_F(SessionTelnetTest, ALongPasteReachesAHostThatReadsLateWhole) {
    connect();
    std::string text, expected;
    for (int i = 0; i < 25000; ++i) {
        const std::string line = "paste line " + std::to_string(i);
        text += line + "\n";
        expected += line;
    }
    doc->Paste(text);
    // The host reads nothing for a while; the loop keeps running meanwhile.
    for (int i = 0; i < 6; ++i) {
        const int64_t before = Clock::steady().nowMs();
        loop.runFor(50);
        EXPECT_LT(Clock::steady().nowMs() - before, 150);
    }
    std::string got;
    ASSERT_TRUE(runUntil([&] { return (got += available()).size() >= expected.size(); }, 20000));
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    EXPECT_FALSE(doc->PasteRunning());
}

class SessionModemTest : public SessionTest {
protected:
    SessionModemTest() : modem(cable), system(loop, prompt, *registry, frame, cable.lines) {
        ModemTable::store(*registry, {{"Modem", cable.slavePath, std::nullopt}});
        setComm("ModemDevice", "Modem");
        setComm("InitMode", "0");
        setComm("ModemInit", "AT&F E1 V1");
    }
    ~SessionModemTest() override { doc.reset(); }

    PtyCable cable;
    HayesModem modem;
    SystemLinks system;
};

TEST_F(SessionModemTest, InitialiseAnswerACallAndHangUpAtClosing) {
    start({}, Clock::steady(), &system);
    ASSERT_TRUE(runUntil([&] { return screenShows("OK"); }));
    EXPECT_EQ(view.Text(0), cp("모뎀을 초기화합니다..."));
    EXPECT_EQ(modem.commands(), std::vector<std::string>{"AT&F E1 V1"});
    EXPECT_EQ(frame.modemDevice, "Modem");

    EXPECT_TRUE(doc->ToggleAnswerMode());
    ASSERT_TRUE(runUntil([&] { return modem.commands().size() == 2; }));
    EXPECT_EQ(modem.commands()[1], "ATS0=2");
    // The caller on the other end of the line.
    SocketPair caller;
    modem.connectRemote(caller.theirs);
    caller.theirs = -1;  // the modem's now
    modem.ring();
    EXPECT_TRUE(runUntil([&] { return screenShows("RING"); }));
    ASSERT_TRUE(runUntil([&] { return doc->Online(); }));
    EXPECT_EQ(frame.onlineChanges, std::vector<bool>{true});

    // Connected in answer mode, what the caller sends is echoed back to it.
    ASSERT_TRUE(sendAll(caller.ours, "hello\r"));
    std::string echoed;
    EXPECT_TRUE(runUntil([&] {
        char buffer[256];
        const ssize_t n = recv(caller.ours, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) echoed.append(buffer, static_cast<size_t>(n));
        return echoed.ends_with("hello\r\n");
    })) << echoed;

    prompt.expect(PromptAnswer::Yes);
    EXPECT_TRUE(doc->QueryClose());
    EXPECT_EQ(prompt.asked.back().buttons, PromptButtons::YesNoCancel);
    EXPECT_TRUE(runUntil([&] { return !modem.online(); })) << modem.received();
}

}  // namespace
