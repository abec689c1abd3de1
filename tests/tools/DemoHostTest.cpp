// quilite-demohost over raw sockets: its option offers, partial-line prompts, IAC and CR NUL
// handling, the loopback-only listener, and a log-in that keeps the password to itself.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/fixtures/LoopbackListener.h"
#include "tests/tools/DemoHostProcess.h"

namespace fs = std::filesystem;

namespace {

class DemoHostTest : public DemoHostTestBase {};

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// Every file under a folder, concatenated.
std::string everythingUnder(const fs::path& folder) {
    std::string all;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        all += text.str();
    }
    return all;
}

TEST_F(DemoHostTest, NegotiatesAsAServerAndPromptsWithoutLineEnds) {
    std::string seen;
    const int fd = host.connectToLogin(&seen);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(
        seen.rfind(bytes({255, 251, 1, 255, 251, 3, 255, 253, 24, 255, 251, 0, 255, 253, 0}), 0),
        0u);
    EXPECT_EQ(seen.find(bytes({255, 253, 1})), std::string::npos) << "never DO ECHO";
    EXPECT_NE(seen.find(cp949("퀼라이트 데모 (DEMO)")), std::string::npos);
    // The ID prompt is the last thing sent, and nothing follows it.
    EXPECT_EQ(seen.substr(seen.size() - 7), "login: ");
    EXPECT_EQ(receiveUntilQuiet(fd, 300), "");

    // The terminal type is asked for once the client agrees; an unknown option is refused.
    EXPECT_EQ(exchange(fd, bytes({255, 251, 24}), bytes({255, 240})),
              bytes({255, 250, 24, 1, 255, 240}));
    EXPECT_EQ(exchange(fd, bytes({255, 253, 31}), bytes({255, 252, 31})), bytes({255, 252, 31}));

    // IAC IAC is one 0xFF byte both ways; CR NUL ends the line.
    seen = exchange(fd, bytes({'a', 'b', 255, 255, 'c', 'd', 'e', '\r', 0}), "Password: ");
    EXPECT_EQ(seen, bytes({'a', 'b', 255, 255, 'c', 'd', 'e', '\r', '\n'}) + "Password: ");
    EXPECT_EQ(receiveUntilQuiet(fd, 300), "");
    seen = exchange(fd, bytes({'p', 'w', '\r', 0}), demoMenuPrompt());
    EXPECT_EQ(seen.rfind("**\r\n", 0), 0u);
    EXPECT_NE(seen.find(cp949("초기 화면 (TOP)")), std::string::npos);
    EXPECT_NE(seen.find(cp949("abcde")), std::string::npos) << "the shown ID";
    close(fd);
}

TEST_F(DemoHostTest, AnyIdAndPasswordLogInAndThePasswordGoesNowhere) {
    const std::string password = "Pw-7f3a9c";
    std::string seen;
    const int fd = host.logIn("Visitor", password, &seen);
    ASSERT_GE(fd, 0);
    seen += exchange(fd, "go free\r", demoMenuPrompt());
    seen += exchange(fd, "/go FILES\r", demoMenuPrompt());
    seen += exchange(fd, "GO art\r", demoMenuPrompt());
    EXPECT_NE(seen.find("visitor"), std::string::npos);
    close(fd);
    EXPECT_EQ(host.terminate(3000), 0);
    EXPECT_EQ(seen.find(password), std::string::npos);
    EXPECT_EQ(host.printed().find(password), std::string::npos);
    EXPECT_EQ(everythingUnder(folder).find(password), std::string::npos);
}

TEST_F(DemoHostTest, BoardReadsThroughThePager) {
    const int fd = host.logIn("reader", "x");
    ASSERT_GE(fd, 0);
    const std::string pager = cp949("[Enter]를 누르세요");
    std::string seen = exchange(fd, "2\r", demoMenuPrompt());
    EXPECT_NE(seen.find(cp949("자유게시판 (FREE)")), std::string::npos);
    seen = exchange(fd, "3\r", pager);
    EXPECT_EQ(receiveUntilQuiet(fd, 300), "") << "the pager prompt is a partial line";
    seen = exchange(fd, "\r", pager);
    EXPECT_NE(seen.find(cp949("끝까지 읽어 주셔서")), std::string::npos);
    seen = exchange(fd, "\r", demoMenuPrompt());
    EXPECT_NE(seen.find(cp949("자유게시판 (FREE)")), std::string::npos);
    seen = exchange(fd, "x\r", cp949("안녕히 가십시오."));
    EXPECT_EQ(receiveUntilQuiet(fd, 2000), "") << "the host hangs up";
    close(fd);
}

TEST_F(DemoHostTest, ListensOnLoopbackOnly) {
    ifaddrs* list = nullptr;
    ASSERT_EQ(getifaddrs(&list), 0);
    int tried = 0;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
        sockaddr_in address = *reinterpret_cast<sockaddr_in*>(a->ifa_addr);
        if (ntohl(address.sin_addr.s_addr) >> 24 == 127) continue;
        address.sin_port = htons(static_cast<uint16_t>(host.port()));
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        EXPECT_NE(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
        ++tried;
    }
    freeifaddrs(list);
    const int fd = host.connectToLogin();
    EXPECT_GE(fd, 0);
    close(fd);
    if (tried == 0) GTEST_SKIP() << "no address but loopback to try";
}

}  // namespace

TEST_F(DemoHostTest, VideotexPageTakesTheFieldAndEndsVideotex) {
    const int fd = host.logIn("viewer", "x");
    ASSERT_GE(fd, 0);
    // The title row, then videotex and a page that opens its field.
    std::string seen = exchange(fd, "go vtx\r", "\x9f");
    const size_t title = seen.find(cp949("비디오텍스 (VTX)"));
    ASSERT_NE(title, std::string::npos);
    EXPECT_GT(seen.find("\x1b%A"), title);
    // The field's fragment as the terminal sends it for "가1".
    const std::string fragment =
        "\x1f\x40\x40\xa1\xcc\xc0\xc0\xc0\xc0\xb8\xc0\xc0\xc0\xc0\xdb\xf9\xf8\xf8"
        "\xa2\xc0\xc0\xc0\xc1\xf2\xc0\xa4\xc0\xc0\xc0\xc0\xbe\xc0\xdc\x1b\x24\x29\x43\x0f"
        "\xb0\xa1"
        "1             \x1b\x2d\x57\x85\xa4\xc0\xc0\xc0\xc0\x1a";
    seen = exchange(fd, fragment, demoMenuPrompt());
    const size_t echoed = seen.find(
        "\x1b|\xb0\xa1"
        "1\x1b~");
    const size_t end = seen.find("\x1b%@");
    ASSERT_NE(echoed, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(echoed, end);
    EXPECT_GT(seen.find(cp949("입력하신 내용: 가1")), end);
    close(fd);
}
