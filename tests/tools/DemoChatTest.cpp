// quilite-demohost's pages and chat room seen by raw socket clients: every page's first row
// passes the location rule and the page fits 80x24; chat lines reach everyone in the room
// cleaned, and each has one of the played service's shapes.
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/tools/DemoChatShapes.h"
#include "tests/tools/DemoHostProcess.h"
#include "tools/demohost/DemoPages.h"

namespace fs = std::filesystem;

namespace {

class DemoChat : public DemoHostTestBase {};

// The text of a screen drawn after ESC [ H, as UTF-8 rows without colour sequences.
std::vector<std::string> screenRows(const std::string& cp949Bytes) {
    const size_t home = cp949Bytes.rfind("\x1b[H");
    std::string text =
        cp949ToUtf8Lossy(cp949Bytes.substr(home == std::string::npos ? 0 : home + 3));
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\x1b') {
            while (i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i])))
                ++i;
        } else if (text[i] != '\r') {
            plain += text[i];
        }
    }
    std::vector<std::string> rows;
    std::istringstream lines(plain);
    for (std::string row; std::getline(lines, row);)
        rows.push_back(row);
    return rows;
}

// Columns on a CP949 terminal: two for every non-ASCII character.
int columns(const std::string& utf8) {
    int n = 0;
    for (unsigned char c : utf8)
        n += c < 0x80 ? 1 : c >= 0xC0 ? 2 : 0;
    return n;
}

std::vector<std::string> lines(const std::string& cp949Bytes) {
    std::vector<std::string> out;
    std::istringstream in(cp949ToUtf8Lossy(cp949Bytes));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

TEST_F(DemoChat, EveryPageHasItsLocationRowAndFitsTheScreen) {
    std::string welcome;
    int fd = host.logIn("pages", "pw", &welcome);
    ASSERT_GE(fd, 0);
    welcome.erase(welcome.find("login: ") + 7);
    std::vector<std::pair<std::string, std::string>> screens = {{"DEMO", welcome}};
    // The videotex and picture pages then wait for a terminal's answers, which a raw client
    // never gives: their screens are read up to the hand-over, and the walk goes on over a
    // new log-in.
    const std::map<std::string, std::string> handOvers = {{"VTX", "\x1b%A"}, {"IMAGE", "\x1b%B4"}};
    for (const DemoPage& page : DemoPages()) {
        if (page.ownFirstRow) continue;  // the Go page starts with the board's column letters
        if (const auto handOver = handOvers.find(page.code); handOver != handOvers.end()) {
            screens.push_back(
                {page.code, exchange(fd, "go " + handOver->first + "\r", handOver->second)});
            close(fd);
            fd = host.logIn("pages", "pw");
            ASSERT_GE(fd, 0);
            continue;
        }
        const bool chat = std::string(page.code) == "CHAT";
        const std::string until = chat ? "/q: " : demoMenuPrompt();
        screens.push_back({page.code, exchange(fd, "go " + std::string(page.code) + "\r",
                                               chat ? cp949(until) : until)});
        if (chat) exchange(fd, "/q\r", demoMenuPrompt());
    }
    for (const auto& [code, bytes] : screens) {
        const std::vector<std::string> rows = screenRows(bytes);
        ASSERT_FALSE(rows.empty()) << code;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(rows[0], m, locationRow())) << rows[0];
        EXPECT_EQ(m[2].str(), code);
        EXPECT_LE(rows.size(), 24u) << code;
        for (const std::string& row : rows)
            EXPECT_LE(columns(row), 80) << code << ": " << row;
    }
    close(fd);
}

TEST_F(DemoChat, LinesReachEveryoneCleanedAndInTheServiceShapes) {
    const int a = host.logIn("alice", "pw");
    const int b = host.logIn("bobby", "pw");
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    std::string seenA = exchange(a, "go chat\r", cp949("## alice(alice) 님이 입장하였습니다. ##"));
    std::string seenB = exchange(b, "/GO CHAT\r", cp949("## bobby(bobby) 님이 입장하였습니다. ##"));
    const std::string said = cp949("alice(alice   )  hi  **B00 한글");
    seenA += exchange(a,
                      "hi \x1b[31m\x18 **\x18"
                      "B00 " +
                          cp949("한글") + "\r",
                      said);
    seenB += exchange(b, "", said);
    seenA += exchange(a, "/memo bobby hello\r", "");
    seenB += exchange(b, "", "## (From:alice) 'hello'##");
    seenB += exchange(b, "/to alice\r", cp949("설정되었습니다. ##"));
    seenB += exchange(b, "/to\r", cp949("해제 되었습니다. ##"));
    seenB += exchange(b, "/f alice\r", cp949("에 접속하였습니다(CHAT)"));
    seenB += exchange(b, "/f nobody\r", cp949("사용하고 있지 않습니다."));
    // The scripted participants come, talk, send a memo and go.
    seenA += exchange(a, "", cp949("## 하늘이(haneul) 님이 퇴장하였습니다. ##"));
    seenA += exchange(a, "/q\r", demoMenuPrompt());
    seenB += exchange(b, "", cp949("## alice(alice) 님이 퇴장하였습니다. ##"));

    EXPECT_NE(seenA.find(cp949("## (From:haneul) '")), std::string::npos);
    int shaped = 0;
    for (const std::string& line : lines(seenA + seenB)) {
        const bool roomLine = line.rfind("## ", 0) == 0 || line.rfind(" ## ", 0) == 0 ||
                              line.find(")  ") != std::string::npos || line.find(">>") == 1;
        if (!roomLine) continue;
        EXPECT_EQ(chatKinds(line).size(), 1u) << line;
        ++shaped;
    }
    EXPECT_GE(shaped, 20);
    close(a);
    close(b);
}

TEST_F(DemoChat, AFastTalkerIsHeldToFiveLinesASecond) {
    const int a = host.logIn("flood", "pw");
    ASSERT_GE(a, 0);
    exchange(a, "go chat\r", cp949("님이 입장하였습니다. ##"));
    std::string burst;
    for (int i = 0; i < 20; ++i)
        burst += "line" + std::to_string(i) + "\r";
    std::string seen = exchange(a, burst, "line19\r\n");
    seen += receiveUntilQuiet(a, 300);
    int relayed = 0;
    for (const std::string& line : lines(seen))
        relayed += line.rfind("flood(flood   )  ", 0) == 0;
    EXPECT_EQ(relayed, 5);
    close(a);
}

}  // namespace
