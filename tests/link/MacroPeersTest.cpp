// Keyboard macros end to end: the session on a telnet link to inetutils telnetd running the
// telnet test program sends a macro's contents, its line ends as CR.
#include "auto/MacroTable.h"
#include "auto/Services.h"
#include "link/SystemLinks.h"
#include "tests/fixtures/TelnetServer.h"
#include "tests/link/SessionTestSupport.h"

namespace {

class MacroPeersTest : public SessionTest {
protected:
    MacroPeersTest() : system(loop, prompt, *registry, frame) {
        AddService(*registry, {{"Title", cp("기본")}});
        RegKey key = *registry->createKey(*ServiceRecord(*registry, cp("기본")), "Macro");
        EXPECT_TRUE(registry->setValue(key, "Ctrl+F1", "ls -l<Enter>"));
        EXPECT_TRUE(registry->setValue(key, "F2", "a<Enter>b"));
    }
    ~MacroPeersTest() override { doc.reset(); }

    // Connects, answers the program's prompt with `command` and waits for it to start.
    void runCommand(const std::string& command) {
        start({"127.0.0.1", std::to_string(server.port())}, Clock::steady(), &system);
        doc->SetRawTap([this](const uint8_t* bytes, int n) {
            received.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
        });
        ASSERT_TRUE(runUntil([&] { return received.find("ready> ") != std::string::npos; }, 10000))
            << received;
        doc->SendLine(command);
        ASSERT_TRUE(runUntil([&] { return received.find("READY\r\n") != std::string::npos; }));
        received.clear();
    }
    bool runMacro(const std::string& keyText) {
        return doc->TranslateMacroKey(ParseKeyText(keyText));
    }

    SystemLinks system;
    TelnetServer server{TelnetServer::Kind::Inetutils, "/dev/null"};
    std::string received;
};

TEST_F(MacroPeersTest, ALineMacroReachesTheHostEndedByCr) {
    runCommand("line");
    ASSERT_TRUE(runMacro("Ctrl+F1"));
    ASSERT_TRUE(runUntil([&] { return received.find("\r\n", 5) != std::string::npos; }, 5000))
        << received;
    EXPECT_NE(received.find("GOT 6c73202d6c\r\n"), std::string::npos) << received;
}

TEST_F(MacroPeersTest, EchoReturnsALineBreakAsOneCr) {
    runCommand("echo");
    ASSERT_TRUE(runMacro("F2"));
    ASSERT_TRUE(runUntil([&] { return received.find('b') != std::string::npos; }, 5000))
        << received;
    EXPECT_EQ(received, "a\rb");
}

}  // namespace
