// The telnet link against a host of the test's own on a loopback port: option answers,
// decoding of the host's stream, the coding of what we send, the local line editor, transfer
// mode, and the texts and boxes of failed and ended connections.
#include <sys/socket.h>

#include <chrono>
#include <future>
#include <random>
#include <thread>

#include "platform/TextCodec.h"
#include "tests/fixtures/ScaledClock.h"
#include "tests/link/TelnetTestSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using namespace telnet;
using namespace std::string_literals;
using xfertest::sameBytes;

std::string command(uint8_t verb, uint8_t option) {
    return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

const std::string kTerminalTypeSend = "\xff\xfa\x18\x01\xff\xf0"s;
const std::string kTerminalTypeIs = "\xff\xfa\x18\x00vt100\xff\xf0"s;
constexpr uint8_t kNaws = 31;

void typeText(TelnetLink& link, const std::string& text) {
    for (char c : text)
        EXPECT_EQ(link.WriteByte(static_cast<uint8_t>(c)), 0);
}

class Telnet : public TelnetTest {
protected:
    void SetUp() override {
        connect(link);
        pump(link);
        ASSERT_TRUE(waitFor("Connected to 127.0.0.1.\r\n"));
        received.clear();
    }
    // The host says WILL ECHO, so that keys go out as they are typed.
    void hostEchoes() {
        sendAll(host, command(kWill, kEcho));
        EXPECT_EQ(hostGot(), command(kDo, kEcho));
    }

    TelnetLink link{context()};
};

TEST_F(Telnet, AnswersOptionsOnceAndRefusesTheUnknown) {
    sendAll(host, command(kDo, kEcho) + command(kDo, kNaws) + command(kDo, kSga) +
                      command(kDo, kSga) + command(kWill, kNaws) + command(kWill, kSga) +
                      command(kWill, kSga) + command(kDont, kNaws) + command(kWont, kNaws));
    EXPECT_EQ(hostGot(), command(kWill, kEcho) + command(kWont, kNaws) + command(kWill, kSga) +
                             command(kDont, kNaws) + command(kDo, kSga));

    sendAll(host, command(kDont, kEcho) + command(kDont, kEcho) + command(kWont, kSga) +
                      command(kWont, kSga) + command(kDo, kBinary) + command(kWill, kBinary));
    EXPECT_EQ(hostGot(), command(kWont, kEcho) + command(kDont, kSga) + command(kWill, kBinary) +
                             command(kDo, kBinary));

    sendAll(host, command(kDo, kTtype) + kTerminalTypeSend + command(kWill, kTtype));
    EXPECT_EQ(hostGot(), command(kWill, kTtype) + kTerminalTypeIs + command(kDo, kTtype));
    EXPECT_EQ(received, "") << "negotiation is never shown";
}

TEST_F(Telnet, DecodesTheHostsStream) {
    sendAll(host,
            "a\xff\xff"
            "b\r\0c\r\n"s +
                "\xff\xf1"
                "d\xff\xf9"
                "e"s);  // NOP, GA
    EXPECT_TRUE(waitFor("e"));
    EXPECT_EQ(received,
              "a\xff"
              "b\rc\r\nde");

    // Any other subnegotiation is skipped to IAC SE; IAC IAC inside does not end it.
    received.clear();
    sendAll(host, "f\xff\xfa\x1f\x00\x50\xff\xff\x00\x18\xff\xf0g"s);
    EXPECT_TRUE(waitFor("g"));
    EXPECT_EQ(received, "fg");
    EXPECT_EQ(hostGot(), "");

    // The coding holds across the host's separate writes.
    received.clear();
    for (const std::string& piece : {"h\r"s, "\0i\xff"s, "\xffj\xff"s, "\xfa\x1f"s, "\xff\xf0k"s}) {
        sendAll(host, piece);
        loop.runFor(30);
    }
    EXPECT_TRUE(waitFor("k"));
    EXPECT_EQ(received, "h\ri\xffjk");
}

TEST_F(Telnet, KeepsCrNulWhileTheHostSendsBinary) {
    sendAll(host, command(kWill, kBinary));
    EXPECT_EQ(hostGot(), command(kDo, kBinary));
    sendAll(host, "\r\0\r\n\xff\xff\0"s);
    EXPECT_TRUE(waitFor("\r\0\r\n\xff\0"s));
    sendAll(host, command(kWont, kBinary) + "\r\0x"s);
    EXPECT_EQ(hostGot(), command(kDont, kBinary));
    EXPECT_TRUE(waitFor("\rx"));
    EXPECT_EQ(received, "\r\0\r\n\xff\0\rx"s);
}

// Long streams of random bytes, read a block at a time in transfer mode: with BINARY every
// byte is data, without it a NUL right after a CR is dropped.
TEST_F(Telnet, DecodesLongStreamsExactly) {
    std::mt19937 r(5);
    std::string data(300000, '\0');
    for (char& c : data)
        c = static_cast<char>(r() % 4 == 0 ? "\r\0\xff"[r() % 3] : r());
    std::string coded, withoutCrNul;
    bool afterCr = false;
    for (char c : data) {
        coded += c;
        if (c == '\xff') coded += c;
        if (!(afterCr && c == '\0')) withoutCrNul += c;
        afterCr = c == '\r';
    }
    link.SetTransferMode(1);
    auto readAll = [&](size_t expected) {
        std::string got;
        char buffer[7000];
        for (int idle = 0; got.size() < expected && idle < 3;) {
            const int n = link.Read(buffer, sizeof buffer);
            got.append(buffer, static_cast<size_t>(std::max(n, 0)));
            if (n <= 0 && !link.WaitReady(1, 1)) ++idle;
        }
        return got;
    };
    std::thread writer([&] { sendAll(host, coded); });
    EXPECT_TRUE(sameBytes(readAll(withoutCrNul.size()), withoutCrNul));
    writer.join();

    sendAll(host, command(kWill, kBinary));
    EXPECT_TRUE(link.WaitReady(1, 1));
    EXPECT_EQ(link.ReadByte(), GF_READ_TIMEOUT) << "the option only";
    EXPECT_EQ(receiveUntilQuiet(host, 100), command(kDo, kBinary));
    writer = std::thread([&] { sendAll(host, coded); });
    EXPECT_TRUE(sameBytes(readAll(data.size()), data));
    writer.join();
}

TEST_F(Telnet, CodesWhatItSends) {
    hostEchoes();
    typeText(link, "a\xff\r\n");
    EXPECT_EQ(hostGot(), "a\xff\xff\r\0\n"s);
    EXPECT_EQ(link.Write("\r\xff", 2), 2);
    EXPECT_EQ(hostGot(), "\r\0\xff\xff"s);

    sendAll(host, command(kDo, kBinary));
    EXPECT_EQ(hostGot(), command(kWill, kBinary));
    typeText(link, "\r\xff");
    EXPECT_EQ(link.WriteString("\r\n"), 2);
    EXPECT_EQ(hostGot(), "\r\xff\xff\r\n"s);

    EXPECT_EQ(link.SendBreak(), 0);
    EXPECT_EQ(hostGot(), "\xff\xf5"s) << "IAC AO";
}

// A hold keeps what is written until it ends or 512 bytes wait; purging drops either side.
TEST_F(Telnet, HoldsAndPurges) {
    hostEchoes();
    link.BeginHold();
    EXPECT_EQ(link.Write("abc", 3), 3);
    EXPECT_EQ(link.OutputCount(), 3);
    EXPECT_EQ(hostGot(), "");
    link.EndHold();
    EXPECT_EQ(hostGot(), "abc");
    EXPECT_EQ(link.OutputCount(), 0);

    link.BeginHold();
    const std::string block(500, 'h');
    EXPECT_EQ(link.Write(block.data(), 500), 500);
    EXPECT_EQ(hostGot(), "");
    EXPECT_EQ(link.Write("0123456789ab", 12), 12);
    EXPECT_EQ(hostGot(), block + "0123456789ab") << "512 bytes waiting go out";
    EXPECT_EQ(link.WriteString("zz"), 2);
    link.PurgeOutput();
    link.EndHold();
    EXPECT_EQ(hostGot(), "");

    loop.setIdleHook([] { return false; });  // nobody reads
    sendAll(host, "stale");
    ASSERT_TRUE(runUntil([&] { return link.InputCount() > 0; }));
    EXPECT_FALSE(link.IsDrained());
    link.Flush(GF_FLUSH_INPUT, 0);
    EXPECT_EQ(link.ReadByte(), GF_READ_TIMEOUT);
    EXPECT_TRUE(link.IsDrained());
    sendAll(host, "fresh");
    ASSERT_TRUE(runUntil([&] { return link.InputCount() > 0; }));
    link.PurgeInput();
    EXPECT_EQ(link.InputCount(), 0);
}

// Until the host echoes, keys are edited here and only whole lines go out.
TEST_F(Telnet, EditsLinesWhileTheHostDoesNotEcho) {
    typeText(link, "ab\bc");
    EXPECT_EQ(hostGot(), "");
    typeText(link, "\r");
    EXPECT_EQ(hostGot(), "ac\r\n") << "one piece";
    EXPECT_TRUE(waitFor("ab\b \bc\r\n"));

    // A double-byte character goes with one backspace; Ctrl-U clears the line; the LF of a
    // CR LF pair ends the same line.
    received.clear();
    const std::string ga = utf8ToCp949("가").value();
    typeText(link, "x" + ga + "\b" + ga + "y\x15z\r\n");
    EXPECT_EQ(hostGot(), "z\r\n");
    EXPECT_TRUE(waitFor("z\r\n"));
    EXPECT_EQ(received, "x" + ga + "\b\b  \b\b" + ga + "y\b\b\b\b    \b\b\b\bz\r\n");

    typeText(link, "\xff\n");
    EXPECT_EQ(hostGot(), "\xff\xff\r\n"s);
    EXPECT_TRUE(waitFor("\xff\r\n"));

    sendAll(host, command(kWill, kEcho) + command(kWont, kEcho));
    EXPECT_EQ(hostGot(), command(kDo, kEcho) + command(kDont, kEcho));
    typeText(link, "q");
    EXPECT_EQ(hostGot(), "") << "editing again after WONT ECHO";
}

TEST_F(Telnet, TransferModeKeepsTheCodingAndBypassesTheLineEditor) {
    EXPECT_EQ(link.SetTransferMode(1), 0);
    typeText(link, "a\r\xff");
    EXPECT_EQ(hostGot(), "a\r\0\xff\xff"s) << "no BINARY: CR NUL";
    EXPECT_EQ(link.SetTransferMode(0), 0);

    sendAll(host, command(kDo, kBinary));
    EXPECT_EQ(hostGot(), command(kWill, kBinary));
    comm.SetInt("ZmodemEscape", 1);
    EXPECT_EQ(link.SetTransferMode(1), 1);
    sendAll(host, "b\xff\xff"s);
    EXPECT_TRUE(runUntil([&] { return link.InputCount() > 0; }));
    EXPECT_EQ(link.ReadByte(), 'b');
    EXPECT_EQ(link.ReadByte(), 0xFF);
    EXPECT_EQ(link.ReadByte(), GF_READ_TIMEOUT);
    EXPECT_EQ(received, "") << "the pump stays out";
    EXPECT_EQ(link.SetTransferMode(0), 0);
    typeText(link, "\r");
    EXPECT_EQ(hostGot(), "\r") << "BINARY stays agreed";
}

TEST_F(Telnet, HostClosingIsShownInTheStream) {
    std::string status;
    link.SetStatusHandler([&](const std::string& text) { status = text; });
    close(host);
    host = -1;
    EXPECT_TRUE(waitFor("Connection closed by foreign host.\r\n"));
    EXPECT_TRUE(runUntil([&] { return !status.empty(); }));
    EXPECT_EQ(status, "연결이 종료되었습니다");
    EXPECT_FALSE(link.IsOnline());
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(link.WriteByte('x'), 0) << "a closed link takes bytes silently";
    EXPECT_EQ(link.Write("xy", 2), 0);
    EXPECT_EQ(link.AbortOutput(), -801);
}

// The engine sees the link go offline; the user sees why once the transfer is over.
TEST_F(Telnet, HostClosingDuringATransferIsShownAfterIt) {
    link.SetTransferMode(1);
    close(host);
    host = -1;
    EXPECT_TRUE(link.WaitReady(1, 1));
    EXPECT_EQ(link.ReadByte(), GF_READ_TIMEOUT);
    EXPECT_FALSE(link.IsOnline());
    loop.runFor(50);
    EXPECT_EQ(received, "");
    link.SetTransferMode(0);
    EXPECT_TRUE(waitFor("Connection closed by foreign host.\r\n"));
}

TEST_F(Telnet, ResetIsShownAndReported) {
    const linger abort{1, 0};
    setsockopt(host, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    close(host);
    host = -1;
    EXPECT_TRUE(waitFor("Read error from network: Connection reset by peer\r\n"));
    EXPECT_TRUE(runUntil([&] { return !prompt.asked.empty(); }));
    EXPECT_EQ(lastMessage(), "네트워크 오류 #10054: 상대편의 연결 재설정 요청");
    EXPECT_EQ(prompt.asked.back().icon, PromptIcon::Error);
    EXPECT_FALSE(link.IsOnline());
}

TEST_F(Telnet, HangUpEndsTheConnectionQuietly) {
    sendAll(host, "unread");
    EXPECT_TRUE(waitFor("unread"));
    EXPECT_EQ(link.HangUp(0), 1);
    EXPECT_FALSE(link.IsOnline());
    EXPECT_EQ(receiveUntilQuiet(host, 1000), "") << "the host sees the end";
    loop.runFor(100);
    EXPECT_EQ(link.ReadByte(), GF_READ_TIMEOUT);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(received, "unread");
}

// A transfer thread waiting on a host that went silent, or that stopped reading, returns as
// soon as the user hangs up on the user-interface thread.
class TelnetTransferThread : public Telnet {
protected:
    void expectReleasedByHangUp(std::function<void()> wait) {
        link.SetTransferMode(1);
        auto waiting = std::async(std::launch::async, [&] {
            while (link.IsOnline())
                wait();
        });
        loop.runFor(300);
        const auto start = std::chrono::steady_clock::now();
        link.HangUp(0);
        EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(500)), std::future_status::ready);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        link.SetTransferMode(0);
        loop.runFor(50);
        EXPECT_TRUE(prompt.asked.empty());
        EXPECT_EQ(received, "");
    }
};

TEST_F(TelnetTransferThread, WaitingToReadEndsAtHangUp) {
    expectReleasedByHangUp([&] {
        if (link.ReadByte() < 0) link.WaitReady(1, 1);
    });
}

TEST_F(TelnetTransferThread, WaitingToWriteEndsAtHangUp) {
    const std::string block(4096, 'w');
    expectReleasedByHangUp([&] {
        if (link.Write(block.data(), 4096) == 0) link.WaitReady(2, 1);
    });
}

// --- connecting ------------------------------------------------------------------------------

class TelnetConnect : public TelnetTest {};

TEST_F(TelnetConnect, ShowsItsProgressWithoutWaitingForTheHost) {
    TelnetLink link(context());
    pump(link);
    ASSERT_TRUE(link.Connect("localhost", listener.port()));
    EXPECT_TRUE(waitFor("Trying 127.0.0.1 ...\r\nConnected to localhost.\r\n"));
    EXPECT_TRUE(link.IsOnline());
    EXPECT_TRUE(prompt.waitsShown.empty()) << "a quick lookup shows no notice";
}

TEST_F(TelnetConnect, RefusedPortIsShownAndReported) {
    const int port = [] {
        LoopbackListener closed;
        return closed.port();
    }();
    TelnetLink link(context());
    pump(link);
    ASSERT_TRUE(link.Connect("127.0.0.1", port));
    EXPECT_TRUE(waitFor("Trying 127.0.0.1 ...\r\nconnect: Connection refused\r\n"));
    EXPECT_TRUE(runUntil([&] { return !prompt.asked.empty(); }));
    EXPECT_EQ(lastMessage(), "네트워크 오류 #10061: 상대편의 연결 거부");
    EXPECT_FALSE(link.IsOnline());
}

// A host that never answers, and a connect to it limited to 300 ms.
class TelnetUnanswered : public TelnetTest {
protected:
    TelnetUnanswered() { pump(link); }
    void connect() {
        ASSERT_TRUE(link.Connect("127.0.0.1", silent.port()));
        EXPECT_TRUE(link.Connecting());
        ASSERT_TRUE(waitFor("Trying 127.0.0.1 ...\r\n"));
    }

    TelnetContext limited() {
        TelnetContext ctx = context();
        ctx.connectTimeoutMs = 300;
        return ctx;
    }

    FullListener silent;
    TelnetLink link{limited()};
};

// The connect gives up at its limit, in the stream and in a box, long before the kernel would.
TEST_F(TelnetUnanswered, TheConnectGivesUpAtItsLimit) {
    connect();
    EXPECT_TRUE(waitFor("Trying 127.0.0.1 ...\r\nconnect: Connection timed out\r\n"));
    EXPECT_TRUE(runUntil([&] { return !prompt.asked.empty(); }));
    EXPECT_EQ(lastMessage(), "네트워크 오류 #10060: 연결시도 시간 초과");
    EXPECT_FALSE(link.Connecting());
    EXPECT_FALSE(link.IsOnline());
}

// Closed while it waits for the answer, the connect ends without a word.
TEST_F(TelnetUnanswered, ClosingThePendingConnectEndsItQuietly) {
    connect();
    link.Close();
    EXPECT_FALSE(link.Connecting());
    loop.runFor(500);
    EXPECT_EQ(received, "Trying 127.0.0.1 ...\r\n");
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(TelnetConnect, UnknownHostIsReported) {
    TelnetContext ctx = context();
    ctx.resolver = [](const std::string&) { return std::optional<in_addr>(); };
    TelnetLink link(ctx);
    pump(link);
    EXPECT_FALSE(link.Connect(utf8ToCp949("없는호스트.test").value(), 23));
    EXPECT_EQ(lastMessage(), "없는호스트.test의 IP 주소를 찾지 못했습니다.");
    loop.runFor(50);
    EXPECT_EQ(received, "");
}

// A slow lookup shows its notice after two seconds; cancelling it abandons the connection
// silently, and the lookup that goes on in the background does no harm.
TEST_F(TelnetConnect, SlowLookupShowsANoticeThatCancels) {
    ScaledClock fast(10);
    ScriptedPrompt slowPrompt(fast);
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    TelnetContext ctx{loop, slowPrompt, comm, [released](const std::string&) {
                          released.wait();
                          return std::optional<in_addr>(in_addr{htonl(INADDR_LOOPBACK)});
                      }};
    {
        TelnetLink link(ctx);
        slowPrompt.cancelWaitsAfter(4);  // polls, 100 ms each: 4 s on the scaled clock
        EXPECT_FALSE(link.Connect("slow.test", listener.port()));
        ASSERT_EQ(slowPrompt.waitsShown.size(), 1u);
        EXPECT_EQ(slowPrompt.waitsShown[0], "slow.test의\nIP 주소를 찾고 있습니다.");
        EXPECT_TRUE(slowPrompt.asked.empty());
    }
    release->set_value();

    slowPrompt.cancelWaitsAfter(-1);
    TelnetLink link(ctx);
    pump(link);
    EXPECT_TRUE(link.Connect("slow.test", listener.port()));
    EXPECT_TRUE(waitFor("Connected to slow.test.\r\n"));
    EXPECT_EQ(slowPrompt.waitsShown.size(), 1u) << "an answered lookup shows no notice";
}

// --- the proxy log-in ------------------------------------------------------------------------

class TelnetProxy : public TelnetTest {
protected:
    void useProxy(int port, const std::string& user, const std::string& prompt) {
        comm.SetInt("UseTelnetProxy", 1);
        comm.SetString("ProxyHost", "127.0.0.1");
        comm.SetInt("ProxyPort", port);
        comm.SetString("ProxyUser", user);
        comm.SetString("ProxyPrompt", prompt);
    }
    void connectThroughProxy(const std::string& target, int port) {
        ASSERT_TRUE(link.Connect(target, port));
        takeHost(listener);
        pump(link);
        ASSERT_TRUE(waitFor("Connected to 127.0.0.1.\r\n"));
        EXPECT_EQ(received, utf8ToCp949("프록시 서버(127.0.0.1)에 연결중 ...\r\n").value() +
                                "Connected to 127.0.0.1.\r\n");
    }

    TelnetLink link{context()};
};

TEST_F(TelnetProxy, AnswersAUserPromptAtTheFirstByteThenThePrompt) {
    useProxy(listener.port(), "kim", "gw> ");
    connectThroughProxy("bbs.test", 2323);
    sendAll(host, "Username: ");
    EXPECT_EQ(hostGot(), "kim\r\0"s);
    sendAll(host, "\r\nHello kim\r\ngw> ");
    EXPECT_EQ(hostGot(), "telnet bbs.test 2323\r\0"s);
    EXPECT_TRUE(waitFor("Username: \r\nHello kim\r\ngw> ")) << "shown as it came";
    sendAll(host, "\r\ngw> \r\nUsername: ");
    EXPECT_EQ(hostGot(), "") << "the log-in is over";
}

TEST_F(TelnetProxy, AnswersAUserPromptAfterABannerAndNamesPort23ByHostAlone) {
    useProxy(listener.port(), "kim", "gw> ");
    connectThroughProxy("bbs.test", 23);
    sendAll(host, "Test gateway\r\n\r\nUsername: ");
    EXPECT_EQ(hostGot(), "kim\r\0"s);
    sendAll(host, "\r\ngw> ");
    EXPECT_EQ(hostGot(), "telnet bbs.test\r\0"s);
}

TEST_F(TelnetProxy, LooksOnlyAtLineStarts) {
    useProxy(listener.port(), "kim", "gw> ");
    connectThroughProxy("bbs.test", 23);
    sendAll(host, "say Username: \r\nUsername? \r\n x gw> \r\nUser");
    EXPECT_EQ(hostGot(), "");
    sendAll(host, "name: ");
    EXPECT_EQ(hostGot(), "kim\r\0"s) << "split across the host's writes";
}

TEST_F(TelnetProxy, IsUsedOnlyWhenTurnedOnWithAHost) {
    useProxy(listener.port(), "kim", "gw> ");
    comm.SetString("UseTelnetProxy", "");
    TelnetLink direct(context());
    pump(direct);
    ASSERT_TRUE(direct.Connect("127.0.0.1", listener.port()));
    EXPECT_TRUE(waitFor("Trying 127.0.0.1 ...\r\nConnected to 127.0.0.1.\r\n"));
    takeHost(listener);
    sendAll(host, "Username: ");
    EXPECT_EQ(hostGot(), "");
}

// ProxyPort -1 (the stored default), 0 and 65536 are out of range: the telnet port is used.
TEST_F(TelnetProxy, PortOutOfRangeMeansTheTelnetPort) {
    std::unique_ptr<LoopbackListener> telnetPort;
    try {
        telnetPort = std::make_unique<LoopbackListener>(23);
    } catch (const std::exception&) {
        GTEST_SKIP() << "port 23 is not ours to listen on";
    }
    for (int port : {-1, 0, 65536}) {
        SCOPED_TRACE(port);
        useProxy(port, "", "gw> ");
        TelnetLink proxied(context());
        pump(proxied);
        ASSERT_TRUE(proxied.Connect("bbs.test", 2323));
        takeHost(*telnetPort);
        sendAll(host, "gw> ");
        EXPECT_EQ(hostGot(), "telnet bbs.test 2323\r\0"s);
        loop.setIdleHook(nullptr);
        close(host);
        host = -1;
    }
}

}  // namespace
