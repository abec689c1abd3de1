// The telnet link against real telnet servers started here: inetutils telnetd (the full
// negotiation of a BSD-style server, byte-exact data both ways in binary, ZMODEM with lrzsz
// through it), busybox telnetd (negotiation and text), and our own gateway in front of telnetd
// for the proxy log-in.
#include "platform/TextCodec.h"
#include "tests/fixtures/FakeTelnetGateway.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/fixtures/TelnetTap.h"
#include "tests/fixtures/TelnetTestData.h"
#include "tests/link/TelnetTestSupport.h"
#include "tests/xfer/XferTestSupport.h"

namespace {

using namespace telnet;
using xfertest::sameBytes;

constexpr int kStartMs = 10000;

// The telnet commands in a recorded stream, in order: "DO 24", "WONT 31", "SB 24 0 vt100".
std::vector<std::string> commandsIn(const std::string& bytes) {
    static const char* const verbs[] = {"WILL", "WONT", "DO", "DONT"};
    std::vector<std::string> found;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (static_cast<uint8_t>(bytes[i]) != kIac) continue;
        const uint8_t verb = static_cast<uint8_t>(bytes[++i]);
        if (verb >= kWill && verb <= kDont && i + 1 < bytes.size()) {
            found.push_back(std::string(verbs[verb - kWill]) + " " +
                            std::to_string(static_cast<uint8_t>(bytes[++i])));
        } else if (verb == kSb && i + 2 < bytes.size()) {
            const size_t end = bytes.find("\xff\xf0", i);
            found.push_back("SB " + std::to_string(static_cast<uint8_t>(bytes[i + 1])) + " " +
                            std::to_string(static_cast<uint8_t>(bytes[i + 2])) +
                            (end > i + 3 ? " " + bytes.substr(i + 3, end - i - 3) : ""));
            i = end + 1;
        }
    }
    return found;
}

size_t count(const std::vector<std::string>& list, const std::string& item) {
    return static_cast<size_t>(std::count(list.begin(), list.end(), item));
}

class TelnetPeers : public TelnetTest {
protected:
    // Connects and waits for the test program's prompt.
    void start(int port) {
        pumpUntil("");
        ASSERT_TRUE(link.Connect("127.0.0.1", port));
        ASSERT_TRUE(waitFor("ready> ", kStartMs));
    }
    // Has the test program run `command` and waits for its READY. The pump then leaves the
    // link alone, as the session's does while a transfer engine holds it.
    void run(const std::string& command) {
        received.clear();
        pumpUntil("READY\r\n");
        link.WriteString((command + "\r").c_str());
        ASSERT_TRUE(waitFor("READY\r\n", kStartMs)) << received;
    }
    void pumpUntil(const std::string& marker) { LinkTest::pumpUntil(link, marker); }
    // telnetd asks for binary and offers it, having found the program's terminal raw.
    void awaitBinary() {
        ASSERT_TRUE(runUntil(
            [&] { return link.options().local(kBinary) && link.options().remote(kBinary); }));
    }

    TelnetLink link{context()};
};

// --- inetutils telnetd --------------------------------------------------------------------------

class Telnetd : public TelnetPeers {
protected:
    TelnetServer server{TelnetServer::Kind::Inetutils};
};

// telnetd asks DO ECHO to tell old clients apart; the WILL ECHO we owe it makes it say
// DONT ECHO, which we answer WONT ECHO.
TEST_F(Telnetd, NegotiatesEveryOptionItAsks) {
    TelnetTap tap(server.port());
    start(tap.port());
    awaitBinary();
    run("echo");
    loop.runFor(200);
    const std::vector<std::string> asked = commandsIn(tap.fromServer());
    const std::vector<std::string> answered = commandsIn(tap.fromClient());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"DO 24", "WILL 24"}, {"SB 24 1", "SB 24 0 vt100"},  // terminal type
        {"DO 32", "WONT 32"}, {"DO 35", "WONT 35"},          // speed, X display
        {"DO 39", "WONT 39"}, {"DO 34", "WONT 34"},          // new environment, LINEMODE
        {"DO 31", "WONT 31"}, {"WILL 3", "DO 3"},            // NAWS, SUPPRESS-GO-AHEAD
        {"WILL 1", "DO 1"},   {"DO 1", "WILL 1"},            // ECHO both ways
        {"DONT 1", "WONT 1"}, {"DO 0", "WILL 0"},            // BINARY both ways
        {"WILL 0", "DO 0"},   {"WILL 37", "DONT 37"},        // authentication
    };
    for (const auto& [request, answer] : expected) {
        EXPECT_EQ(count(asked, request), 1u) << request;
        EXPECT_EQ(count(answered, answer), 1u) << request << " -> " << answer;
    }
    // Every other option it asks us to perform is refused, once.
    for (const std::string& request : asked) {
        if (request.starts_with("DO ") && request != "DO 0" && request != "DO 1" &&
            request != "DO 3" && request != "DO 24") {
            EXPECT_EQ(count(answered, "WONT " + request.substr(3)), 1u) << request;
        }
    }
    EXPECT_EQ(received.find('\xff'), std::string::npos) << "no telnet command is shown";
}

// Every awkward byte of the test data, from telnetd's program through the link in transfer
// mode, read with ReadByte.
TEST_F(Telnetd, DataArrivesByteExactInBinary) {
    start(server.port());
    awaitBinary();
    run("emit");
    link.SetTransferMode(1);
    ASSERT_EQ(link.WriteByte('g'), 0);
    const std::string expected = telnetTestData();
    std::string got;
    const int64_t end = Clock::steady().nowMs() + 30000;
    while (got.size() < expected.size() && Clock::steady().nowMs() < end) {
        const int c = link.ReadByte();
        if (c >= 0)
            got += static_cast<char>(c);
        else
            link.WaitReady(1, 1);
    }
    EXPECT_TRUE(sameBytes(got, expected));
    link.SetTransferMode(0);
}

// The same data written through the link in transfer mode (Write and WriteByte by turns) comes
// back from telnetd's echoing program unchanged, read with Read.
TEST_F(Telnetd, DataGoesByteExactInBinary) {
    start(server.port());
    awaitBinary();
    run("echo");
    link.SetTransferMode(1);
    const std::string data = telnetTestData();
    size_t written = 0;
    std::string echoed;
    const int64_t end = Clock::steady().nowMs() + 30000;
    for (int turn = 0; echoed.size() < data.size() && Clock::steady().nowMs() < end; ++turn) {
        const size_t piece = std::min<size_t>(1000, data.size() - written);
        if (turn % 2 == 0) {
            written +=
                static_cast<size_t>(link.Write(data.data() + written, static_cast<int>(piece)));
        } else {
            for (size_t i = 0; i < piece; ++i) {
                if (link.WriteByte(static_cast<uint8_t>(data[written])) != 0) break;
                ++written;
            }
        }
        char buffer[65536];
        const int n = link.Read(buffer, sizeof buffer);
        if (n > 0) {
            echoed.append(buffer, static_cast<size_t>(n));
        } else if (piece == 0) {
            link.WaitReady(1, 1);
        }
    }
    EXPECT_EQ(written, data.size());
    EXPECT_TRUE(sameBytes(echoed, data));
    link.SetTransferMode(0);
}

// --- ZMODEM with lrzsz behind telnetd ---------------------------------------------------------

class TelnetdZmodem : public Telnetd {
protected:
    TelnetdZmodem() : src(folder.make("src")), dst(folder.make("dst")) {
        xfertest::writeFile(src + "/awkward.bin", xfertest::awkwardData());
        xfertest::writeFile(src + "/random.bin", xfertest::randomData(1u << 20, 5));
        xfertest::writeFile(src + "/text.txt", xfertest::textData(50000));
    }

    // Our engine on a transfer thread; the program starts lrzsz on the byte that goes first.
    int transfer(bool send, const std::string& files) {
        link.WriteByte('g');
        return runZmodem(link, monitor, send, files);
    }
    void expectSame(const std::string& name) {
        EXPECT_TRUE(
            sameBytes(xfertest::readFile(dst + "/" + name), xfertest::readFile(src + "/" + name)))
            << name;
    }

    xfertest::TempFolder folder;
    std::string src, dst;
    RecordingMonitor monitor{dst};
};

TEST_F(TelnetdZmodem, SzSendsToOurReceiver) {
    start(server.port());
    awaitBinary();
    run("sz " + src + "/awkward.bin " + src + "/random.bin " + src + "/text.txt");
    EXPECT_EQ(transfer(false, ""), 0);
    for (const char* name : {"awkward.bin", "random.bin", "text.txt"})
        expectSame(name);
}

TEST_F(TelnetdZmodem, OurSenderSendsToRz) {
    start(server.port());
    awaitBinary();
    run("rz " + dst);
    EXPECT_EQ(transfer(true, src + "/awkward.bin\t" + src + "/random.bin\t" + src + "/text.txt"),
              0);
    for (const char* name : {"awkward.bin", "random.bin", "text.txt"})
        expectSame(name);
}

// --- busybox telnetd --------------------------------------------------------------------------

class Busybox : public TelnetPeers {
protected:
    TelnetServer server{TelnetServer::Kind::Busybox};
};

TEST_F(Busybox, NegotiatesEchoWithoutBinary) {
    TelnetTap tap(server.port());
    start(tap.port());
    ASSERT_TRUE(runUntil([&] { return link.options().remote(kEcho); }));
    loop.runFor(200);
    EXPECT_EQ(commandsIn(tap.fromServer()),
              (std::vector<std::string>{"DO 1", "DO 31", "WILL 1", "WILL 3"}));
    EXPECT_EQ(commandsIn(tap.fromClient()),
              (std::vector<std::string>{"WILL 1", "WONT 31", "DO 1", "DO 3"}));
    EXPECT_FALSE(link.options().local(kBinary));
    EXPECT_FALSE(link.options().remote(kBinary));
}

// Without BINARY a typed CR goes out as CR NUL, which busybox turns back into CR: the program
// gets the Korean text and the CR that ends it, and its text comes back whole.
TEST_F(Busybox, CarriesKoreanTextBothWays) {
    start(server.port());
    ASSERT_TRUE(runUntil([&] { return link.options().remote(kEcho); }));
    run("line");
    pumpUntil("");
    const std::string korean = utf8ToCp949("안녕하세요, 퀼라이트").value();
    link.WriteString((korean + "\r").c_str());
    std::string hex;
    for (char c : korean) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<uint8_t>(c));
        hex += digits;
    }
    EXPECT_TRUE(waitFor("GOT " + hex + "\r\n")) << received;
}

// --- the proxy log-in through our gateway -----------------------------------------------------

class TelnetGateway : public TelnetPeers,
                      public ::testing::WithParamInterface<FakeTelnetGateway::Greeting> {
protected:
    void useGateway(const FakeTelnetGateway& gateway) {
        comm.SetInt("UseTelnetProxy", 1);
        comm.SetString("ProxyHost", "127.0.0.1");
        comm.SetInt("ProxyPort", gateway.port());
        comm.SetString("ProxyUser", "tester");
        comm.SetString("ProxyPrompt", "gw> ");
    }

    TelnetServer server{TelnetServer::Kind::Inetutils};
};

TEST_P(TelnetGateway, LogsInAndReachesTheHostBehindIt) {
    FakeTelnetGateway gateway(GetParam(), "tester", "gw> ");
    useGateway(gateway);
    start(server.port());
    const std::string crNul("\r\0", 2);
    EXPECT_EQ(gateway.received(),
              "tester" + crNul + "telnet 127.0.0.1 " + std::to_string(server.port()) + crNul);
    awaitBinary();  // telnetd negotiates through the gateway
    run("echo");
    pumpUntil("");
    link.WriteString("through the gateway");
    EXPECT_TRUE(waitFor("through the gateway"));
}

INSTANTIATE_TEST_SUITE_P(Greetings, TelnetGateway,
                         ::testing::Values(FakeTelnetGateway::Greeting::UserFirst,
                                           FakeTelnetGateway::Greeting::BannerFirst));

// A gateway that never prompts: its banner stays on the screen, nothing is sent for the
// user, and what the user types goes there line by line.
TEST_F(TelnetGateway, SilentGatewayGetsOnlyWhatTheUserTypes) {
    FakeTelnetGateway gateway(FakeTelnetGateway::Greeting::Silent, "tester", "gw> ");
    useGateway(gateway);
    pumpUntil("");
    ASSERT_TRUE(link.Connect("127.0.0.1", server.port()));
    EXPECT_TRUE(waitFor("Nothing more will come.\r\n"));
    loop.runFor(500);
    EXPECT_EQ(gateway.received(), "");
    link.WriteString("hello\r");
    EXPECT_TRUE(runUntil([&] { return gateway.received() == "hello\r\n"; })) << gateway.received();
}

}  // namespace
